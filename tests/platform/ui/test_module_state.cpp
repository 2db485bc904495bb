// Module states: a library's resources come first inside its scope, its
// application object starts once and never becomes the program's.
#include "ui_test_env.h"

#include <string>

namespace {

HINSTANCE RegisterWith(const char* name, const char* text)
{
    return vxw::RegisterResourceModule(name, [text](vxw::ResourceModule& m) {
        m.AddString(20001, text);
        vxw::DialogTemplate d;
        d.caption = text;
        m.AddDialog(690, d);
    });
}

// Registered first, as a host's own table would stand before a library's.
const HINSTANCE g_host = RegisterWith("modstate-host", "host");
const HINSTANCE g_lib = RegisterWith("modstate-lib", "library");
AFX_MODULE_STATE g_libState(g_lib);

class LibraryApp : public CWinApp {
public:
    LibraryApp() : CWinApp("lib", &g_libState) {}
    int starts = 0;
    HINSTANCE resourcesAtStart = nullptr;
    BOOL InitInstance() override
    {
        ++starts;
        resourcesAtStart = AfxFindResourceHandle(MAKEINTRESOURCE(690), RT_DIALOG);
        return TRUE;
    }
};
LibraryApp g_libApp;
AfxLibraryStart g_libStart(&g_libState);

std::string StringOf(UINT id)
{
    CString s;
    s.LoadString(id);
    return s.GetString();
}

TEST(ModuleState, LibraryResourcesFirstOnlyInsideTheScope)
{
    AfxSetResourceHandle(g_host);
    EXPECT_EQ(StringOf(20001), "host");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(690), RT_DIALOG), g_host);
    {
        AFX_MANAGE_STATE(&g_libState);
        EXPECT_EQ(StringOf(20001), "library");
        EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(690), RT_DIALOG), g_lib);
        {
            AFX_MANAGE_STATE(nullptr);  // a nested scope of no library
            EXPECT_EQ(StringOf(20001), "host");
        }
        EXPECT_EQ(StringOf(20001), "library");
        // Another thread keeps the program's chain.
        std::string other;
        std::thread([&] { other = StringOf(20001); }).join();
        EXPECT_EQ(other, "host");
    }
    EXPECT_EQ(StringOf(20001), "host");
}

TEST(ModuleState, LibraryAppStartsOnceAndIsNotTheProgramsApp)
{
    EXPECT_EQ(g_libApp.starts, 1);
    EXPECT_EQ(g_libApp.resourcesAtStart, g_lib);
    EXPECT_EQ(AfxGetApp(), nullptr);  // this program has no application object
    AFX_MANAGE_STATE(&g_libState);
    EXPECT_EQ(AfxGetApp(), &g_libApp);
}

TEST(ModuleState, DesktopWindowIsNoWindowOfOurs)
{
    HWND desktop = GetDesktopWindow();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop, GetDesktopWindow());
    EXPECT_FALSE(IsWindow(desktop));
    EXPECT_FALSE(::EnableWindow(desktop, FALSE));
    EXPECT_FALSE(::IsWindowEnabled(desktop));
}

}  // namespace

VX_UI_TEST_MAIN()
