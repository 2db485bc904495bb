// The system parameters dialog in process: bounds of its two numbers (the
// configuration file untouched when refused), the seven keys it writes, the
// wide free-space limit read back, and the run-at-logon entry.
#include "recorder_dialog_program.h"

#include "recorder/AppPath.h"
#include "recorder/CSysParamDlg.h"
#include "resources/VXKSTRes/resource.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Entry {
    const char* length;
    const char* freeSpace;
    bool autoRun = false;
};

// Fills the dialog, clicks OK and ends it with Cancel should it stay open;
// returns whether OK closed it and counts the boxes it showed.
bool RunWith(const Entry& e, size_t* boxes)
{
    rectest::MessageBoxes answers;
    bool closedByOk = false;
    vxw::test::SetModalDialogHook([&](CDialog& d) {
        d.SetDlgItemText(428, e.length);
        d.SetDlgItemText(429, e.freeSpace);
        d.CheckDlgButton(5182, e.autoRun ? BST_CHECKED : BST_UNCHECKED);
        CWnd* ok = d.GetDlgItem(IDOK);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok->GetSafeHwnd()));
        closedByOk = answers.calls.empty();
        if (!closedByOk)
            d.EndDialog(IDCANCEL);
    });
    CSysParamDlg dlg;
    INT_PTR r = dlg.DoModal();
    vxw::test::SetModalDialogHook(nullptr);
    *boxes = answers.calls.size();
    return closedByOk && r == IDOK;
}

TEST(SysParamDialog, RefusedNumbersLeaveTheFileAlone)
{
    rectest::DialogProgram program("RecordLength=10\nFreeSpace=800\n");
    const std::string before = rectest::ReadFile(program.config());
    const Entry refused[] = {{"0", "500"},   {"31", "500"},        {"10", "199"}, {"-5", "500"},
                             {"abc", "500"}, {"10", "4294967296"}, {"10", ""}};
    for (const Entry& e : refused) {
        size_t boxes = 0;
        EXPECT_FALSE(RunWith(e, &boxes)) << e.length << " " << e.freeSpace;
        EXPECT_EQ(boxes, 1u) << e.length << " " << e.freeSpace;
        EXPECT_EQ(rectest::ReadFile(program.config()), before) << e.length << " " << e.freeSpace;
    }
    EXPECT_EQ(GlobalInfo().m_nRecordLength, 10);
    EXPECT_EQ(GlobalInfo().m_ullFreeSpace, 800u);
}

TEST(SysParamDialog, AcceptedNumbersAreWrittenAndTakeEffect)
{
    rectest::DialogProgram program;
    const Entry accepted[] = {{"1", "200"}, {"30", "4294967295"}};
    for (const Entry& e : accepted) {
        size_t boxes = 0;
        ASSERT_TRUE(RunWith(e, &boxes)) << e.length << " " << e.freeSpace;
        CIniFile ini;
        ini.SetPathName(program.config().c_str());
        EXPECT_EQ(ini.GetProfileIntA("SysParam", "RecordType", -7), 1);
        EXPECT_STREQ(ini.GetProfileStringA("SysParam", "RecordLength", ""), e.length);
        EXPECT_STREQ(ini.GetProfileStringA("SysParam", "FreeSpace", ""), e.freeSpace);
        for (const char* key : {"StartRecord", "StartMin", "MinHide", "AutoRun"})
            EXPECT_STREQ(ini.GetProfileStringA("SysParam", key, "none"), "0") << key;
        EXPECT_EQ(GlobalInfo().m_nRecordLength, std::atoi(e.length));
        EXPECT_EQ(GlobalInfo().m_ullFreeSpace, std::strtoull(e.freeSpace, nullptr, 10));
    }
    // The widest limit is below every drive's free space only when it is
    // read wide: 4 PB free is not low, 4 TB is.
    EXPECT_FALSE(GlobalInfo().IsLowSpace(uint64_t(4294967295) * 1024 * 1024));
    EXPECT_TRUE(GlobalInfo().IsLowSpace(uint64_t(4) << 40));
}

TEST(SysParamDialog, RunAtLogonAddsAndRemovesTheAutostartEntry)
{
    rectest::DialogProgram program;
    const std::string exe = vxk::ModuleFileName(nullptr);
    std::string name = std::filesystem::path(exe).stem().string();
    const std::string entry = program.dir.file("xdg/autostart/" + name + ".desktop");
    size_t boxes = 0;
    ASSERT_TRUE(RunWith({"30", "500", true}, &boxes));
    ASSERT_TRUE(std::filesystem::exists(entry));
    EXPECT_NE(rectest::ReadFile(entry).find(exe), std::string::npos);
    ASSERT_TRUE(RunWith({"30", "500", false}, &boxes));
    EXPECT_FALSE(std::filesystem::exists(entry));
    ASSERT_TRUE(RunWith({"30", "500", false}, &boxes));
    EXPECT_FALSE(std::filesystem::exists(entry));
    ASSERT_TRUE(RunWith({"30", "500", true}, &boxes));
    ASSERT_TRUE(RunWith({"30", "500", true}, &boxes));
    EXPECT_TRUE(std::filesystem::exists(entry));
    EXPECT_EQ(GlobalInfo().m_nAutoRun, 1);
}

// The words of a desktop entry's Exec value: the value's own escapes
// undone, then split at blanks outside double quotes, where a backslash
// takes the next character literally.
std::vector<std::string> ExecWords(const std::string& entry)
{
    std::string exec;
    size_t at = entry.find("\nExec=");
    if (at == std::string::npos)
        return {};
    const std::string raw = entry.substr(at + 6, entry.find('\n', at + 6) - at - 6);
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            const char c = raw[++i];
            exec += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            exec += raw[i];
        }
    }
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            word += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any || !word.empty())
                words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
        }
    }
    if (any || !word.empty())
        words.push_back(word);
    return words;
}

TEST(SysParamDialog, TheLogonEntryStartsTheProgramItselfOnItsFolder)
{
    rectest::DialogProgram program;
    // A program folder away from the executable, as an installed program
    // has: the entry must not name a program in that folder.
    setenv("VX_PROGRAM_DIR", program.dir.path().c_str(), 1);
    const std::string exe = std::filesystem::canonical("/proc/self/exe").string();
    const std::string name = std::filesystem::path(exe).stem().string();
    size_t boxes = 0;
    ASSERT_TRUE(RunWith({"30", "500", true}, &boxes));
    unsetenv("VX_PROGRAM_DIR");
    const std::string entry = rectest::ReadFile(program.dir.file("xdg/autostart/" + name + ".desktop"));
    const std::vector<std::string> words = ExecWords(entry);
    ASSERT_EQ(words.size(), 3u) << entry;
    EXPECT_EQ(words[0], exe);
    EXPECT_EQ(access(words[0].c_str(), X_OK), 0) << words[0];
    EXPECT_EQ(words[1], "--program-dir");
    EXPECT_EQ(words[2], program.dir.path() + "/");
    ASSERT_TRUE(RunWith({"30", "500", false}, &boxes));
}

TEST(SysParamDialog, TheProgramFolderOptionLeavesTheRestOfTheCommandLine)
{
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> rest;
        const char* folder;  // nullptr: not set
    } cases[] = {
        {{"vx", "--program-dir", "/a b/\"q\"/", "-exit"}, {"vx", "-exit"}, "/a b/\"q\"/"},
        {{"vx", "--program-dir=/srv/rec-exit/"}, {"vx"}, "/srv/rec-exit/"},
        {{"vx", "-start_rec"}, {"vx", "-start_rec"}, nullptr},
        {{"vx", "--program-dir"}, {"vx", "--program-dir"}, nullptr},
    };
    for (const auto& c : cases) {
        unsetenv("VX_PROGRAM_DIR");
        std::vector<std::string> copy = c.args;
        std::vector<char*> argv;
        for (std::string& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(c.args.size());
        TakeProgramDirOption(argc, argv.data());
        std::vector<std::string> rest(argv.begin(), argv.begin() + argc);
        EXPECT_EQ(rest, c.rest) << c.args[1];
        EXPECT_EQ(argv[static_cast<size_t>(argc)], nullptr);
        const char* set = getenv("VX_PROGRAM_DIR");
        EXPECT_STREQ(set, c.folder) << c.args[1];
    }
    unsetenv("VX_PROGRAM_DIR");
}

}  // namespace

VX_UI_TEST_MAIN()
