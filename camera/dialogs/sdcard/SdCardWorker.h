#pragma once
// The one worker of a memory-card browser page: it runs one job at a time,
// the search of the card, the download of chosen files or the fetch of one
// picture for the preview, through a private
// camera object of its own, so the settings window's session stays free for
// its watchdog while a long download runs.
//
// The worker touches no window. It gets everything it needs at its start
// (the camera's record, the rows to fetch, the folder), keeps its status
// text and its result under its own lock and posts UM_SDCARD_STATUS and
// UM_SDCARD_DONE to the page, which then reads them. Stop asks the job to
// end, cuts the camera call in flight and joins.
//
// Threads: Start*, Stop, Busy and the readers on the GUI thread; the job on
// the worker thread. Lock: m_mutex guards the status text, the result and
// the private camera's pointer; it is never held while a camera call runs or
// a message is posted.

#include "camera/dialogs/sdcard/CSearchSDCard.h"
#include "camera/session/STWatchCameraInfo.h"
#include "platform/platform.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class SdCardCamera;

#define UM_SDCARD_STATUS (WM_APP + 140)  // the status text changed
#define UM_SDCARD_DONE   (WM_APP + 141)  // the job ended: read the result

class SdCardWorker {
public:
    struct Row {
        CString strLink;  // the request path
        CString strName;  // as the card gives it (not the shown text)
        CString strSize;  // the listing's size text: the download's bound
        int nListRow = -1;  // where the page shows it
    };
    struct Result {
        bool search = false;
        bool connected = false;      // the private camera logged in
        bool stopped = false;        // Stop ended the job
        CArray<STSearchFile> files;  // search
        CSearchSDCard::Outcome outcome;
        int downloaded = 0;  // download: files that arrived
        int failed = 0;
        std::vector<CString> failedNames;  // as the list shows them
        std::vector<int> failedRows;       // their rows' nListRow
        bool fetch = false;                // a picture for the preview
        bool fetched = false;              // ... arrived whole in its file
    };

    explicit SdCardWorker(HWND notify);
    ~SdCardWorker();  // stops and joins
    SdCardWorker(const SdCardWorker&) = delete;
    SdCardWorker& operator=(const SdCardWorker&) = delete;

    // False while a job runs.
    bool StartSearch(const STWatchCameraInfo& info, const COleDateTime& start, const COleDateTime& end, int bRecord);
    // statusFormat: "Downloading files... ( %d / %d )".
    bool StartDownload(const STWatchCameraInfo& info, std::vector<Row> rows, const CString& folder, int nTimeoutMs,
                       const CString& statusFormat);
    // The row's file onto localFile, a file of the caller's own that the
    // picture replaces once it is whole; the caller removes it when done.
    bool StartFetch(const STWatchCameraInfo& info, const Row& row, const CString& localFile, int nTimeoutMs);
    // Bytes left free on the target's disk (tests lower it).
    void SetReserveBytes(int64_t bytes) { m_nReserveBytes = bytes; }
    void Stop();
    bool Busy() const { return m_bBusy.load(); }

    CString StatusText() const;
    // The ended job's result (once, after UM_SDCARD_DONE); joins the thread.
    Result TakeResult();

private:
    bool Begin(const STWatchCameraInfo& info);
    bool ConnectCamera();
    void RunSearch(COleDateTime start, COleDateTime end, int bRecord);
    void RunDownload(std::vector<Row> rows, CString folder, int nTimeoutMs, CString statusFormat);
    void RunFetch(Row row, CString localFile, int nTimeoutMs);
    // The current file's share behind the "( i / n )" text; answers Stop.
    static int OnFileProgress(void* user, int64_t received, int64_t total);
    void Finish(Result result);
    void SetStatus(const CString& text);
    void Join();

    HWND m_hNotify;
    std::thread m_thread;
    std::atomic<bool> m_bBusy{false};
    std::atomic<bool> m_bStop{false};
    STWatchCameraInfo m_info;  // the job's copy; worker thread while it runs
    int64_t m_nReserveBytes;

    mutable std::mutex m_mutex;  // guards the three below
    CString m_strStatus;
    Result m_result;
    SdCardCamera* m_pCamera = nullptr;
};
