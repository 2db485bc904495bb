// The one-time copy of a legacy file's cameras into the SQLite file. The file
// is read through a reader that never writes to it; the rows go in with one
// transaction, their ids kept (record folders "Camera-<id>" and schedule rows
// hang on them), and the file is marked (user_version) so that the copy
// happens once.
#include "recorder/CDBOper.h"

#include "recorder/SqliteStatement.h"
#include "utility/vx_log.h"

#include <cctype>
#include <cstdlib>

namespace {

constexpr int kImportedMark = 1;

const char* const kDays[7] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};

int IntOf(const LegacyRow& row, const char* column, int missing)
{
    auto it = row.find(column);
    if (it == row.end() || it->second.empty())
        return missing;
    return std::atoi(it->second.c_str());
}

std::string TextOf(const LegacyRow& row, const char* column)
{
    auto it = row.find(column);
    return it == row.end() ? std::string() : it->second;
}

// A folder of the older Windows program ("D:\rec", "\\server\share") means
// nothing here: the camera's default folder applies instead.
bool IsWindowsPath(const std::string& path)
{
    if (path.find('\\') != std::string::npos)
        return true;
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

int UserVersion(sqlite3* db)
{
    SqliteStatement st(db, "PRAGMA user_version");
    return st && st.Step() == SQLITE_ROW ? st.Int(0) : -1;
}

bool HasCameras(sqlite3* db)
{
    SqliteStatement st(db, "SELECT 1 FROM TBL_CAMERA LIMIT 1");
    return !st || st.Step() == SQLITE_ROW;
}

}  // namespace

void CDBOper::ImportLegacy()
{
    if (UserVersion(m_pDb) == kImportedMark || HasCameras(m_pDb))
        return;
    if (!m_pLegacyReader)
        m_pLegacyReader = MakeMdbReader();
    LegacyTables tables;
    std::string error;
    if (!m_pLegacyReader->Read(m_strLegacyPath.GetString(), tables, error)) {
        vx_log(2, "CDBOper::ImportLegacy %s: %s", m_strLegacyPath.GetString(), error.c_str());
        DatabaseMessage("The camera database " + m_strLegacyPath
                            + " cannot be read. Its cameras were not imported; the recorder goes on with "
                            + m_strSqlitePath + ".",
                        MB_OK | MB_ICONERROR);
        return;
    }
    if (!CopyLegacyRows(tables, error)) {
        sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
        DatabaseMessage("The cameras of " + m_strLegacyPath + " could not be imported: " + CString(error.c_str()),
                        MB_OK | MB_ICONERROR);
        return;
    }
    vx_log(4, "CDBOper::ImportLegacy %zu cameras from %s", tables.cameras.size(), m_strLegacyPath.GetString());
}

bool CDBOper::CopyLegacyRows(const LegacyTables& tables, std::string& error)
{
    if (sqlite3_exec(m_pDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_pDb);
        return false;
    }
    for (const LegacyRow& row : tables.cameras) {
        SqliteStatement st(m_pDb,
                           "INSERT INTO TBL_CAMERA(CAMERAID, IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, "
                           "PIN, FLAG) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)");
        if (!st) {
            error = sqlite3_errmsg(m_pDb);
            return false;
        }
        // Fields cut as the program's records hold them.
        STIPCfgKst c;
        CopyTextField(c.IP, TextOf(row, "IP").c_str());
        CopyTextField(c.NAME, TextOf(row, "NAME").c_str());
        CopyTextField(c.UID, TextOf(row, "UID").c_str());
        CopyTextField(c.PWD, TextOf(row, "PWD").c_str());
        CopyTextField(c.PIN, TextOf(row, "PIN").c_str());
        st.Bind(1, IntOf(row, "CAMERAID", 0));
        st.Bind(2, c.IP);
        st.Bind(3, c.NAME);
        st.Bind(4, IntOf(row, "PORT", 0));
        st.Bind(5, IntOf(row, "CHANNEL", 0));
        st.Bind(6, c.UID);
        st.Bind(7, c.PWD);
        // Files from before the four columns: what the older upgrade wrote.
        st.Bind(8, IntOf(row, "TYPE", 0));
        st.Bind(9, IntOf(row, "STREAM", 0));
        st.Bind(10, IntOf(row, "RTSP", 554));
        st.Bind(11, c.PIN);
        st.Bind(12, IntOf(row, "FLAG", 0));
        if (IntOf(row, "CAMERAID", 0) <= 0 || st.Step() != SQLITE_DONE) {
            error = "camera row " + TextOf(row, "CAMERAID") + ": " + sqlite3_errmsg(m_pDb);
            return false;
        }
    }
    for (const LegacyRow& row : tables.schedules) {
        SqliteStatement st(m_pDb,
                           "insert into TBL_CHANNEL_LIST (CAMERAID, MON_SREC_TIME, TUE_SREC_TIME, WED_SREC_TIME, "
                           "THU_SREC_TIME, FRI_SREC_TIME, SAT_SREC_TIME, SUN_SREC_TIME, MON_NACT_TIME, "
                           "TUE_NACT_TIME, WED_NACT_TIME, THU_NACT_TIME, FRI_NACT_TIME, SAT_NACT_TIME, "
                           "SUN_NACT_TIME, REC_ENABLE, REC_PATH, REC_DAYS, REC_DURATION) values(?1, ?2, ?3, ?4, "
                           "?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19)");
        if (!st) {
            error = sqlite3_errmsg(m_pDb);
            return false;
        }
        STCameraInfoKst info;
        for (int day = 0; day < 7; ++day) {
            DecodeHours(TextOf(row, (std::string(kDays[day]) + "_SREC_TIME").c_str()).c_str(), day,
                        &info.arrContinuous[0][0]);
            DecodeHours(TextOf(row, (std::string(kDays[day]) + "_NACT_TIME").c_str()).c_str(), day,
                        &info.arrMotion[0][0]);
        }
        std::string path = TextOf(row, "REC_PATH");
        if (IsWindowsPath(path))
            path.clear();
        CopyTextField(info.REC_PATH, path.c_str());
        st.Bind(1, IntOf(row, "CAMERAID", 0));
        for (int day = 0; day < 7; ++day) {
            st.Bind(2 + day, HourList(info.arrContinuous[day]));
            st.Bind(9 + day, HourList(info.arrMotion[day]));
        }
        st.Bind(16, IntOf(row, "REC_ENABLE", 0));
        st.Bind(17, info.REC_PATH);
        st.Bind(18, IntOf(row, "REC_DAYS", 0));
        st.Bind(19, IntOf(row, "REC_DURATION", 0));
        if (st.Step() != SQLITE_DONE) {
            error = "schedule row " + TextOf(row, "CAMERAID") + ": " + sqlite3_errmsg(m_pDb);
            return false;
        }
    }
    CString mark;
    mark.Format("PRAGMA user_version=%d", kImportedMark);
    if (sqlite3_exec(m_pDb, mark, nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(m_pDb, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_pDb);
        return false;
    }
    return true;
}
