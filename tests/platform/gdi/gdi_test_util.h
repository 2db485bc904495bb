#pragma once
// Memory DCs with a bitmap of a known colour, for pixel checks.

#include "platform/ui/ui_test_env.h"

#include <string>
#include <vector>

// A memory DC over its own colour (or monochrome) bitmap.
class MemDc {
public:
    MemDc(int w, int h, COLORREF fill, bool mono = false)
    {
        dc = CreateCompatibleDC(nullptr);
        bmp = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateColorBitmap(w, h);
        old = SelectObject(dc, bmp);
        Fill(0, 0, w, h, fill);
    }
    ~MemDc()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    }
    MemDc(const MemDc&) = delete;
    MemDc& operator=(const MemDc&) = delete;

    void Fill(int l, int t, int r, int b, COLORREF c)
    {
        HBRUSH br = CreateSolidBrush(c);
        RECT rc{l, t, r, b};
        FillRect(dc, &rc, br);
        DeleteObject(br);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // Rows of pixels as characters, through a legend of colours.
    std::vector<std::string> Rows(const std::vector<std::pair<COLORREF, char>>& legend) const
    {
        BITMAP bm{};
        GetObject(bmp, sizeof bm, &bm);
        std::vector<std::string> out;
        for (int y = 0; y < bm.bmHeight; ++y) {
            std::string row;
            for (int x = 0; x < bm.bmWidth; ++x) {
                char ch = '?';
                for (auto& [c, l] : legend)
                    if (At(x, y) == c)
                        ch = l;
                row += ch;
            }
            out.push_back(row);
        }
        return out;
    }

    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;

private:
    static HBITMAP CreateColorBitmap(int w, int h)
    {
        HDC screen = GetDC(nullptr);
        HBITMAP b = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        return b;
    }
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kMagenta = RGB(255, 0, 255);
