// The system parameters dialog in process: bounds of its two numbers (the
// configuration file untouched when refused), the seven keys it writes, the
// wide free-space limit read back, and the run-at-logon entry.
#include "recorder_dialog_program.h"

#include "recorder/CSysParamDlg.h"
#include "resources/VXKSTRes/resource.h"

#include <filesystem>

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

}  // namespace

VX_UI_TEST_MAIN()
