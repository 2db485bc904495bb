// Any text as a skin file either loads or is refused, quickly, and a loaded
// skin keeps every size within its bounds: the window and what is placed in
// it within the screen's work area, the background's pieces within the
// picture, and every image inside the skin folder. Drawing the loaded
// background then stays in bounds too.
//
// The skin folder holds a small picture, one in a sub-folder, a FIFO and a
// link that leads out of the folder, so names that reach them are tried.
// Input: the skin file's text.
#include "platform/platform.h"
#include "ui/controls/CSkin.h"

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Require(bool ok, const char* what, const std::string& detail = std::string())
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz_CSkin: %s %s\n", what, detail.c_str());
    std::abort();
}

class Folder {
public:
    Folder()
    {
        char name[] = "/tmp/fuzz_CSkin.XXXXXX";
        Require(mkdtemp(name) != nullptr, "no scratch folder");
        path = name;
        QImage grid(5, 5, QImage::Format_RGB888);
        grid.fill(qRgb(0, 0, 200));
        Require(grid.save(QString::fromStdString(path + "/grid.png"), "PNG"), "cannot write grid.png");
        ::mkdir((path + "/sub").c_str(), 0700);
        Require(grid.save(QString::fromStdString(path + "/sub/b.png"), "PNG"), "cannot write sub/b.png");
        ::mkfifo((path + "/pipe.png").c_str(), 0600);
        Require(symlink("/etc/hostname", (path + "/out.png").c_str()) == 0 || errno == EEXIST, "no link");
        skin = path + "/skin.xml";
    }
    ~Folder()
    {
        for (const char* f : {"/grid.png", "/sub/b.png", "/pipe.png", "/out.png", "/skin.xml"})
            std::remove((path + f).c_str());
        ::rmdir((path + "/sub").c_str());
        ::rmdir(path.c_str());
    }
    std::string path, skin;
};

class FuzzSkin : public CSkin {
public:
    explicit FuzzSkin(const std::string& folder)
    {
        std::memset(m_szSkinPath, 0, sizeof(m_szSkinPath));
        std::strncpy(m_szSkinPath, (folder + "/").c_str(), sizeof(m_szSkinPath) - 1);
    }

    void CheckBounds(const std::string& folder)
    {
        RECT work{};
        Require(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0), "no work area");
        const int w = work.right - work.left, h = work.bottom - work.top;
        const ST_SKIN_BACKGROUND& bg = m_background;
        Require(std::string(bg.image).rfind(folder + "/", 0) == 0, "background image outside the folder:", bg.image);
        Require(bg.min_size.w >= 0 && bg.min_size.w <= w && bg.min_size.h >= 0 && bg.min_size.h <= h,
                "minimum size beyond the work area");
        CheckRect(bg.rect, w, h, "background rect");
        const int pw = m_picBackground.GetWidth(), ph = m_picBackground.GetHeight();
        for (const ST_SKIN_RECT* piece : {&bg.top_left, &bg.top_right, &bg.bottom_left, &bg.bottom_right,
                                          &bg.fill_center, &bg.right_hide, &bg.right_top_hide})
            CheckRect(*piece, pw, ph, "background piece");
        Each(m_mapButtons, [&](const ST_SKIN_BUTTON& b) {
            CheckRect(b.rect, w, h, "button");
            for (const char* image : {b.image, b.image_hot, b.image_on, b.image_off, b.image_disabled})
                Require(!*image || std::string(image).rfind(folder + "/", 0) == 0, "button image outside:", image);
        });
        Each(m_mapLabels, [&](const ST_SKIN_LABEL& l) {
            CheckRect(l.rect, w, h, "label");
            Require(l.font_size >= 0 && l.font_size <= 500, "label font size");
        });
        Each(m_mapEdits, [&](const ST_SKIN_EDIT& e) { CheckRect(e.rect, w, h, "edit"); });
        Each(m_mapRects, [&](const ST_SKIN_RECT& r) { CheckRect(r, w, h, "rect"); });
    }

private:
    static void CheckRect(const ST_SKIN_RECT& r, int w, int h, const char* what)
    {
        Require(r.left >= 0 && r.top >= 0 && r.right >= r.left && r.bottom >= r.top && r.right <= w && r.bottom <= h
                    && r.width == r.right - r.left && r.height == r.bottom - r.top,
                what, std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + ","
                          + std::to_string(r.bottom));
    }
    template <class RECORD, class CHECK>
    static void Each(const CMap<CString, LPCSTR, RECORD*, RECORD*>& map, CHECK check)
    {
        for (POSITION pos = map.GetStartPosition(); pos;) {
            CString name;
            RECORD* record = nullptr;
            map.GetNextAssoc(pos, name, record);
            check(*record);
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Folder folder;
    {
        std::ofstream out(folder.skin, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    FuzzSkin skin(folder.path);
    if (!skin.LoadSkin(folder.skin.c_str()))
        return 0;
    skin.CheckBounds(folder.path);

    // The loaded background drawn into a small window, with each switch.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 24, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT rc{0, 0, 24, 16};
    skin.DrawBackground(dc, rc, 1, 1, 0);
    skin.DrawBackground(dc, rc, 0, 1, 1);
    skin.DrawBackground(dc, rc, 1, 0, 0);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    return 0;
}
