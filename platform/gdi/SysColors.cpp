// System colours from the application's palette, their stock brushes, and
// the system parameters (work area, non-client metrics with the menu font).
#include "platform/gdi/GdiObject_p.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <mutex>

using namespace vxgdi;

namespace {

// Used when no application (and so no palette) exists yet.
COLORREF Fallback(int index)
{
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_BTNHIGHLIGHT:
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_CAPTIONTEXT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
    case COLOR_INFOTEXT:
    case COLOR_WINDOWFRAME:
        return RGB(0, 0, 0);
    case COLOR_BTNSHADOW:
        return RGB(160, 160, 160);
    case COLOR_GRAYTEXT:
        return RGB(109, 109, 109);
    case COLOR_3DDKSHADOW:
        return RGB(105, 105, 105);
    case COLOR_3DLIGHT:
        return RGB(227, 227, 227);
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
    case COLOR_HOTLIGHT:
        return RGB(0, 120, 215);
    case COLOR_INFOBK:
        return RGB(255, 255, 225);
    case COLOR_ACTIVECAPTION:
        return RGB(153, 180, 209);
    case COLOR_INACTIVECAPTION:
        return RGB(191, 205, 219);
    case COLOR_APPWORKSPACE:
        return RGB(171, 171, 171);
    case COLOR_BACKGROUND:
        return RGB(0, 0, 0);
    default:
        return RGB(240, 240, 240);
    }
}

COLORREF FromPalette(int index)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return Fallback(index);
    QPalette pal = QGuiApplication::palette();
    auto c = [&](QPalette::ColorRole role, QPalette::ColorGroup g = QPalette::Active) {
        QColor q = pal.color(g, role);
        return RGB(q.red(), q.green(), q.blue());
    };
    switch (index) {
    case COLOR_BTNFACE:
    case COLOR_MENU:
    case COLOR_MENUBAR:
    case COLOR_SCROLLBAR:
    case COLOR_ACTIVEBORDER:
    case COLOR_INACTIVEBORDER:
        return c(QPalette::Button);
    case COLOR_WINDOW:
        return c(QPalette::Base);
    case COLOR_WINDOWTEXT:
        return c(QPalette::WindowText);
    case COLOR_MENUTEXT:
    case COLOR_BTNTEXT:
        return c(QPalette::ButtonText);
    case COLOR_HIGHLIGHT:
    case COLOR_MENUHILIGHT:
        return c(QPalette::Highlight);
    case COLOR_HIGHLIGHTTEXT:
        return c(QPalette::HighlightedText);
    case COLOR_BTNSHADOW:
        return c(QPalette::Mid);
    case COLOR_3DDKSHADOW:
        return c(QPalette::Shadow);
    case COLOR_BTNHIGHLIGHT:
        return c(QPalette::Light);
    case COLOR_3DLIGHT:
        return c(QPalette::Midlight);
    case COLOR_GRAYTEXT:
        return c(QPalette::Text, QPalette::Disabled);
    case COLOR_INFOBK:
        return c(QPalette::ToolTipBase);
    case COLOR_INFOTEXT:
        return c(QPalette::ToolTipText);
    case COLOR_HOTLIGHT:
        return c(QPalette::Link);
    default:
        return Fallback(index);
    }
}

constexpr int kColours = COLOR_MENUBAR + 1;
std::mutex g_brushMutex;  // guards g_brushes
HBRUSH g_brushes[kColours] = {};

void FillLogFont(LOGFONT& lf, const QFont& f)
{
    lf = LogFontFromQFont(f);
}

}  // namespace

DWORD GetSysColor(int index)
{
    if (index < 0 || index >= kColours)
        return 0;
    return FromPalette(index);
}

HBRUSH GetSysColorBrush(int index)
{
    if (index < 0 || index >= kColours)
        return nullptr;
    std::lock_guard lock(g_brushMutex);
    COLORREF c = GetSysColor(index);
    BrushObj* b = Brush(g_brushes[index]);
    if (!b) {
        g_brushes[index] = CreateSolidBrush(c);
        b = Brush(g_brushes[index]);
        b->stock = true;
    }
    // A palette change recolours the brush, which stays the same handle.
    b->lb.lbColor = c;
    return g_brushes[index];
}

BOOL SystemParametersInfo(UINT action, UINT, LPVOID out, UINT)
{
    if (!out)
        return FALSE;
    switch (action) {
    case SPI_GETWORKAREA: {
        QRect r(0, 0, 1024, 768);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            if (QScreen* s = QGuiApplication::primaryScreen())
                r = s->availableGeometry();
        *static_cast<RECT*>(out) = RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
        return TRUE;
    }
    case SPI_GETNONCLIENTMETRICS: {
        // Callers may pass an older, shorter record size: never write past it.
        auto* caller = static_cast<NONCLIENTMETRICS*>(out);
        size_t size =
            caller->cbSize ? std::min<size_t>(caller->cbSize, sizeof(NONCLIENTMETRICS)) : sizeof(NONCLIENTMETRICS);
        if (size < offsetof(NONCLIENTMETRICS, iPaddedBorderWidth))
            return FALSE;
        NONCLIENTMETRICS m{};
        m.cbSize = caller->cbSize;
        QFont menu;
        QFont general;
        if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
            menu = QApplication::font("QMenu");
            general = QApplication::font();
        }
        m.iBorderWidth = 1;
        m.iScrollWidth = 17;
        m.iScrollHeight = 17;
        m.iCaptionWidth = 23;
        m.iCaptionHeight = 23;
        m.iSmCaptionWidth = 17;
        m.iSmCaptionHeight = 17;
        m.iMenuWidth = 19;
        m.iMenuHeight = 19;
        FillLogFont(m.lfCaptionFont, general);
        FillLogFont(m.lfSmCaptionFont, general);
        FillLogFont(m.lfMenuFont, menu);
        FillLogFont(m.lfStatusFont, general);
        FillLogFont(m.lfMessageFont, general);
        std::memcpy(out, &m, size);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
        FillLogFont(*static_cast<LOGFONT*>(out), QFont());
        return TRUE;
    default:
        return FALSE;
    }
}
