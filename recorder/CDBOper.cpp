#include "recorder/CDBOper.h"

#include "recorder/SqliteStatement.h"
#include "utility/vx_log.h"

#include <cstdlib>
#include <cstring>

namespace {

const char* const kCreateCamera =
    "CREATE TABLE IF NOT EXISTS TBL_CAMERA (CAMERAID INTEGER PRIMARY KEY AUTOINCREMENT, IP TEXT, NAME TEXT, "
    "PORT INTEGER, CHANNEL INTEGER, UID TEXT, PWD TEXT, TYPE INTEGER, STREAM INTEGER, RTSP INTEGER, PIN TEXT, "
    "FLAG INTEGER);";
const char* const kCreateSchedule =
    "CREATE TABLE IF NOT EXISTS TBL_CHANNEL_LIST (CAMERAID INTEGER PRIMARY KEY, MON_SREC_TIME TEXT, "
    "TUE_SREC_TIME TEXT, WED_SREC_TIME TEXT, THU_SREC_TIME TEXT, FRI_SREC_TIME TEXT, SAT_SREC_TIME TEXT, "
    "SUN_SREC_TIME TEXT, MON_NACT_TIME TEXT, TUE_NACT_TIME TEXT, WED_NACT_TIME TEXT, THU_NACT_TIME TEXT, "
    "FRI_NACT_TIME TEXT, SAT_NACT_TIME TEXT, SUN_NACT_TIME TEXT, REC_ENABLE INTEGER, REC_PATH TEXT, "
    "REC_DAYS INTEGER, REC_DURATION INTEGER, FLAG INTEGER);";

const char* const kInsertSchedule =
    "insert into TBL_CHANNEL_LIST (CAMERAID, MON_SREC_TIME, TUE_SREC_TIME, WED_SREC_TIME, THU_SREC_TIME, "
    "FRI_SREC_TIME, SAT_SREC_TIME, SUN_SREC_TIME, MON_NACT_TIME, TUE_NACT_TIME, WED_NACT_TIME, THU_NACT_TIME, "
    "FRI_NACT_TIME, SAT_NACT_TIME, SUN_NACT_TIME, REC_ENABLE, REC_PATH, REC_DAYS, REC_DURATION) "
    "values(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19)";

CString ErrorText(sqlite3* db)
{
    return CString(db ? sqlite3_errmsg(db) : "out of memory");
}

}  // namespace

void DatabaseMessage(const CString& text, UINT type)
{
    vx_log(2, "CDBOper: %s", text.GetString());
    MessageBoxA(nullptr, text, "Error", type);
}

CDBOper::CDBOper() = default;

CDBOper::~CDBOper()
{
    Close();
}

BOOL CDBOper::IsOpen() const
{
    return m_pDb != nullptr;
}

void CDBOper::Close()
{
    if (m_pDb) {
        sqlite3_close(m_pDb);
        m_pDb = nullptr;
    }
}

void CDBOper::Open()
{
    if (m_pDb)
        return;
    if (sqlite3_open(m_strSqlitePath, &m_pDb) != SQLITE_OK) {
        CString text = ErrorText(m_pDb);
        Close();
        DatabaseMessage(text, MB_OK);
        return;
    }
    // A second program on the same file (the schedule of another
    // instance's dialog) waits a little instead of failing at once.
    sqlite3_busy_timeout(m_pDb, 2000);
}

void CDBOper::CreateTables()
{
    char* error = nullptr;
    if (sqlite3_exec(m_pDb, kCreateCamera, nullptr, nullptr, &error) != SQLITE_OK) {
        DatabaseMessage(CString("Failed to init camera data: ") + (error ? error : ""), MB_ICONERROR);
        sqlite3_free(error);
        error = nullptr;
    }
    if (sqlite3_exec(m_pDb, kCreateSchedule, nullptr, nullptr, &error) != SQLITE_OK) {
        DatabaseMessage(CString("Failed to init schedule data: ") + (error ? error : ""), MB_ICONERROR);
        sqlite3_free(error);
    }
}

void CDBOper::InitDatabase()
{
    Open();
    if (!IsOpen())
        return;
    // Both tables, each only when missing: a file with only one of them
    // gets the other.
    CreateTables();
    if (m_nKind != 1 && !m_strLegacyPath.IsEmpty() && PathFileExistsA(m_strLegacyPath))
        ImportLegacy();
    Close();
}

BOOL CDBOper::LoadCameras(CArray<STIPCfgKst>& cameras, CString* why)
{
    cameras.RemoveAll();
    Open();
    if (!IsOpen()) {
        if (why)
            *why = "the database cannot be opened";
        return FALSE;
    }
    CString error;
    {
        SqliteStatement st(m_pDb, "select CAMERAID, IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN from "
                                  "TBL_CAMERA where FLAG=0 ORDER BY CAMERAID ASC");
        if (!st) {
            error = ErrorText(m_pDb);
        } else {
            while (cameras.GetSize() < MAX_CAMERA) {
                const int rc = st.Step();
                if (rc == SQLITE_DONE)
                    break;
                if (rc != SQLITE_ROW) {
                    error = ErrorText(m_pDb);
                    break;
                }
                STIPCfgKst c;
                c.CAMERAID = st.Int(0);
                CopyTextField(c.IP, st.Text(1));
                CopyTextField(c.NAME, st.Text(2));
                c.PORT = st.Int(3);
                c.CHANNEL = st.Int(4);
                CopyTextField(c.UID, st.Text(5));
                CopyTextField(c.PWD, st.Text(6));
                c.TYPE = st.Int(7);
                c.STREAM = st.Int(8);
                c.RTSP = st.Int(9);
                CopyTextField(c.PIN, st.Text(10));
                c.m_stCameraInfo.CAMERAID = c.CAMERAID;
                if (!LoadSchedule(c.m_stCameraInfo, FALSE, &error))
                    break;
                cameras.Add(c);
            }
        }
    }
    Close();
    if (error.IsEmpty())
        return TRUE;
    vx_log(2, "CDBOper::LoadCameras: %s", error.GetString());
    cameras.RemoveAll();
    if (why)
        *why = error;
    return FALSE;
}

int CDBOper::SaveCamera(STIPCfgKst c)
{
    Open();
    if (!IsOpen())
        return -1;
    bool exists = false;
    if (c.CAMERAID >= 0) {
        SqliteStatement q(m_pDb, "select CAMERAID from TBL_CAMERA where CAMERAID=?1");
        if (!q) {
            Close();
            return -1;
        }
        q.Bind(1, c.CAMERAID);
        exists = q.Step() == SQLITE_ROW;
    }
    int result = -1;
    {
        SqliteStatement st(m_pDb, exists
                                      ? "UPDATE TBL_CAMERA SET IP=?1, PORT=?2, CHANNEL=?3, NAME=?4, UID=?5, PWD=?6, "
                                        "FLAG=0, TYPE=?7, STREAM=?8, RTSP=?9, PIN=?10 where CAMERAID=?11"
                                      : "INSERT INTO TBL_CAMERA(IP, PORT, CHANNEL, NAME, UID, PWD, FLAG, TYPE, STREAM, "
                                        "RTSP, PIN) VALUES(?1, ?2, ?3, ?4, ?5, ?6, 0, ?7, ?8, ?9, ?10)");
        int rc = SQLITE_ERROR;
        if (st) {
            st.Bind(1, c.IP);
            st.Bind(2, c.PORT);
            st.Bind(3, c.CHANNEL);
            st.Bind(4, c.NAME);
            st.Bind(5, c.UID);
            st.Bind(6, c.PWD);
            st.Bind(7, c.TYPE);
            st.Bind(8, c.STREAM);
            st.Bind(9, c.RTSP);
            st.Bind(10, c.PIN);
            if (exists)
                st.Bind(11, c.CAMERAID);
            rc = st.Step();
        }
        if (rc == SQLITE_DONE) {
            // Only a statement that succeeded yields an id: a failed insert
            // is a failure, not the id of an older row.
            result = exists ? c.CAMERAID : static_cast<int>(sqlite3_last_insert_rowid(m_pDb));
        } else {
            DatabaseMessage(CString("Failed to save camera: ") + ErrorText(m_pDb), MB_ICONERROR);
        }
    }
    Close();
    return result;
}

void CDBOper::SettleRecordFolder(STCameraInfoKst& info)
{
    bool usable = info.REC_PATH[0] != '\0';
    if (usable && !PathIsDirectoryA(info.REC_PATH)) {
        CString withSlash = info.REC_PATH;
        if (withSlash.Right(1) != "/")
            withSlash += "/";
        usable = MakeSureDirectoryPathExists(withSlash) && PathIsDirectoryA(info.REC_PATH);
    }
    if (!usable) {
        CString folder;
        if (m_strMoviePath.Right(1) == "/")
            folder.Format("%sCamera-%d/", m_strMoviePath.GetString(), info.CAMERAID);
        else
            folder.Format("%s/Camera-%d/", m_strMoviePath.GetString(), info.CAMERAID);
        CopyTextField(info.REC_PATH, folder);
        if (!PathIsDirectoryA(folder))
            MakeSureDirectoryPathExists(folder);
    }
    size_t n = std::strlen(info.REC_PATH);
    if (n > 0 && info.REC_PATH[n - 1] != '/' && n + 1 < sizeof info.REC_PATH) {
        info.REC_PATH[n] = '/';
        info.REC_PATH[n + 1] = '\0';
    }
}

BOOL CDBOper::LoadSchedule(STCameraInfoKst& info, BOOL closeAfter, CString* why)
{
    Open();
    if (!IsOpen()) {
        if (why)
            *why = "the database cannot be opened";
        return FALSE;
    }
    STCameraInfoKst read = info;
    std::memset(read.arrMotion, 0, sizeof read.arrMotion);
    std::memset(read.arrContinuous, 0, sizeof read.arrContinuous);
    CString error;
    {
        SqliteStatement st(m_pDb, "select MON_SREC_TIME, TUE_SREC_TIME, WED_SREC_TIME, THU_SREC_TIME, FRI_SREC_TIME, "
                                  "SAT_SREC_TIME, SUN_SREC_TIME, MON_NACT_TIME, TUE_NACT_TIME, WED_NACT_TIME, "
                                  "THU_NACT_TIME, FRI_NACT_TIME, SAT_NACT_TIME, SUN_NACT_TIME, REC_ENABLE, REC_PATH, "
                                  "REC_DAYS, REC_DURATION, FLAG from TBL_CHANNEL_LIST where CAMERAID=?1");
        if (!st) {
            error = ErrorText(m_pDb);
        } else {
            st.Bind(1, read.CAMERAID);
            const int rc = st.Step();
            if (rc == SQLITE_ROW) {
                for (int day = 0; day < 7; ++day) {
                    DecodeHours(st.Text(day), day, &read.arrContinuous[0][0]);
                    DecodeHours(st.Text(7 + day), day, &read.arrMotion[0][0]);
                }
                read.REC_ENABLE = st.Int(14);
                CopyTextField(read.REC_PATH, st.Text(15));
                read.REC_DAYS = st.Int(16);
                read.REC_DURATION = st.Int(17);
            } else if (rc != SQLITE_DONE) {
                error = ErrorText(m_pDb);
            }
        }
    }
    if (!error.IsEmpty()) {
        vx_log(2, "CDBOper::LoadSchedule %d: %s", info.CAMERAID, error.GetString());
        if (why)
            *why = error;
        if (closeAfter)
            Close();
        return FALSE;
    }
    info = read;
    SettleRecordFolder(info);
    if (closeAfter)
        Close();
    return TRUE;
}

BOOL CDBOper::SaveSchedules(CArray<STCameraInfoKst>& list, int sourceIndex, BOOL applyToAll)
{
    Open();
    if (!IsOpen())
        return FALSE;
    // One transaction: a crash between the delete and the inserts keeps the
    // old schedules.
    if (sqlite3_exec(m_pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        DatabaseMessage(CString("Failed to save schedule data: ") + ErrorText(m_pDb), MB_ICONERROR);
        Close();
        return FALSE;
    }
    bool ok = true;
    sqlite3_exec(m_pDb, "delete from TBL_CHANNEL_LIST", nullptr, nullptr, nullptr);
    const bool fromSource = applyToAll && sourceIndex != -1 && sourceIndex >= 0 && sourceIndex < list.GetSize();
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        const STCameraInfoKst& own = list[i];
        const STCameraInfoKst& grids = fromSource ? list[sourceIndex] : own;
        SqliteStatement st(m_pDb, kInsertSchedule);
        int rc = SQLITE_ERROR;
        if (st) {
            st.Bind(1, own.CAMERAID);
            for (int day = 0; day < 7; ++day) {
                st.Bind(2 + day, HourList(grids.arrContinuous[day]));
                st.Bind(9 + day, HourList(grids.arrMotion[day]));
            }
            st.Bind(16, own.REC_ENABLE);
            st.Bind(17, own.REC_PATH);
            st.Bind(18, own.REC_DAYS);
            st.Bind(19, own.REC_DURATION);
            rc = st.Step();
        }
        if (rc != SQLITE_DONE) {
            DatabaseMessage(CString("Failed to save schedule data: ") + ErrorText(m_pDb), MB_ICONERROR);
            ok = false;
        }
    }
    if (sqlite3_exec(m_pDb, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        DatabaseMessage(CString("Failed to save schedule data: ") + ErrorText(m_pDb), MB_ICONERROR);
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        ok = false;
    }
    Close();
    return ok ? TRUE : FALSE;
}

void CDBOper::DeleteCamera(int cameraId)
{
    Open();
    if (!IsOpen())
        return;
    for (const char* sql :
         {"DELETE FROM TBL_CHANNEL_LIST WHERE CAMERAID=?1", "DELETE FROM TBL_CAMERA WHERE CAMERAID=?1"}) {
        SqliteStatement st(m_pDb, sql);
        if (st) {
            st.Bind(1, cameraId);
            if (st.Step() != SQLITE_DONE)
                vx_log(2, "CDBOper::DeleteCamera %d: %s", cameraId, sqlite3_errmsg(m_pDb));
        }
    }
    Close();
}

CString CDBOper::HourList(const int hours[24])
{
    CString s;
    for (int h = 0; h < 24; ++h) {
        if (hours[h] == 1) {
            CString n;
            n.Format("%d,", h);
            s += n;
        }
    }
    return s;
}

CString CDBOper::EncodeHours(int grid[7][24])
{
    CString s;
    for (int day = 0; day < 7; ++day)
        s += "'" + HourList(grid[day]) + "', ";
    return s;
}

void CDBOper::DecodeHours(CString text, int day, int* grid)
{
    if (!grid || day < 0 || day > 6)
        return;
    const char* p = text.GetString();
    for (;;) {
        const char* comma = std::strchr(p, ',');
        if (!comma)
            break;  // text after the last comma is ignored
        if (comma > p) {
            std::string piece(p, static_cast<size_t>(comma - p));
            int h = std::atoi(piece.c_str());
            if (h >= 0 && h <= 23)
                grid[day * 24 + h] = 1;
        }
        p = comma + 1;
    }
}
