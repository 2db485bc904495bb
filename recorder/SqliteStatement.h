#pragma once
// One prepared SQLite statement, finalized when it goes. Thread of its
// connection.

#include <sqlite3.h>

#include <string>

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql)
    {
        if (db && sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    explicit operator bool() const { return m_stmt != nullptr; }
    sqlite3_stmt* get() const { return m_stmt; }

    void Bind(int i, int v) { sqlite3_bind_int(m_stmt, i, v); }
    void Bind(int i, const char* s) { sqlite3_bind_text(m_stmt, i, s ? s : "", -1, SQLITE_TRANSIENT); }
    int Step() { return sqlite3_step(m_stmt); }
    int Int(int col) const { return sqlite3_column_int(m_stmt, col); }
    // NULL reads as empty.
    const char* Text(int col) const
    {
        const unsigned char* t = sqlite3_column_text(m_stmt, col);
        return t ? reinterpret_cast<const char*>(t) : "";
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};
