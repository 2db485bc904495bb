// The program as a person installs it: the install rules into a prefix of
// its own, the installed program started with a fresh home (its program
// folder made under ~/.local/share), and the Debian package of the same rules.
#include "recorder/recorder_test_env.h"

#include "recorder/CDBOper.h"
#include "support/CamsimProcess.h"
#include "support/RunCommand.h"
#include "support/WaitUntil.h"

#include <QImage>
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using vxtest::ReadFile;
using vxtest::WaitUntil;

namespace {

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// Runs a command line through the shell; its exit status, output in `out`.
int Shell(const std::string& cmd, std::string* out = nullptr)
{
    std::string text = vxtest::runCommand("( " + cmd + " ) 2>&1; echo \"exit=$?\"");
    size_t at = text.rfind("exit=");
    if (out)
        *out = text.substr(0, at);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 5);
}

std::string Quoted(const std::string& s)
{
    return "'" + s + "'";
}

// cmake --install (and the package's install) writes the list of what it
// installed into the build folder: a list the person's own install left
// there comes back after the tests, and none is left where there was none.
class KeepInstallManifest : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_had = Exists(m_path);
        if (m_had)
            m_text = ReadFile(m_path);
    }
    void TearDown() override
    {
        if (m_had) {
            std::ofstream(m_path, std::ios::binary | std::ios::trunc) << m_text;
        } else {
            std::error_code ec;
            fs::remove(m_path, ec);
        }
    }

private:
    const std::string m_path = std::string(VX_BUILD_DIR) + "/install_manifest.txt";
    bool m_had = false;
    std::string m_text;
};
::testing::Environment* const g_keepManifest = ::testing::AddGlobalTestEnvironment(new KeepInstallManifest);

// One installation of this build, made by the first test that needs it.
struct Installed {
    vxtest::TempDir dir{"vx-install"};
    std::string prefix = dir.file("prefix");
    std::string output;
    int status = -1;

    static Installed& Get()
    {
        static Installed installed;
        return installed;
    }

private:
    Installed()
    {
        status =
            Shell(Quoted(VX_CMAKE) + " --install " + Quoted(VX_BUILD_DIR) + " --prefix " + Quoted(prefix), &output);
    }
};

// The files under a folder, as paths relative to it.
std::set<std::string> FilesUnder(const std::string& root)
{
    std::set<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (!it->is_directory(ec))
            files.insert(fs::relative(it->path(), root, ec).string());
    }
    return files;
}

// The installed program run as a person runs it, with its own home and
// runtime folder, offscreen.
class InstalledRun {
public:
    InstalledRun(const std::string& program, const std::string& home, const std::string& runtime,
                 const std::string& shots, std::vector<std::string> args = {},
                 const std::vector<std::string>& extraEnv = {})
    {
        const char* dropped[] = {
            "HOME=",        "XDG_DATA_HOME=",   "XDG_CONFIG_HOME=", "VX_PROGRAM_DIR=", "VX_RUNTIME_DIR=",
            "VX_SHOT_DIR=", "QT_QPA_PLATFORM=", "DISPLAY=",         "WAYLAND_DISPLAY="};
        std::vector<std::string> env = {"HOME=" + home, "VX_RUNTIME_DIR=" + runtime, "VX_SHOT_DIR=" + shots,
                                        "QT_QPA_PLATFORM=offscreen"};
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        for (char** e = environ; *e; ++e) {
            std::string v = *e;
            if (std::none_of(std::begin(dropped), std::end(dropped), [&](const char* d) { return v.rfind(d, 0) == 0; }))
                env.push_back(v);
        }
        args.insert(args.begin(), program);
        std::vector<char*> argv, envp;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&m_pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            m_pid = -1;
    }
    ~InstalledRun()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }
    InstalledRun(const InstalledRun&) = delete;
    InstalledRun& operator=(const InstalledRun&) = delete;

    pid_t pid() const { return m_pid; }
    // The exit code; -1 when it did not end in time or ended by a signal.
    int Wait(double seconds)
    {
        int status = 0;
        if (!WaitUntil([&] { return waitpid(m_pid, &status, WNOHANG) == m_pid; }, seconds))
            return -1;
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Whether the program has its window-picture signal handler yet: a
    // signal sent before it would end the program.
    bool CatchesPictureSignal() const
    {
        std::istringstream status(ReadFile("/proc/" + std::to_string(m_pid) + "/status"));
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("SigCgt:", 0) == 0)
                return (std::stoull(line.substr(7), nullptr, 16) >> (SIGUSR1 - 1)) & 1;
        }
        return false;
    }
    // The shared objects of ours the running program has loaded.
    std::vector<std::string> OwnLibraries() const
    {
        std::set<std::string> libs;
        std::istringstream maps(ReadFile("/proc/" + std::to_string(m_pid) + "/maps"));
        for (std::string line; std::getline(maps, line);) {
            size_t slash = line.find('/');
            if (slash == std::string::npos)
                continue;
            std::string path = line.substr(slash);
            std::string name = path.substr(path.rfind('/') + 1);
            if (name.rfind("libvx", 0) == 0 || name.rfind("libVXKST", 0) == 0)
                libs.insert(path);
        }
        return {libs.begin(), libs.end()};
    }

private:
    pid_t m_pid = -1;
};

// The largest window picture the program saves on SIGUSR1.
QImage MainWindowPicture(const InstalledRun& program, const std::string& shots)
{
    if (!WaitUntil([&] { return program.CatchesPictureSignal(); }, 30))
        return {};
    std::set<std::string> before = FilesUnder(shots);
    QImage best;
    // The main window may not be shown at the first signal yet.
    WaitUntil(
        [&] {
            kill(program.pid(), SIGUSR1);
            WaitUntil([&] { return FilesUnder(shots) != before; }, 2);
            for (const std::string& f : FilesUnder(shots)) {
                if (before.count(f) || fs::path(f).extension() != ".png")  // not one being written
                    continue;
                before.insert(f);
                QImage img(QString::fromStdString(shots + "/" + f));
                if (img.width() * img.height() > best.width() * best.height())
                    best = img;
            }
            return !best.isNull();
        },
        30);
    return best;
}

int DistinctColours(const QImage& img)
{
    std::set<QRgb> colours;
    for (int y = 0; y < img.height(); y += 4) {
        for (int x = 0; x < img.width(); x += 4)
            colours.insert(img.pixel(x, y));
    }
    return static_cast<int>(colours.size());
}

// The main window's size as the skin file gives it ("CameraView=L T W H").
QSize SkinWindowSize(const std::string& skinFile)
{
    std::istringstream in(ReadFile(skinFile));
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("CameraView=", 0) == 0) {
            int l = 0, t = 0, w = 0, h = 0;
            std::istringstream(line.substr(11)) >> l >> t >> w >> h;
            return QSize(w, h);
        }
    }
    return {};
}

std::vector<std::string> SegmentsIn(const std::string& dir)
{
    std::vector<std::string> files;
    for (const std::string& f : FilesUnder(dir)) {
        if (f.size() > 4 && f.compare(f.size() - 4, 4, ".mp4") == 0)
            files.push_back(dir + "/" + f);
    }
    return files;
}

long long SizeOf(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// A camera recorded all week, written through the program's database class.
int AddCamera(const std::string& programFolder, const CamsimProcess& cam)
{
    rectest::MessageBoxes boxes;
    CDBOper db;
    db.m_nKind = 1;
    db.m_strSqlitePath = (programFolder + "/VXKST.sqlite").c_str();
    db.m_strMoviePath = (programFolder + "/movies/").c_str();
    STIPCfgKst c;
    c.CAMERAID = -1;
    CopyTextField(c.IP, "127.0.0.1");
    CopyTextField(c.NAME, "camsim");
    CopyTextField(c.UID, "admin");
    CopyTextField(c.PWD, "admin");
    c.PORT = cam.httpPort();
    c.RTSP = cam.rtspPort();
    c.TYPE = 2;
    int id = db.SaveCamera(c);
    CArray<STCameraInfoKst> schedules;
    STCameraInfoKst s;
    s.CAMERAID = id;
    for (auto& day : s.arrContinuous)
        std::fill(std::begin(day), std::end(day), 1);
    s.REC_ENABLE = 1;
    s.REC_DAYS = 7;
    schedules.Add(s);
    EXPECT_TRUE(db.SaveSchedules(schedules, -1, FALSE));
    EXPECT_TRUE(boxes.calls.empty());
    return id;
}

TEST(Install, InstalledProgramKeepsItsDataInTheUsersFolderAndRecords)
{
    Installed& inst = Installed::Get();
    ASSERT_EQ(inst.status, 0) << inst.output;
    const std::string& prefix = inst.prefix;
    const std::string program = prefix + "/bin/VXKST-HD";
    for (const char* f : {"bin/VXKST-HD", "lib/vxkst-hd/libVXKSTRes.so", "lib/vxkst-hd/libvxplatform.so",
                          "libexec/vxkst-hd/vxkst-mdbread", "share/vxkst-hd/config/vxkstskin.ini",
                          "share/applications/vxkst-hd.desktop"})
        EXPECT_TRUE(Exists(prefix + "/" + f)) << f;
    for (int size : kIconSizes) {
        QImage icon(QString::fromStdString(prefix + "/share/icons/hicolor/" + std::to_string(size) + "x"
                                           + std::to_string(size) + "/apps/vxkst-hd.png"));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_GT(DistinctColours(icon.scaled(64, 64)), 2) << size;
    }

    // The launcher is valid and starts the installed program.
    const std::string desktop = prefix + "/share/applications/vxkst-hd.desktop";
    std::string out;
    EXPECT_EQ(Shell("desktop-file-validate " + Quoted(desktop), &out), 0) << out;
    EXPECT_NE(ReadFile(desktop).find("Exec=\"" + program + "\"\n"), std::string::npos) << ReadFile(desktop);
    EXPECT_NE(ReadFile(desktop).find("Icon=vxkst-hd\n"), std::string::npos);
    // The legacy-import helper finds its libraries where it is installed
    // (it answers a start without a file with its usage).
    EXPECT_EQ(Shell(Quoted(prefix + "/libexec/vxkst-hd/vxkst-mdbread"), &out), 2) << out;
    EXPECT_NE(out.find("usage: vxkst-mdbread"), std::string::npos) << out;

    vxtest::TempDir run("vx-installed-run");
    const std::string home = run.file("home"), runtime = run.file("rt"), shots = run.file("shots");
    mkdir(home.c_str(), 0700);
    mkdir(runtime.c_str(), 0700);
    mkdir(shots.c_str(), 0700);
    const std::string data = home + "/.local/share/vxkst-hd";
    const QSize skinSize = SkinWindowSize(prefix + "/share/vxkst-hd/config/vxkstskin.ini");
    ASSERT_FALSE(skinSize.isEmpty());

    // The first start makes the program folder with the installed defaults
    // and the database, and shows its window.
    {
        InstalledRun first(program, home, runtime, shots);
        ASSERT_GT(first.pid(), 0);
        QImage window = MainWindowPicture(first, shots);
        EXPECT_EQ(window.size(), skinSize);
        EXPECT_GT(DistinctColours(window), 8) << "the main window is blank";
        EXPECT_EQ(ReadFile(data + "/config/vxkstskin.ini"), ReadFile(prefix + "/share/vxkst-hd/config/vxkstskin.ini"));
        EXPECT_TRUE(Exists(data + "/VXKST.sqlite"));
        EXPECT_TRUE(fs::is_directory(data + "/movies"));
        // Everything of ours is loaded from the prefix, nothing from the build.
        std::vector<std::string> libs = first.OwnLibraries();
        EXPECT_FALSE(libs.empty());
        for (const std::string& lib : libs)
            EXPECT_EQ(lib.rfind(prefix + "/lib/vxkst-hd/", 0), 0u) << lib;
        EXPECT_FALSE(Exists(prefix + "/bin/VXKST.sqlite"));

        InstalledRun ender(program, home, runtime, shots, {"-exit"});
        EXPECT_EQ(ender.Wait(30), 0);
        EXPECT_EQ(first.Wait(30), 0);
    }

    // A camera, recording from the start, and a program folder that lost
    // its skin file: the installed one lays the window out and the log says so.
    CamsimProcess cam({"--family", "DY", "--keyint", "15"});
    ASSERT_TRUE(cam.ok()) << cam.error();
    const int id = AddCamera(data, cam);
    ASSERT_GE(id, 1);
    rectest::WriteFile(data + "/config/vxkstcfg.ini", "[Config]\nlog_level=4\nDataType=1\n"
                                                      "[SysParam]\nStartRecord=1\nRecordLength=1\nFreeSpace=0\n");
    ASSERT_EQ(unlink((data + "/config/vxkstskin.ini").c_str()), 0);
    const std::string movies = data + "/movies/Camera-" + std::to_string(id);
    // The second run numbers its pictures from one again: the first run's
    // would hide them.
    for (const std::string& f : FilesUnder(shots))
        fs::remove(shots + "/" + f);
    {
        InstalledRun second(program, home, runtime, shots);
        ASSERT_TRUE(WaitUntil(
            [&] {
                std::vector<std::string> s = SegmentsIn(movies);
                return !s.empty() && SizeOf(s[0]) > 20000;
            },
            60))
            << ReadFile(data + "/vxkst.log");
        QImage window = MainWindowPicture(second, shots);
        EXPECT_EQ(window.size(), skinSize);
        EXPECT_GT(DistinctColours(window), 8) << "the main window is blank";

        InstalledRun ender(program, home, runtime, shots, {"-exit"});
        EXPECT_EQ(ender.Wait(30), 0);
        EXPECT_EQ(second.Wait(30), 0);
    }
    std::vector<std::string> segments = SegmentsIn(movies);
    ASSERT_FALSE(segments.empty());
    std::string duration =
        vxtest::runCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Quoted(segments[0]));
    EXPECT_GT(std::atof(duration.c_str()), 0.5) << segments[0];

    std::istringstream log(ReadFile(data + "/vxkst.log"));
    std::vector<std::string> skinErrors;
    for (std::string line; std::getline(log, line);) {
        if (line.find("ERROR") != std::string::npos && line.find("vxkstskin.ini") != std::string::npos)
            skinErrors.push_back(line);
    }
    ASSERT_EQ(skinErrors.size(), 1u) << ReadFile(data + "/vxkst.log");
    EXPECT_NE(skinErrors[0].find(data + "/config/vxkstskin.ini"), std::string::npos) << skinErrors[0];
    EXPECT_NE(skinErrors[0].find(prefix + "/share/vxkst-hd/config/vxkstskin.ini"), std::string::npos) << skinErrors[0];
}

TEST(Install, TheProgramFolderFollowsTheEnvironment)
{
    Installed& inst = Installed::Get();
    ASSERT_EQ(inst.status, 0) << inst.output;
    const std::string program = inst.prefix + "/bin/VXKST-HD";
    vxtest::TempDir run("vx-installed-env");
    const std::string home = run.file("home"), runtime = run.file("rt"), shots = run.file("shots");
    for (const std::string& d : {home, runtime, shots, run.file("own")})
        mkdir(d.c_str(), 0700);
    const struct {
        std::string env;
        std::string folder;
    } cases[] = {
        {"XDG_DATA_HOME=" + run.file("data"), run.file("data/vxkst-hd")},
        // The base-directory rules ignore a relative value.
        {"XDG_DATA_HOME=relative/data", home + "/.local/share/vxkst-hd"},
        // A folder named for the program wins over the installed layout.
        {"VX_PROGRAM_DIR=" + run.file("own"), run.file("own")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env);
        {
            InstalledRun recorder(program, home, runtime, shots, {}, {c.env});
            EXPECT_TRUE(WaitUntil([&] { return Exists(c.folder + "/VXKST.sqlite"); }, 30));
            InstalledRun ender(program, home, runtime, shots, {"-exit"}, {c.env});
            EXPECT_EQ(ender.Wait(30), 0);
            EXPECT_EQ(recorder.Wait(30), 0);
        }
        EXPECT_TRUE(fs::is_directory(c.folder + "/movies"));
        std::set<std::string> others = FilesUnder(run.path());
        for (const std::string& f : others) {
            const std::string path = run.file(f);
            EXPECT_TRUE(path.rfind(c.folder + "/", 0) == 0 || path.rfind(shots + "/", 0) == 0
                        || path.rfind(runtime + "/", 0) == 0)
                << path << " written outside " << c.folder;
        }
        fs::remove_all(c.folder);
        mkdir(run.file("own").c_str(), 0700);
    }
    EXPECT_FALSE(Exists("relative")) << "a relative XDG_DATA_HOME was taken from the working folder";
}

TEST(Install, PackageHoldsTheInstalledFilesAndNamesTheLibrariesItNeeds)
{
    Installed& inst = Installed::Get();
    ASSERT_EQ(inst.status, 0) << inst.output;
    vxtest::TempDir out("vx-package");
    std::string printed;
    ASSERT_EQ(Shell(Quoted(std::string(VX_SOURCE_DIR) + "/scripts/package") + " --no-build --build "
                        + Quoted(VX_BUILD_DIR) + " --out " + Quoted(out.path()),
                    &printed),
              0)
        << printed;
    std::string deb = printed.substr(0, printed.find('\n'));
    ASSERT_TRUE(Exists(deb)) << printed;

    std::string info;
    ASSERT_EQ(Shell("dpkg-deb --info " + Quoted(deb), &info), 0) << info;
    EXPECT_NE(info.find("Package: vxkst-hd\n"), std::string::npos) << info;
    std::string depends;
    std::istringstream lines(info);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" Depends: ") != std::string::npos)
            depends = line;
    }
    for (const char* lib : {"libqt6core6", "libqt6widgets6", "libavformat", "libavcodec", "libcurl", "libsqlite3"})
        EXPECT_NE(depends.find(lib), std::string::npos) << lib << " in " << depends;

    // The package's files are the install rules' files, under /usr.
    std::string listing;
    ASSERT_EQ(Shell("dpkg-deb -c " + Quoted(deb), &listing), 0) << listing;
    std::set<std::string> packaged;
    std::istringstream entries(listing);
    for (std::string line; std::getline(entries, line);) {
        if (line.empty() || line[0] == 'd')
            continue;
        size_t at = line.find(" ./usr/");
        if (at != std::string::npos)
            packaged.insert(line.substr(at + 7, line.find(" -> ") == std::string::npos ? std::string::npos
                                                                                       : line.find(" -> ") - at - 7));
    }
    EXPECT_EQ(packaged, FilesUnder(inst.prefix));
}

}  // namespace
