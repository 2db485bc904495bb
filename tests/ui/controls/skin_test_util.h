#pragma once
// Skin files and pictures made by the tests in a folder of their own.

#include "platform/gdi/gdi_test_util.h"
#include "support/TempDir.h"
#include "ui/controls/CSkin.h"

#include <QBuffer>
#include <QImage>

#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace skintest {

// One colour per letter, for pictures drawn from rows of letters and for
// reading DCs back as rows.
inline const std::map<char, COLORREF>& Palette()
{
    static const std::map<char, COLORREF> colours = {
        {'a', RGB(200, 0, 0)},     {'b', RGB(0, 200, 0)},   {'c', RGB(0, 0, 200)},   {'d', RGB(200, 200, 0)},
        {'e', RGB(0, 200, 200)},   {'f', RGB(200, 0, 200)}, {'g', RGB(100, 0, 0)},   {'h', RGB(0, 100, 0)},
        {'i', RGB(0, 0, 100)},     {'k', RGB(100, 100, 0)}, {'p', RGB(0, 100, 100)}, {'q', RGB(100, 0, 100)},
        {'r', RGB(50, 50, 50)},    {'s', RGB(150, 150, 0)}, {'t', RGB(0, 150, 150)}, {'u', RGB(150, 0, 150)},
        {'x', RGB(250, 250, 250)}, {'.', RGB(1, 2, 3)},
    };
    return colours;
}

inline std::vector<std::pair<COLORREF, char>> Legend()
{
    std::vector<std::pair<COLORREF, char>> legend;
    for (auto& [ch, c] : Palette())
        legend.emplace_back(c, ch);
    return legend;
}

// An opaque PNG (no alpha channel, so a colour key applies) from rows of
// palette letters.
inline bool WritePicture(const std::string& path, const std::vector<std::string>& rows)
{
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            COLORREF c = Palette().at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
            img.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return img.save(QString::fromStdString(path), "PNG");
}

// The PNG bytes of a picture from rows of palette letters (for resources).
inline std::vector<unsigned char> PictureBytes(const std::vector<std::string>& rows)
{
    QImage img(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            COLORREF c = Palette().at(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
            img.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A skin whose image folder is the test's folder.
class TestSkin : public CSkin {
public:
    explicit TestSkin(const std::string& folder = std::string())
    {
        if (!folder.empty())
            SetFolder(folder + "/");
    }
    void SetFolder(const std::string& folder)
    {
        std::memset(m_szSkinPath, 0, sizeof(m_szSkinPath));
        std::strncpy(m_szSkinPath, folder.c_str(), sizeof(m_szSkinPath) - 1);
    }
    const char* Folder() const { return m_szSkinPath; }
};

}  // namespace skintest
