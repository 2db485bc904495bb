// The real program's own files in a fresh program folder: who may read them.
#include "program_instance.h"

#include <sqlite3.h>

using namespace progtest;

namespace {

unsigned ModeOf(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

// The log starts anew with every run: `started` is a line of this run's.
void RunOnce(const Folder& f, const std::string& started)
{
    Instance run(f, {});
    ASSERT_TRUE(WaitUntil([&] { return f.Log().find(started) != std::string::npos; }, 60)) << f.Log();
    Instance ender(f, {"-exit"});
    EXPECT_EQ(ender.Wait(60), 0);
    EXPECT_EQ(run.Wait(60), 0);
}

}  // namespace

TEST(ProgramFiles, WhatTheProgramCreatesIsItsUsersAloneAndWhatExistsKeepsItsMode)
{
    Folder f;
    const std::string db = f.dir.file("VXKST.sqlite"), log = f.dir.file("vxkst.log");
    RunOnce(f, "CMainDlg::OnInitDialog 0 cameras");
    EXPECT_EQ(ModeOf(db), 0600u);  // the cameras' passwords are in it
    EXPECT_EQ(ModeOf(log), 0600u);
    EXPECT_EQ(ModeOf(f.dir.file("movies")), 0700u);

    // A camera's folder is made at the next start; the modes a person gave
    // the database and the log stay as they are.
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &handle), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(handle,
                           "INSERT INTO TBL_CAMERA(IP, NAME, PORT, CHANNEL, UID, PWD, TYPE, STREAM, RTSP, PIN, FLAG) "
                           "VALUES('127.0.0.1', 'cam', 80, 0, 'admin', 'secret', 2, 0, 554, '', 0)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const int id = int(sqlite3_last_insert_rowid(handle));
    sqlite3_close(handle);
    ASSERT_EQ(chmod(db.c_str(), 0640), 0);
    ASSERT_EQ(chmod(log.c_str(), 0644), 0);
    RunOnce(f, "CMainDlg::OnInitDialog 1 cameras");
    EXPECT_EQ(ModeOf(f.dir.file("movies/Camera-" + std::to_string(id))), 0700u);
    EXPECT_EQ(ModeOf(db), 0640u);
    EXPECT_EQ(ModeOf(log), 0644u);
}
