#include "camera/dialogs/sdcard/SdCardWorker.h"

#include "camera/dialogs/sdcard/SdLocalFile.h"
#include "camera/session/CWebWatchNB.h"
#include "camera/session/CgiReply.h"
#include "camera/session/StateLock.h"
#include "utility/vx_log.h"

#include <algorithm>

#include <unistd.h>

// The private camera object; only the worker thread calls it, and Stop cuts
// its calls in flight through the session's interrupt.
class SdCardCamera : public CWebWatchNB {
public:
    SdCardCamera() : CWebWatchNB(0, 34, 0, nullptr) {}
    using CWebWatchBase::InterruptSession;

    // A listing page: 1, 0 on failure, or kPageTooLarge when the camera's
    // reply was over the transport's bound (the search then says so).
    int ReadPage(const CString& path, CString& page)
    {
        int rc = VXNET_ERR_BAD_ARG;
        char* output = nullptr;
        {
            CSectionLock session(m_csSession);
            if (m_hSession)
                rc = vxnet_get_cgi_command(m_hSession, path, &output, VXNET_METHOD_GET, 5000);
            if (rc == 0 && output)
                page = output;
        }
        vxnet_free_cgi_output(&output);
        vx_log(VX_LOG_TRACE, "vxnet_get_cgi_command get [%s]-[%d]", static_cast<const char*>(Masked(path)), rc);
        if (rc == VXNET_ERR_TOO_LARGE)
            return CSearchSDCard::kPageTooLarge;
        return rc == 0 && vxcam::CgiGetSucceeded(page) ? 1 : 0;
    }
    // The file onto localFile within the bounds; the name appears only once
    // the file is whole, and (unless bReplace) never over one that is there.
    bool DownloadWithin(const CString& remote, const CString& localFile, int nTimeoutMs, const sdcard::SizeBounds& b,
                        bool bReplace, vxnet_progress_callback progress, void* user)
    {
        vx_log(VX_LOG_INFO, "download start %s", static_cast<const char*>(Masked(remote)));
        vxnet_download_bounds bounds{b.minBytes, b.maxBytes, bReplace ? 0 : 1};
        int rc = VXNET_ERR_BAD_ARG;
        {
            CSectionLock session(m_csSession);
            if (m_hSession)
                rc = vxnet_download_file_bounded(m_hSession, remote, localFile, nTimeoutMs, &bounds, progress, user);
        }
        vx_log(VX_LOG_INFO, "download end %d-%s", rc, static_cast<const char*>(localFile));
        return rc == 0;
    }

private:
    CString Masked(const CString& text) const
    {
        return vxcam::MaskSecrets(text, m_stCameraInfo.strPwd, m_stCameraInfo.strPwdEncoded);
    }
};

namespace {

struct FileProgress {
    SdCardWorker* worker;
    CString status;  // "Downloading files... ( i / n )"
    int64_t shown = -1;
};

}  // namespace

SdCardWorker::SdCardWorker(HWND notify) : m_hNotify(notify), m_nReserveBytes(sdcard::kReserveBytes) {}

SdCardWorker::~SdCardWorker()
{
    Stop();
}

bool SdCardWorker::Begin(const STWatchCameraInfo& info)
{
    if (m_bBusy.load())
        return false;
    Join();
    m_bStop = false;
    m_bBusy = true;
    m_info = info;
    std::lock_guard lock(m_mutex);
    m_result = Result();
    m_strStatus.Empty();
    return true;
}

bool SdCardWorker::StartSearch(const STWatchCameraInfo& info, const COleDateTime& start, const COleDateTime& end,
                               int bRecord)
{
    if (!Begin(info))
        return false;
    m_thread = std::thread([this, start, end, bRecord] { RunSearch(start, end, bRecord); });
    return true;
}

bool SdCardWorker::StartDownload(const STWatchCameraInfo& info, std::vector<Row> rows, const CString& folder,
                                 int nTimeoutMs, const CString& statusFormat)
{
    if (!Begin(info))
        return false;
    m_thread = std::thread([this, rows = std::move(rows), folder, nTimeoutMs, statusFormat]() mutable {
        RunDownload(std::move(rows), folder, nTimeoutMs, statusFormat);
    });
    return true;
}

bool SdCardWorker::StartFetch(const STWatchCameraInfo& info, const Row& row, const CString& localFile, int nTimeoutMs)
{
    if (!Begin(info))
        return false;
    m_thread = std::thread([this, row, localFile, nTimeoutMs] { RunFetch(row, localFile, nTimeoutMs); });
    return true;
}

void SdCardWorker::Stop()
{
    m_bStop = true;
    {
        std::lock_guard lock(m_mutex);
        if (m_pCamera)
            m_pCamera->InterruptSession(1);
    }
    Join();
}

void SdCardWorker::Join()
{
    if (m_thread.joinable())
        m_thread.join();
}

CString SdCardWorker::StatusText() const
{
    std::lock_guard lock(m_mutex);
    return m_strStatus;
}

SdCardWorker::Result SdCardWorker::TakeResult()
{
    Join();
    std::lock_guard lock(m_mutex);
    Result r = std::move(m_result);
    m_result = Result();
    return r;
}

void SdCardWorker::SetStatus(const CString& text)
{
    {
        std::lock_guard lock(m_mutex);
        m_strStatus = text;
    }
    ::PostMessage(m_hNotify, UM_SDCARD_STATUS, 0, 0);
}

bool SdCardWorker::ConnectCamera()
{
    const bool p2p = m_info.nEntryType == WATCH_ENTRY_P2P_ID;
    if (!p2p)
        vx_log(VX_LOG_TRACE, "download file connect ip");
    auto* camera = new SdCardCamera();
    camera->SetCameraInfo(&m_info);
    {
        std::lock_guard lock(m_mutex);
        m_pCamera = camera;
    }
    // A Stop that came before the camera was known still cuts its connect.
    if (m_bStop)
        camera->InterruptSession(1);
    bool ok = !m_bStop && camera->Connect() == 1;
    if (p2p || !ok)
        vx_log(VX_LOG_TRACE, ok ? "download file connect ok" : "download file connect failed");
    return ok;
}

void SdCardWorker::Finish(Result result)
{
    SdCardCamera* camera;
    {
        std::lock_guard lock(m_mutex);
        camera = m_pCamera;
        m_pCamera = nullptr;
    }
    if (camera) {
        camera->Cleanup();
        delete camera;
    }
    result.stopped = result.stopped || m_bStop.load();
    {
        std::lock_guard lock(m_mutex);
        m_result = std::move(result);
    }
    m_bBusy = false;
    ::PostMessage(m_hNotify, UM_SDCARD_DONE, 0, 0);
}

void SdCardWorker::RunSearch(COleDateTime start, COleDateTime end, int bRecord)
{
    Result r;
    r.search = true;
    r.connected = ConnectCamera();
    if (r.connected) {
        SdCardCamera* camera = m_pCamera;  // this thread's own until Finish
        CSearchSDCard::Hooks hooks;
        hooks.read = [camera](const CString& path, CString& page) { return camera->ReadPage(path, page); };
        hooks.progress = [this](int pages, int files) {
            CString text;
            text.Format("Searching... %d folders read, %d files found", pages, files);
            SetStatus(text);
        };
        hooks.cancelled = [this] { return m_bStop.load(); };
        r.outcome = CSearchSDCard::SearchFiles(hooks, start, end, r.files, bRecord);
    }
    Finish(std::move(r));
}

void SdCardWorker::RunDownload(std::vector<Row> rows, CString folder, int nTimeoutMs, CString statusFormat)
{
    Result r;
    r.connected = ConnectCamera();
    const int count = static_cast<int>(rows.size());
    for (int i = 0; r.connected && i < count; ++i) {
        vx_log(VX_LOG_TRACE, "downloading %d/%d", i + 1, count);
        if (m_bStop) {
            vx_log(VX_LOG_TRACE, "download stop");
            break;
        }
        CString status;
        status.Format(statusFormat, i + 1, count);
        SetStatus(status);
        const Row& row = rows[static_cast<size_t>(i)];
        const CString shown = CSearchSDCard::ShownText(row.strName);
        CString name = sdcard::LocalName(row.strName, row.strLink);
        CString local = name.IsEmpty() || row.strLink.IsEmpty() ? CString() : sdcard::FreeLocalPath(folder, name);
        bool ok = false;
        if (local.IsEmpty()) {
            vx_log(VX_LOG_TRACE, "get file error");
        } else {
            FileProgress progress{this, status};
            sdcard::SizeBounds bounds = sdcard::DownloadBounds(row.strSize, sdcard::FreeBytes(folder), m_nReserveBytes);
            ok = m_pCamera->DownloadWithin(row.strLink, local, nTimeoutMs, bounds, false, &SdCardWorker::OnFileProgress,
                                           &progress);
        }
        vx_log(VX_LOG_TRACE, ok ? "download ok %s" : "download error %s", static_cast<const char*>(shown));
        if (ok) {
            ++r.downloaded;
        } else {
            ++r.failed;
            r.failedNames.push_back(shown);
            r.failedRows.push_back(row.nListRow);
        }
        if (m_bStop)
            break;
        SetStatus(status + (ok ? " - Success" : " - Failed"));
        if (i + 1 < count) {
            for (int w = 0; w < 10 && !m_bStop; ++w)
                ::usleep(10000);
        }
    }
    Finish(std::move(r));
}

int SdCardWorker::OnFileProgress(void* user, int64_t received, int64_t total)
{
    auto* p = static_cast<FileProgress*>(user);
    SdCardWorker* self = p->worker;
    if (self->m_bStop)
        return 1;
    // Whole percent when the camera gave the length, else whole kilobytes:
    // the page hears only of a change it can show.
    int64_t value = total > 0 ? std::min<int64_t>(100, received * 100 / total) : received / 1024;
    if (value != p->shown) {
        p->shown = value;
        CString text;
        if (total > 0)
            text.Format("%s %d%%", static_cast<const char*>(p->status), static_cast<int>(value));
        else
            text.Format("%s %lld KB", static_cast<const char*>(p->status), static_cast<long long>(value));
        self->SetStatus(text);
    }
    return 0;
}

void SdCardWorker::RunFetch(Row row, CString localFile, int nTimeoutMs)
{
    Result r;
    r.fetch = true;
    r.connected = ConnectCamera();
    if (r.connected && !m_bStop) {
        CString folder = localFile.Left(localFile.ReverseFind('/') + 1);
        sdcard::SizeBounds bounds = sdcard::DownloadBounds(row.strSize, sdcard::FreeBytes(folder), m_nReserveBytes);
        // The preview's file is the page's own: the picture replaces it when whole.
        r.fetched = m_pCamera->DownloadWithin(row.strLink, localFile, nTimeoutMs, bounds, true, nullptr, nullptr);
    }
    vx_log(VX_LOG_TRACE, r.fetched ? "preview download ok %s" : "preview download error %s",
           static_cast<const char*>(row.strName));
    Finish(std::move(r));
}
