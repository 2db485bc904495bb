#pragma once
// The recorder's settings object: the INI files of the program's "config"
// folder, the settings read from them, the skin values of the main window and
// of the schedule dialog, the version text, the camera database and the
// camera list; and the retention routine that deletes old recordings.
//
// Threads: everything but DeleteOldRecordFiles and RequestAbortDelete runs on
// the GUI thread. DeleteOldRecordFiles runs on the retention thread and polls
// the abort flag, which the GUI thread sets at exit. The record length and
// the free-space limit, which the recording and disk threads read, are
// atomics. No lock.

#include "recorder/CDBOper.h"
#include "recorder/Records.h"
#include "ui/common/CIniFile.h"

#include "platform/platform.h"

#include <atomic>
#include <cstdint>

struct STSkinElement {
    HBITMAP hBmp1 = nullptr;
    HBITMAP hBmp2 = nullptr;
    HBITMAP hBmp3 = nullptr;  // NULL for two-image elements
    RECT rect = {};
    COLORREF crTrans = 0;
    int bTrans = 0;
};

struct STSkinImage {
    HBITMAP hBmp = nullptr;
    RECT rect = {};
    COLORREF crTrans = 0;
    int bTrans = 0;
};

struct STSkinText {
    RECT rect = {};
    COLORREF crText = 0;
    CString strFontName;
    int nFontSize = 0;
};

class CGlobalInfo {
public:
    CGlobalInfo();
    virtual ~CGlobalInfo();
    CGlobalInfo(const CGlobalInfo&) = delete;
    CGlobalInfo& operator=(const CGlobalInfo&) = delete;

    // Start-up: the program directory of the application object.
    void LoadConfig();
    // The same with a given program directory (ending in '/').
    void LoadConfig(const CString& appPath);
    // LoadConfig without opening the database, so start-up can open its log
    // first and the database's messages reach it.
    void ReadConfig(const CString& appPath);
    void LoadSysParam();
    CString GetFileVersion();
    BOOL LoadMainSkin();
    BOOL LoadScheduleSkin();
    BOOL FreeScheduleSkin();
    BOOL FreeAll();
    STSkinImage LoadSkinImage(const CString& element, UINT id);
    STSkinElement LoadSkinButton2(const CString& element, UINT id1, UINT id2);
    STSkinElement LoadSkinButton3(const CString& element, UINT id1, UINT id2, UINT id3);

    // Deletes, directly in `folder`, the recording segments last written
    // more than (days + 1) x 24 h ago. Only segment files count: names of
    // fourteen digits (dashes allowed between them) with ".avi" or ".mp4".
    // Negative days delete nothing. Ends early once an abort was requested.
    void DeleteOldRecordFiles(CString folder, int days);
    // Makes the running and every later DeleteOldRecordFiles stop: set at
    // exit, so a request just before a run is not lost.
    void RequestAbortDelete() { m_bAbortDelete = 1; }

    // The drive with `freeBytes` free is below the "FreeSpace" threshold.
    bool IsLowSpace(uint64_t freeBytes) const { return freeBytes / (1024u * 1024u) < m_ullFreeSpace; }

    // Whether a file name is a recording segment's (see above).
    static bool IsSegmentFileName(const char* name);

    CIniFile m_iniSkin;
    CIniFile m_iniConfig;
    CIniFile m_iniHoliday;
    CDBOper m_db;
    CArray<STIPCfgKst> m_arrCameras;

    int m_nRecordType = 0;
    // Read by the recording and disk threads while the system parameters
    // dialog may reload them: atomics.
    std::atomic<int> m_nRecordLength{0};
    // Megabytes; the dialog admits up to 4294967295, so it is read and
    // compared unsigned and wide.
    std::atomic<uint64_t> m_ullFreeSpace{0};
    int m_nStartRecord = 0;
    int m_nStartMin = 0;
    int m_nMinHide = 0;
    int m_nAutoRun = 0;
    int m_nLogLevel = 0;
    int m_nPreRecLen = 3000;
    CString m_strAppPath;  // the program folder the settings came from, ending in '/'
    CString m_strDaoPath;
    CString m_strSqlitePath;
    CString m_strMoviePath;
    CString m_strVersion;
    // What ReadConfig found amiss in the settings files, for the log once it
    // is open; empty when nothing was.
    CString m_strConfigProblem;

    // The module the skin bitmaps come from (null: the current resource
    // handle); the application sets it to the resource library.
    HINSTANCE m_hSkinModule = nullptr;

    // Main-window skin.
    RECT m_rcAbout = {};
    RECT m_rcCameraList = {};
    STSkinImage m_skinCameraView;
    STSkinElement m_skinMin;
    STSkinElement m_skinMax;
    STSkinElement m_skinExit;
    STSkinElement m_skinSysParam;
    STSkinElement m_skinSetupCamera;
    STSkinElement m_skinRecSchedule;
    STSkinElement m_skinRecQuery;
    STSkinElement m_skinStartAll;
    STSkinElement m_skinStopAll;
    STSkinElement m_skinDeleteAll;

    // Schedule-dialog skin.
    RECT m_rcCamera = {};
    RECT m_rcRecSavePath = {};
    RECT m_rcRecSaveDays = {};
    RECT m_rcScheduleDetail = {};
    STSkinImage m_skinRecScheduleMain;
    STSkinElement m_skinOk;
    STSkinElement m_skinCancel;
    STSkinElement m_skinSchExit;
    STSkinImage m_skinContinuous;
    STSkinImage m_skinMotion;
    STSkinImage m_skinClear;
    STSkinElement m_skinRdContinuous;
    STSkinElement m_skinRdMotion;
    STSkinElement m_skinRdClear;
    STSkinElement m_skinClearAll;
    STSkinElement m_skinChkEnableRec;
    STSkinElement m_skinChkApplyToAll;
    STSkinElement m_skinSelectPath;
    STSkinText m_txtFreeSpace;

    std::atomic<int> m_bAbortDelete{0};

private:
    void SettleMoviePath(const CString& appPath, const CString& configured);
    CString SkinFile(const CString& appPath);
    RECT LoadRect(const CString& element);
    void LoadTransparency(const CString& element, COLORREF& colour, int& flag);
    HBITMAP LoadSkinBitmap(UINT id);
};

// The one settings object of the program.
CGlobalInfo& GlobalInfo();
