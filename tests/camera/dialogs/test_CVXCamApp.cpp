// The camera library's application helpers: its own resources come first
// whatever the host set, and its message boxes take their texts from them.
#include "camera/dialogs/CVXCamApp.h"
#include "resources/vxcam/VxcamResources.h"
#include "resources/vxcam/resource.h"

#include "platform/platform.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A host table with the same ids, made the current module as a host would.
const HINSTANCE g_host = vxw::RegisterResourceModule("vxcam-test-host", [](vxw::ResourceModule& m) {
    m.AddString(IDS_SETUP_NOT_CONNECTED, "host string");
    m.AddString(IDS_PAGE_NAME_TIME, "host caption");
    m.AddDialog(IDD_AUDIO, vxw::DialogTemplate{});
});

TEST(VXCamApp, OwnResourcesFirstAndNotTheProgramsApp)
{
    AfxSetResourceHandle(g_host);
    EXPECT_EQ(AfxGetApp(), nullptr);
    {
        AFX_MANAGE_STATE(VxcamModuleState());
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(IDD_AUDIO), RT_DIALOG), VxcamResourceHandle());
        CString s;
        ASSERT_TRUE(s.LoadString(IDS_SETUP_NOT_CONNECTED));
        EXPECT_EQ(s, "Not connected");
        EXPECT_EQ(AfxGetApp(), &VxcamApp());
    }
    EXPECT_EQ(VxcamString(IDS_SETUP_NOT_CONNECTED), "Not connected");
}

TEST(VXCamApp, MessageBoxesByIdShowTheLibrarysTexts)
{
    AfxSetResourceHandle(g_host);
    std::vector<vxw::test::MessageBoxCall> boxes;
    vxw::test::SetMessageBoxHook([&](const vxw::test::MessageBoxCall& c) {
        boxes.push_back(c);
        return IDOK;
    });
    ShowMessageById(nullptr, IDS_PAGE_NAME_TIME, IDS_APPLY_DONE, MB_ICONINFORMATION);
    ShowMessageByIdEx(nullptr, IDS_ERROR, IDS_GET_FAILED, " (500)", MB_ICONERROR);
    ShowMessageByIdEx(nullptr, IDS_ERROR, IDS_GET_FAILED, "", MB_ICONERROR);
    vxw::test::SetMessageBoxHook(nullptr);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Name & Time");
    EXPECT_EQ(boxes[0].text, "Apply settings successfully.");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes[1].text, "Failed to get settings. (500)");
    EXPECT_EQ(boxes[2].text, "Failed to get settings.");
}

// The program folder of this run: the library keeps its files in the
// program's folder, which VX_PROGRAM_DIR names, never beside itself.
vxtest::TempDir& ProgramDir()
{
    static vxtest::TempDir dir("vxcam-program");
    return dir;
}

TEST(VXCamApp, FoldersAndTheSnapshotFile)
{
    CVXCamApp& app = VxcamApp();
    CString base = app.GetAppPath();
    ASSERT_TRUE(ProgramDir().ok());
    EXPECT_EQ(base, CString(ProgramDir().path().c_str()) + "/");
    EXPECT_EQ(app.MakeSureFolder(""), 0);
    vxtest::TempDir other("vxcam-app");
    ASSERT_TRUE(other.ok());
    CString deep = CString(other.path().c_str()) + "/a/b/c";
    EXPECT_EQ(app.MakeSureFolder(deep), 1);
    EXPECT_TRUE(PathIsDirectoryA(deep));
    EXPECT_EQ(app.GetTempSnapshotPath(), base + "temp/tmp.jpg");
    EXPECT_TRUE(PathIsDirectoryA(base + "temp"));
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!ProgramDir().ok() || setenv("VX_PROGRAM_DIR", ProgramDir().path().c_str(), 1) != 0)
        return 1;
    vxw::InitGuiThread();
    int rc = RUN_ALL_TESTS();
    vxw::ShutdownGuiThread();
    return rc;
}
