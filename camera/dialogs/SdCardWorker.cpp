#include "camera/dialogs/SdCardWorker.h"

#include "camera/dialogs/SdLocalFile.h"
#include "camera/session/CWebWatchNB.h"
#include "utility/vx_log.h"

#include <algorithm>

#include <unistd.h>

// The private camera object; only the worker thread calls it, and Stop cuts
// its calls in flight through the session's interrupt.
class SdCardCamera : public CWebWatchNB {
public:
    SdCardCamera() : CWebWatchNB(0, 34, 0, nullptr) {}
    using CWebWatchBase::InterruptSession;
};

namespace {

struct FileProgress {
    SdCardWorker* worker;
    CString status;  // "Downloading files... ( i / n )"
    int64_t shown = -1;
};

}  // namespace

SdCardWorker::SdCardWorker(HWND notify) : m_hNotify(notify) {}

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
        hooks.read = [camera](const CString& path, CString& page) { return camera->GetCgi(path, page, 5000) == 1; };
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
        vx_log(VX_LOG_INFO, "downloading %d/%d", i + 1, count);
        if (m_bStop) {
            vx_log(VX_LOG_INFO, "download stopped");
            break;
        }
        CString status;
        status.Format(statusFormat, i + 1, count);
        SetStatus(status);
        const Row& row = rows[static_cast<size_t>(i)];
        CString name = sdcard::LocalName(row.strName, row.strLink);
        CString local = name.IsEmpty() ? CString() : sdcard::ReserveLocalFile(folder, name);
        bool ok = false;
        if (!local.IsEmpty()) {
            FileProgress progress{this, status};
            ok = m_pCamera->Download(row.strLink, local, nTimeoutMs, &SdCardWorker::OnFileProgress, &progress) == 1;
            if (!ok)
                ::unlink(local);
        }
        vx_log(VX_LOG_TRACE, ok ? "download ok %s" : "download error %s", static_cast<const char*>(row.strName));
        ok ? ++r.downloaded : ++r.failed;
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
    if (r.connected && !m_bStop)
        r.fetched = m_pCamera->Download(row.strLink, localFile, nTimeoutMs) == 1;
    vx_log(VX_LOG_TRACE, r.fetched ? "preview download ok %s" : "preview download error %s",
           static_cast<const char*>(row.strName));
    Finish(std::move(r));
}
