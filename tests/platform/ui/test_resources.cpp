// Resource modules: the search chain, string tables, a resource library
// loaded by name, and a dialog built from the library's template.
#include "ui_test_env.h"

#include <cstring>

namespace {

HINSTANCE MainModule()
{
    static HINSTANCE h = vxw::RegisterResourceModule("ui-test-main", [](vxw::ResourceModule& m) {
        m.AddString(1, "main one");
        m.AddString(2, "main two");
    });
    return h;
}

CString Load(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

TEST(Resources, TheChainStartsAtTheCurrentModuleThenEveryOther)
{
    HINSTANCE main = MainModule();
    AfxSetResourceHandle(main);
    HMODULE lib = LoadLibrary("VXTestRes");
    ASSERT_NE(lib, nullptr);
    HINSTANCE libModule = vxw::FindResourceModuleByName("VXTestRes");
    ASSERT_NE(libModule, nullptr);
    // The handle that loading gave finds the module's tables.
    EXPECT_EQ(vxw::ResourceModuleOfLibrary(lib), libModule);

    EXPECT_STREQ(Load(2).GetString(), "main two");
    EXPECT_STREQ(Load(3).GetString(), "library three");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(3), RT_STRING), libModule);

    AfxSetResourceHandle(lib);
    EXPECT_EQ(AfxGetResourceHandle(), libModule);
    EXPECT_STREQ(Load(2).GetString(), "library two");
    EXPECT_STREQ(Load(1).GetString(), "main one");
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(2), RT_STRING), libModule);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(77), RT_STRING), nullptr);

    CString missing = "kept";
    EXPECT_FALSE(missing.LoadString(77));
    AfxSetResourceHandle(main);
}

TEST(Resources, LoadStringCutsToTheBufferAndReportsMissingIds)
{
    HINSTANCE main = MainModule();
    char buf[6];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(LoadString(main, 1, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "main ");
    EXPECT_EQ(LoadString(main, 3, buf, sizeof buf), 0);  // the library's id, not this module's
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(LoadString(main, 1, nullptr, 10), 0);
    EXPECT_EQ(LoadString(main, 1, buf, 0), 0);
}

TEST(Resources, ADialogIsBuiltFromTheTemplateOfItsModule)
{
    MainModule();
    ASSERT_NE(LoadLibrary("VXTestRes"), nullptr);
    CDialog dlg(500);
    ASSERT_TRUE(dlg.Create(500));
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_STREQ(caption.GetString(), "From the library");
    EXPECT_NE(dlg.GetDlgItem(IDOK), nullptr);
    dlg.DestroyWindow();
    // An id no module has makes no dialog.
    CDialog none(501);
    EXPECT_FALSE(none.Create(501));
    EXPECT_EQ(none.DoModal(), -1);
}

}  // namespace

VX_UI_TEST_MAIN()
