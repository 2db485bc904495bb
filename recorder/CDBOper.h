#pragma once
// The camera database: cameras (TBL_CAMERA) and their weekly schedules
// (TBL_CHANNEL_LIST) in an SQLite file. A legacy file of the older engine is
// read once, when there is one and the settings still name it, and its rows
// are copied into the SQLite file (see InitDatabase).
//
// Every operation opens the file at its start and closes it at its end.
// Camera texts go into statements as bound parameters.
//
// Threads: the GUI thread only. No lock.

#include "recorder/LegacyReader.h"
#include "recorder/Records.h"

#include "platform/platform.h"

#include <memory>

struct sqlite3;

class CDBOper {
public:
    CDBOper();
    virtual ~CDBOper();
    CDBOper(const CDBOper&) = delete;
    CDBOper& operator=(const CDBOper&) = delete;

    BOOL IsOpen() const;
    void Close();
    void Open();
    void InitDatabase();
    // FALSE when the rows could not be read (a database another program
    // holds locked, a damaged file): why then holds the database's words and
    // the list is empty, which is not the same as no cameras.
    BOOL LoadCameras(CArray<STIPCfgKst>& cameras, CString* why = nullptr);
    // The camera's id, or -1 when nothing was saved.
    int SaveCamera(STIPCfgKst camera);
    // FALSE when the row could not be read: info is then left as it was, so
    // a failed read never shows (or saves) as an empty schedule.
    BOOL LoadSchedule(STCameraInfoKst& info, BOOL closeAfter, CString* why = nullptr);
    // Replaces every schedule row in one transaction; a row that fails shows
    // its message and the others are still written. FALSE when anything
    // failed.
    BOOL SaveSchedules(CArray<STCameraInfoKst>& list, int sourceIndex, BOOL applyToAll);
    // Removes the camera's schedule row and camera row.
    void DeleteCamera(int cameraId);

    static CString EncodeHours(int grid[7][24]);
    static void DecodeHours(CString text, int day, int* grid);
    // One day's hour list, "8,9,10," (no quotes).
    static CString HourList(const int hours[24]);

    // Settings of the program (set by the settings object before use).
    int m_nKind = 0;  // 1: SQLite only; else a legacy file is imported once
    CString m_strSqlitePath;
    CString m_strLegacyPath;
    CString m_strMoviePath;  // ends with '/'
    // Tests put a reader of their own here.
    std::unique_ptr<ILegacyReader> m_pLegacyReader;

private:
    void CreateTables();
    void ImportLegacy();
    bool CopyLegacyRows(const LegacyTables& tables, std::string& error);
    void SettleRecordFolder(STCameraInfoKst& info);

    sqlite3* m_pDb = nullptr;
};

// A fixed-text message box of the database, logged at level 2 as well.
void DatabaseMessage(const CString& text, UINT type);
