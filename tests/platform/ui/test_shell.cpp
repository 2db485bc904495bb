// The shell side of the user interface: opening files and URLs (never
// programs), the folder and file dialogs, the tray with and without a
// system tray, and file lists on the clipboard.
#include "ui_test_env.h"

#include "platform/ui/CFileDialog.h"
#include "platform/ui/ShellTestHooks.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/shellapi.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A scratch folder under the build tree, removed afterwards.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::string(VX_BIN_DIR) + "/vx_shell_test_" + std::to_string(getpid());
        ::mkdir(dir.c_str(), 0755);
        vxw::test::SetShellOpenHook([this](const std::string& t) {
            opened.push_back(t);
            return true;
        });
    }
    void TearDown() override
    {
        vxw::test::SetShellOpenHook(nullptr);
        for (const std::string& f : files)
            std::remove(f.c_str());
        ::rmdir(dir.c_str());
    }
    std::string Make(const std::string& name, const std::string& content, mode_t mode = 0644)
    {
        std::string p = dir + "/" + name;
        std::ofstream(p) << content;
        ::chmod(p.c_str(), mode);
        files.push_back(p);
        return p;
    }
    static int Code(HINSTANCE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }

    std::string dir;
    std::vector<std::string> files;
    std::vector<std::string> opened;
};

TEST_F(ShellTest, OpensFilesFoldersAndUrls)
{
    std::string clip = Make("clip 1.mp4", "data");
    EXPECT_GT(Code(ShellExecute(nullptr, "open", ("\"" + clip + "\"").c_str(), nullptr, nullptr, SW_SHOWNORMAL)), 32);
    // No file: the working directory is opened.
    EXPECT_GT(Code(ShellExecute(nullptr, nullptr, nullptr, nullptr, dir.c_str(), SW_SHOW)), 32);
    EXPECT_GT(Code(ShellExecute(nullptr, "open", "http://127.0.0.1:8080/index.html?a=b c", nullptr, nullptr, 1)), 32);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0], "file://" + dir + "/clip%201.mp4");
    EXPECT_EQ(opened[1], "file://" + dir);
    EXPECT_EQ(opened[2], "http://127.0.0.1:8080/index.html?a=b%20c");

    SHELLEXECUTEINFO sei{};
    sei.cbSize = sizeof sei;
    sei.lpVerb = "open";
    sei.lpFile = "https://127.0.0.1/";
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    EXPECT_TRUE(ShellExecuteEx(&sei));
    EXPECT_GT(Code(sei.hInstApp), 32);
}

TEST_F(ShellTest, NeverRunsProgramsAndReportsFailures)
{
    std::string script = Make("run.sh", "#!/bin/sh\necho hi\n", 0755);
    std::string desktop = Make("x.desktop", "[Desktop Entry]\nExec=rm -rf /\n");
    std::string elf = Make("tool",
                           std::string("\x7f"
                                       "ELF\x02\x01\x01",
                                       7)
                               + std::string(64, '\0'),
                           0755);
    struct Case {
        const char* verb;
        std::string file;
        const char* params;
        int expected;
    } cases[] = {
        {"open", script, nullptr, SE_ERR_ACCESSDENIED},
        {"open", desktop, nullptr, SE_ERR_ACCESSDENIED},
        {"open", elf, nullptr, SE_ERR_ACCESSDENIED},
        {"open", Make("a.txt", "x"), "--help", SE_ERR_ACCESSDENIED},
        {"runas", Make("b.txt", "x"), nullptr, SE_ERR_NOASSOC},
        {"open", dir + "/missing.avi", nullptr, SE_ERR_FNF},
        {"open", dir + "/no/such/file.avi", nullptr, SE_ERR_PNF},
        {"open", "javascript:alert(1)", nullptr, SE_ERR_NOASSOC},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Code(ShellExecute(nullptr, c.verb, c.file.c_str(), c.params, nullptr, SW_SHOW)), c.expected)
            << c.file;
    EXPECT_TRUE(opened.empty());
    vxw::test::SetShellOpenHook([](const std::string&) { return false; });
    EXPECT_EQ(Code(ShellExecute(nullptr, "open", "http://127.0.0.1/", nullptr, nullptr, SW_SHOW)), SE_ERR_NOASSOC);
}

int CALLBACK Preselect(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED)
        ::SendMessage(hwnd, BFFM_SETSELECTION, TRUE, data);
    return 0;
}

TEST_F(ShellTest, FolderDialogPreselectsAndReturnsThePath)
{
    vxw::test::FolderDialogCall seen{};
    vxw::test::SetFolderDialogHook([&](const vxw::test::FolderDialogCall& c) {
        seen = c;
        return std::optional<std::string>(dir);
    });
    char name[MAX_PATH] = {};
    BROWSEINFO bi{};
    bi.lpszTitle = "Record folder";
    bi.pszDisplayName = name;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = Preselect;
    bi.lParam = reinterpret_cast<LPARAM>("/var/recordings");
    LPITEMIDLIST pidl = SHBrowseForFolder(&bi);
    ASSERT_NE(pidl, nullptr);
    EXPECT_EQ(seen.initial, "/var/recordings");
    EXPECT_EQ(seen.title, "Record folder");
    char path[MAX_PATH] = {};
    EXPECT_TRUE(SHGetPathFromIDList(pidl, path));
    EXPECT_EQ(std::string(path), dir);
    EXPECT_EQ(std::string(name), dir.substr(dir.rfind('/') + 1));
    CoTaskMemFree(pidl);

    vxw::test::SetFolderDialogHook([](const vxw::test::FolderDialogCall&) { return std::nullopt; });
    EXPECT_EQ(SHBrowseForFolder(&bi), nullptr);
    // A path longer than the classic buffer is refused, not cut.
    vxw::test::SetFolderDialogHook(
        [](const vxw::test::FolderDialogCall&) { return std::optional<std::string>("/" + std::string(300, 'a')); });
    EXPECT_EQ(SHBrowseForFolder(&bi), nullptr);
    vxw::test::SetFolderDialogHook(nullptr);
}

TEST_F(ShellTest, FileDialogFiltersExtensionsAndMustExist)
{
    std::string pkg = Make("fw.bin", "x");
    vxw::test::FileDialogCall seen{};
    std::string answer = pkg;
    vxw::test::SetFileDialogHook([&](const vxw::test::FileDialogCall& c) {
        seen = c;
        return std::optional<std::string>(answer);
    });
    CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     "All Files (*.*)|*.*|Update Files (*.bin)|*.bin||");
    ASSERT_EQ(open.DoModal(), IDOK);
    EXPECT_TRUE(seen.open);
    EXPECT_EQ(seen.filters, (std::vector<std::string>{"All Files (*.*)", "Update Files (*.bin)"}));
    EXPECT_EQ(std::string(open.GetPathName()), pkg);
    EXPECT_EQ(std::string(open.GetFileName()), "fw.bin");
    EXPECT_EQ(std::string(open.GetFileExt()), "bin");

    answer = dir + "/gone.bin";
    CFileDialog missing(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST, "Update Files (*.bin)|*.bin||");
    EXPECT_EQ(missing.DoModal(), IDCANCEL);

    answer = dir + "/export";
    CFileDialog save(FALSE, "csv", "list.csv", OFN_OVERWRITEPROMPT, "CSV (*.csv)|*.csv||");
    ASSERT_EQ(save.DoModal(), IDOK);
    EXPECT_FALSE(seen.open);
    EXPECT_EQ(seen.fileName, "list.csv");
    EXPECT_EQ(std::string(save.GetPathName()), dir + "/export.csv");
    vxw::test::SetFileDialogHook(nullptr);
}

class TrayWnd : public CWnd {
public:
    std::vector<LPARAM> mouse;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == 1234 && wParam == 128)
            mouse.push_back(lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(Tray, WithoutATrayAddingFailsAtOnce)
{
    TrayWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, "VxTrayTest", "tray", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    vxw::test::SetTrayAvailable(false);
    NOTIFYICONDATA nid{};
    nid.cbSize = 504;
    nid.hWnd = wnd.GetSafeHwnd();
    nid.uID = 128;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = 1234;
    nid.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    std::strcpy(nid.szTip, "Recorder");
    EXPECT_FALSE(IsSystemTrayAvailable());
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &nid));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &nid));
    EXPECT_TRUE(vxw::test::TrayIcons().empty());

    vxw::test::SetTrayAvailable(true);
    ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &nid));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &nid));  // one icon per id
    ASSERT_EQ(vxw::test::TrayIcons().size(), 1u);
    EXPECT_EQ(vxw::test::TrayIcons()[0].tip, "Recorder");
    std::strcpy(nid.szTip, "Recorder - 2 cameras");
    nid.uFlags = NIF_TIP;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &nid));
    EXPECT_EQ(vxw::test::TrayIcons()[0].tip, "Recorder - 2 cameras");
    EXPECT_EQ(vxw::test::TrayIcons()[0].callbackMessage, 1234u);
    ASSERT_TRUE(vxw::test::ClickTrayIcon(wnd.GetSafeHwnd(), 128, WM_RBUTTONDOWN));
    EXPECT_TRUE(WaitFor([&] { return !wnd.mouse.empty(); }));
    EXPECT_EQ(wnd.mouse.front(), WM_RBUTTONDOWN);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &nid));
    EXPECT_TRUE(vxw::test::TrayIcons().empty());
    vxw::test::SetTrayAvailable(std::nullopt);
    // The offscreen desktop has no tray.
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &nid));
    wnd.DestroyWindow();
}

// A file-drop block as the recorder builds it: a 20-byte header and wide
// names, ended by the zero fill.
HGLOBAL DropList(const std::wstring& path)
{
    size_t size = sizeof(DROPFILES) + (path.size() + 2) * sizeof(WCHAR);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    DROPFILES df{sizeof(DROPFILES), {0, 0}, FALSE, TRUE};
    std::memcpy(p, &df, sizeof df);
    std::memcpy(p + sizeof df, path.data(), path.size() * sizeof(WCHAR));
    GlobalUnlock(h);
    return h;
}

TEST(Clipboard, FileListsPasteAsUriListsWithCutAndCopyMarkers)
{
    UINT effect = RegisterClipboardFormat("Preferred DropEffect");
    EXPECT_EQ(RegisterClipboardFormat("preferred dropeffect"), effect);
    EXPECT_GE(effect, 0xC000u);
    for (DWORD value : {DWORD{DROPEFFECT_COPY}, DWORD{DROPEFFECT_MOVE}}) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_FALSE(OpenClipboard(nullptr));  // already open
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_NE(SetClipboardData(CF_HDROP, DropList(L"/rec/cam 1/2024-05-01 10.00.mp4")), nullptr);
        HGLOBAL e = GlobalAlloc(GMEM_MOVEABLE, 4);
        std::memcpy(GlobalLock(e), &value, 4);
        GlobalUnlock(e);
        ASSERT_NE(SetClipboardData(effect, e), nullptr);
        ASSERT_TRUE(CloseClipboard());

        auto content = vxw::test::ClipboardContent();
        const std::string uri = "file:///rec/cam%201/2024-05-01%2010.00.mp4";
        EXPECT_EQ(content["text/uri-list"], uri + "\r\n");
        bool cut = value == DROPEFFECT_MOVE;
        EXPECT_EQ(content["x-special/gnome-copied-files"], std::string(cut ? "cut" : "copy") + "\n" + uri);
        EXPECT_EQ(content["application/x-kde-cutselection"], cut ? "1" : "0");
        EXPECT_EQ(content["text/plain"], "/rec/cam 1/2024-05-01 10.00.mp4");
    }
    // Read back as a drop list.
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 1u);
    char name[MAX_PATH] = {};
    DragQueryFile(drop, 0, name, MAX_PATH);
    EXPECT_STREQ(name, "/rec/cam 1/2024-05-01 10.00.mp4");
    CloseClipboard();
}

TEST(Clipboard, MalformedDropListsGiveNoFiles)
{
    // An offset past the block and a name without terminator stay inside it.
    HGLOBAL bad = GlobalAlloc(GHND, sizeof(DROPFILES) + 2 * sizeof(WCHAR));
    auto* p = static_cast<unsigned char*>(GlobalLock(bad));
    DROPFILES df{4096, {0, 0}, FALSE, TRUE};
    std::memcpy(p, &df, sizeof df);
    GlobalUnlock(bad);
    EXPECT_EQ(DragQueryFile(static_cast<HDROP>(bad), 0xFFFFFFFF, nullptr, 0), 0u);
    df.pFiles = sizeof(DROPFILES);
    std::memcpy(GlobalLock(bad), &df, sizeof df);
    WCHAR unterminated[2] = {L'a', L'b'};
    std::memcpy(p + sizeof df, unterminated, sizeof unterminated);
    GlobalUnlock(bad);
    EXPECT_EQ(DragQueryFile(static_cast<HDROP>(bad), 0xFFFFFFFF, nullptr, 0), 1u);
    EXPECT_EQ(GlobalFree(bad), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, bad), nullptr);  // freed, and the clipboard is closed
}

}  // namespace

VX_UI_TEST_MAIN()
