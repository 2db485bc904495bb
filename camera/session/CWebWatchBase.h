#pragma once
// CWebWatchBase: the camera object's generic half. One camera window (made
// only when the host calls Create), one vxnet session, one player; live play,
// file playback, recording segments, snapshots and the window messages.
// CWebWatchNB adds the camera families.
//
// Threads: hosts call it from their own threads (the recorder drives each
// record-only object from its recording thread and starts motion recordings
// and destroys it on its GUI thread); the reconnect worker, the bitrate
// thread and the callback threads of vxnet and vxplay enter it too. The
// camera window and its timers belong to the GUI thread.
//
// Locks, in this order:
// 1. the state lock (m_hStateLock, a recursive kernel mutex): the session's
//    life. Connect, Login, Logout, Cleanup, StartPlay, StopPlay, the file
//    playback sequence, SetCameraInfo, SetServerInfo and the destructor run
//    under it, and it stays held through their waits on the camera (probe,
//    login requests, stream open). Nothing the GUI thread does for display
//    or recording takes it, and every stop (Cleanup, a live StopPlay,
//    StopAutoConnect, the destructor, a host's InterruptSession) first
//    interrupts the calls in flight, so taking it waits only for the holder
//    to see that.
// 2. the player lock (m_csPlayer): display and recording state, see the
//    member. Never held across a vxnet call that waits on the camera, nor
//    while waiting for the session lock (its holders only try that one).
// 3. the session lock (m_csSession): the vxnet handle and every vxnet call
//    that takes it (lent to the player and its bitrate thread). Held across
//    CGI requests, downloads and the stream open; under it nothing joins a
//    thread or calls a window but PostMessage/SetTimer/KillTimer.
// 4. the interrupt lock (m_csInterrupt): the handle an interrupt from
//    another thread reaches, and the count of stops in progress.
// The text lock (m_csText) is a leaf: a copy of a text under it, nothing
// else. Flags that hosts and menus poll (m_bIsLogin, playing, exact fit,
// bitrate, mute, talk, full screen, alarms) are atomics read without a lock.
// vxnet and vxplay callbacks take no lock.

#include "camera/session/ConnectBlock.h"
#include "camera/session/STRecordFile.h"
#include "camera/session/STWatchCameraInfo.h"
#include "camera/session/VXVideoPlay.h"
#include "outside/vxnet/vxnet.h"
#include "platform/platform.h"

#include <atomic>
#include <cstdint>

class CStateBar;
class VXCameraThread;

class AFX_EXT_CLASS CWebWatchBase : public CWnd {
    DECLARE_DYNAMIC(CWebWatchBase)

public:
    CWebWatchBase(int bLive, int nIndex, CWnd* pParent);
    ~CWebWatchBase() override;

    // ---- library-wide ----
    static int InitLib();
    static void DeinitLib();
    static void SetPreRecLen(int nMs);
    static void SetRecLen(int nSeconds);
    static void SetRecLenSwitch(int bSwitch);

    // ---- virtual operations, in their slot order ----
    virtual int domeControl(int nCode, int nSpeed, int nPreset);
    virtual int Connect();
    virtual int Cleanup();
    virtual CString GetStreamUrl();
    virtual int StartPlay();
    virtual int StartPlay(int bMute);
    virtual int StopPlay();
    virtual int SetAudio(int bMute);
    virtual int SetFullscreen(int bOn, int x, int y, int cx, int cy);
    virtual int TestConnection();
    virtual int TestConnectionWithoutVideo();
    virtual int SetMic();
    virtual int SetMic(int bOn);
    // StartRecord only looks for a free name and hands the start to the
    // player, which makes the file on the stream's thread: a start costs its
    // caller no wait for the disk. A file that cannot be made ends the
    // segment as a failed write does (the +31 notice, LastRecordFailure).
    // StopRecord writes what is left and closes the file on its caller.
    virtual int StartRecord(int bFlag);
    virtual int StopRecord();
    virtual int Snapshot(int bLive, CString strFolder, int bSound);
    virtual int SetCruise(int bCruise);
    virtual int GetCruise();
    virtual int StartCruise();
    virtual int SetFlip();
    virtual int SetMirror();
    virtual int SetExactFit();
    virtual int SetExactFit(int bFit);
    virtual int SetTransform();
    virtual int SetShowBitRate();
    virtual int SetShowBitRate(int bShow);
    virtual int GetCameraTime(COleDateTime& out);
    // The settings pages talk CGI themselves; these record forms do nothing.
    virtual int SetCameraTime(void* pRecord);
    virtual int GetCameraOSD(void* pRecord);
    virtual int SetCameraOSD(void* pRecord);
    virtual int GetCameraNetwork(void* pRecord);
    virtual int SetCameraNetwork(void* pRecord);
    virtual int GetCameraWireless(void* pRecord);
    virtual int SetCameraWireless(void* pRecord);
    virtual int SearchWireless(void* pRecord);
    virtual int SetCameraEmailSetting(void* pRecord);
    virtual int GetCameraEmailSetting(void* pRecord);
    virtual int SetCameraFTP(void* pRecord);
    virtual int GetCameraFTP(void* pRecord);
    virtual int SetCameraAudio(void* pRecord);
    virtual int GetCameraAudio(void* pRecord);
    virtual int SetCameraVideo(void* pRecord);
    virtual int GetCameraVideo(void* pRecord);
    virtual int SetCameraVideoSecondary(void* pRecord);
    virtual int GetCameraVideoSecondary(void* pRecord);
    virtual int SetCameraColor(void* pRecord);
    virtual int SetCameraColorDefault(void* pRecord);
    virtual int GetCameraColor(void* pRecord);
    virtual int SetCameraPTZ(void* pRecord);
    virtual int GetCameraPTZ(void* pRecord);
    virtual int SetCameraPTZCruise(void* pRecord);
    virtual int GetCameraPTZCruise(void* pRecord);
    virtual int AddCameraUser(void* pRecord);
    virtual int ModCameraUser(void* pRecord);
    virtual int DelCameraUser(void* pRecord);
    virtual int GetCameraUser(void* pRecord, int* pCount);
    virtual int ResetDefault(void* pRecord);
    virtual int ResetFactory(void* pRecord);
    virtual int Reboot(void* pRecord);
    virtual int Upgrade(void* pRecord);
    virtual int StartPlayFile(CWnd* pWnd, const CArray<STRecordFile>& list, int bMute);
    virtual int StopPlayFile();
    virtual int SetPlayNextFile(int bMute, int nDirection);
    virtual int GetMDRecordLength();
    virtual int GetIORecordLength();
    virtual int DrawAlarm();
    virtual int GetChipType();
    virtual int GetUseIPForP2P();

    // ---- setting up ----
    void SetCameraInfo(STWatchCameraInfo* pInfo);
    void SetCameraInfo(CString strHost, int nHttpPort, int nMediaPort, int nStream, int nChannel, CString strUser,
                       CString strPwd);
    void SetRecordOnly(int bRecordOnly) { m_bRecordOnly = bRecordOnly; }
    void SetIsP2P(int bIsP2P) { m_bIsP2P = bIsP2P; }
    void SetServerInfo(int nFlag, CString strServer2, CString strServer, int nPort);
    void SetIgnoreRightClick(int bIgnore) { m_bIgnoreRightClick = bIgnore; }
    void SetRecordPath(const CString& strPath);
    int IsLogin() const { return m_bIsLogin.load(); }

    // From any thread: ends the session's calls in flight and refuses new
    // ones (on), or lets them run again (off; one off for each on). A host
    // that stops the thread driving the object calls it first, so the join
    // waits only for the thread to see the stop, never for a slow camera.
    void InterruptSession(int bOn);

    // ---- reconnect worker ----
    void SetStopFlag();
    void StartAutoConnect();
    void StopAutoConnect();
    void ToggleConnect();

    // ---- questions (any thread, no lock) ----
    int IsPlaying() const { return m_player.IsPlaying(); }
    int IsExactFit() const { return m_bExactFit; }
    int IsFullscreen() const { return m_bFullscreen; }
    int IsShowBitrate() const { return m_bShowBitrate; }
    int IsMotionDetected() const;
    int IsIODetected() const;
    CString GetCamName() const { return m_stCameraInfo.strName; }
    CString GetCameraTypeString() const;
    CRect GetNewRect() const { return m_rcNew; }
    float GetVideoScale() const { return -1.0f; }
    void SetVideoScale(float) {}
    int GetIndex() const { return m_nIndex; }
    HWND GetParentHwnd() const { return m_hParentWnd; }
    int IsRecordOnly() const { return m_bRecordOnly; }
    int IsLive() const { return m_bLive; }
    int IsRecording() const { return m_player.IsRecording(); }
    // Why the latest segment could not start or ended before it was stopped.
    enum RecordFailure {
        RECORD_FAILURE_NONE,
        RECORD_FAILURE_DISK_FULL,
        RECORD_FAILURE_WRITE,
        RECORD_FAILURE_NO_PICTURE,
        RECORD_FAILURE_OTHER
    };
    RecordFailure LastRecordFailure() const;
    // Packets the recordings of this stream took so far: a segment that
    // takes none holds nothing a file can play.
    int64_t RecordedPackets() const { return m_player.RecordedPackets(); }
    CString GetLastRecordFile() const;
    // Whether the last Connect failed because the camera refused the user
    // and password (rather than not answering): hosts show the two apart.
    int IsLoginRefused() const { return m_bLoginRefused.load(); }
    CStateBar* GetStateBar() const { return m_pStateBar; }

    // The parent's download folder (asked by sending UM_VX_GET_DOWNLOAD_PATH)
    // and a new one for it (sent, so the text is read before this returns).
    CString GetDownloadPath();
    void SetDownloadPath(const CString& strPath);

    void StartDrawAlarm() {}
    void StopDrawAlarm() {}

    // ---- file playback ----
    int PausePlayFile();
    int ContinuePlayFile();
    int PlayFilePos(int64_t nPosition);  // microseconds
    int PlayFilePosPercent(double fFraction);
    int PlayFast(int bFast);
    int64_t GetPlayFileLength() const { return m_player.GetFileLength(); }
    int64_t GetPlayFilePosition() const { return m_player.GetFilePosition(); }
    // From any thread: cuts a file open that waits on a silent camera (and
    // refuses new ones) while on; StartPlayFile on another thread then fails
    // at once instead of after the transfer's time-out.
    void InterruptPlayFile(int bOn) { m_player.InterruptFile(bOn); }

    // Window timers.
    enum { TIMER_RECORD_SEGMENT = 7501, TIMER_MOTION_ALARM = 7505, TIMER_IO_ALARM = 7506 };

protected:
    // Posts a code to the parent in forwarded form.
    void PostToParentForwarded(UINT nCode, LPARAM lParam = 0) const;
    void PostToParent(UINT nCode, WPARAM wParam, LPARAM lParam) const;
    void PostToSurface(UINT nCode, WPARAM wParam, LPARAM lParam) const;
    // Posts a code to the camera window (wParam = code), as workers do.
    void PostToSelf(UINT nCode, LPARAM lParam = 0) const;
    HWND SelfHwnd() const { return m_hSelf.load(); }
    HWND RenderHwnd() const;
    // Starts the player on the session (live) for StartPlay's forms.
    int StartLivePlayer(int bMute);
    // Plays m_arrPlayList[m_nPlayIndex]; the index is valid.
    int PlayListEntry(int bMute, const CString& strPath);
    int PlayNextOrStop(int bMute);
    void StopPlayFileLocked();
    // Takes the player instance out under the player lock (display calls
    // then find none) and closes it outside; under the state lock.
    void ReleasePlayer();
    // The session handle, taken out of the object (under the session and
    // interrupt locks) for vxnet_disconnect outside them.
    VXNET_HANDLE TakeSession();
    void SetSessionHandle(VXNET_HANDLE h);
    bool StopRequested() const { return __atomic_load_n(&m_nAbort, __ATOMIC_SEQ_CST) != 0; }
    // GUI thread.
    void DestroyStateBar();

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnCameraMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

public:
    // ---- members, in the order of their meaning ----
    VXNET_HANDLE m_hSession = nullptr;
    CRITICAL_SECTION m_csSession;
    VXVideoPlay m_player;
    STConnectInfo m_stConnectInfo;
    STWatchCameraInfo m_stCameraInfo;
    int m_nIndex = 0;
    CWnd* m_pParentWnd = nullptr;
    int m_bLive = 1;
    std::atomic<int> m_bIsLogin{0};
    int m_nStreamCount = 3;
    CString m_strModelVersion;
    CString m_strRecordPath;
    CString m_strShutterDir;   // shutter sound folder; nothing sets it
    CString m_strShutterFile;  // shutter sound file; nothing sets it
    CString m_strLastRecordFile;
    CStateBar* m_pStateBar = nullptr;
    CRect m_rcSaved;
    CRect m_rcNew;
    CArray<STRecordFile> m_arrPlayList;
    int m_nPlayIndex = 0;
    std::atomic<int> m_bMute{0};
    std::atomic<int> m_bTalk{0};
    std::atomic<int> m_bExactFit{1};
    std::atomic<int> m_bShowBitrate{0};
    int m_bCruise = 0;
    int m_nTransform = 0;
    int m_bFastPlay = 0;
    int m_bAlarmBlink = 0;
    int m_bIsP2P = 0;
    vxcam::P2PServerInfo m_stServer;
    int m_bRecordOnly = 0;
    VXCameraThread* m_pCameraThread = nullptr;

    // Added for the threads hosts drive the object from.
    HANDLE m_hStateLock = nullptr;   // recursive kernel mutex, see above
    CRITICAL_SECTION m_csInterrupt;  // guards m_hInterruptible
    VXNET_HANDLE m_hInterruptible = nullptr;
    int m_nAbort = 0;                       // stops in progress; non-zero ends the calls in flight (atomic access only)
    std::atomic<HWND> m_hSelf{nullptr};     // the camera window, for workers
    std::atomic<HWND> m_hSurface{nullptr};  // the video surface's window, for workers
    HWND m_hParentWnd = nullptr;            // the parent's handle, taken at construction
    int m_bIgnoreRightClick = 0;
    std::atomic<int> m_bFullscreen{0};
    std::atomic<int> m_bMotionAlarm{0};
    std::atomic<int> m_bIOAlarm{0};
    // When each alarm was last raised (monotonic ms): a windowless object has
    // no timers to clear its flags, so they lapse 10 s after the last alarm.
    std::atomic<int64_t> m_nMotionAlarmAt{0};
    std::atomic<int64_t> m_nIOAlarmAt{0};
    CString m_strDownloadPath;
    // Guards the texts that login and recording write and any thread reads
    // (m_strModelVersion, m_strRecordPath, m_strLastRecordFile); taken
    // last, for a copy only.
    mutable CRITICAL_SECTION m_csText;
    // Guards the display and recording state (m_nTransform, the player
    // instance's creation and removal, recording start and stop, snapshots,
    // the bitrate display); held only around calls that return at once.
    CRITICAL_SECTION m_csPlayer;
    std::atomic<int> m_bLoginRefused{0};  // set by each Connect

    // Library-wide.
    static int m_nPreRecLen;
    static int m_nRecLen;
    static int m_nRecLenSwitch;
};
