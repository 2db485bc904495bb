// The version block of the program's own resource table, and the first
// entries a dialog template gives its combo boxes.
#include "ui_test_env.h"

#include <cstring>

namespace {

constexpr UINT kDialog = 900;
constexpr int kCombo = 1021;
constexpr int kEmptyCombo = 1022;

void Fill(vxw::ResourceModule& m)
{
    m.AddData(RT_VERSION, 1,
              vxw::MakeVersionResource(0x0409, 0x04b0, {{"FileVersion", "2.3.4"}, {"ProductName", "Test"}}));
    vxw::DialogTemplate t;
    t.style = WS_POPUP;
    t.cx = 100;
    t.cy = 60;
    vxw::DialogItemTemplate combo{"COMBOBOX", kCombo, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 5, 5, 60, 80};
    combo.initialStrings = {"1", "2", "3", "4"};
    t.items.push_back(combo);
    t.items.push_back({"COMBOBOX", kEmptyCombo, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 5, 25, 60, 80});
    m.AddDialog(kDialog, t);
}

const HINSTANCE g_module = vxw::RegisterResourceModule("version-test", &Fill);

CString Query(const std::vector<char>& block, const char* sub)
{
    LPVOID p = nullptr;
    UINT len = 0;
    if (!VerQueryValueA(block.data(), sub, &p, &len))
        return CString();
    return CString(static_cast<const char*>(p));
}

TEST(VersionInfo, TheProgramFindsItsOwnBlockByItsFileName)
{
    ASSERT_NE(g_module, nullptr);
    char path[4096];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD handle = 7;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    EXPECT_EQ(handle, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    LPVOID p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &p, &len));
    ASSERT_EQ(len, 4u);
    WORD pair[2];
    std::memcpy(pair, p, 4);
    EXPECT_EQ(pair[0], 0x0409);
    EXPECT_EQ(pair[1], 0x04b0);
    EXPECT_STREQ(Query(block, "\\StringFileInfo\\040904b0\\FileVersion").GetString(), "2.3.4");
    EXPECT_STREQ(Query(block, "\\StringFileInfo\\040904b0\\ProductName").GetString(), "Test");
    EXPECT_TRUE(Query(block, "\\StringFileInfo\\040904b0\\Missing").IsEmpty());
    EXPECT_TRUE(Query(block, "\\StringFileInfo\\04070000\\FileVersion").IsEmpty());
}

TEST(VersionInfo, FilesWithoutABlockGiveNothing)
{
    EXPECT_EQ(GetFileVersionInfoSizeA("/no/such/file", nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeA(nullptr, nullptr), 0u);
    char small[4];
    char path[4096];
    GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_FALSE(GetFileVersionInfoA(path, 0, sizeof small, small));
}

TEST(DialogInit, CombosStartWithTheTemplatesEntries)
{
    AfxSetResourceHandle(g_module);
    CDialog dlg(kDialog);
    ASSERT_TRUE(dlg.Create(kDialog, nullptr));
    auto* combo = static_cast<CComboBox*>(dlg.GetDlgItem(kCombo));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 4);
    CString text;
    combo->GetLBText(3, text);
    EXPECT_STREQ(text.GetString(), "4");
    EXPECT_EQ(static_cast<CComboBox*>(dlg.GetDlgItem(kEmptyCombo))->GetCount(), 0);
    dlg.DestroyWindow();
}

}  // namespace

VX_UI_TEST_MAIN()
