#pragma once
// What a device-context handle stands for: the surface it draws on (a window
// that is painting, a window's off-paint image, or the bitmap selected into a
// memory DC) and the drawing state (selected objects, colours, modes, clip,
// origin, current position) with its SaveDC stack.

#include "platform/base/types.h"
#include "platform/gdi/wingdi.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRegion>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

class QPaintDevice;
class QWidget;

namespace vxgdi {

struct DcState {
    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ bitmap = nullptr;  // memory DCs only
    COLORREF text = RGB(0, 0, 0);
    COLORREF bk = RGB(255, 255, 255);
    COLORREF dcBrush = RGB(255, 255, 255);
    COLORREF dcPen = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP;
    QPoint pos;                   // MoveTo/LineTo position, logical
    QPoint org;                   // viewport origin: logical (0,0) on the surface
    std::optional<QRegion> clip;  // in surface coordinates; none: no clip
};

struct DcHandle {
    enum class Kind { Window, Memory, Screen };

    QPaintDevice* device = nullptr;  // window DCs: null draws nothing
    QSize size;
    Kind kind = Kind::Window;
    HWND hwnd = nullptr;          // GetDC: the window it was taken for
    std::unique_ptr<QImage> own;  // GetDC and screen DCs draw on this image
    bool drawn = false;           // something was drawn on `own`
    DcState st;
    std::vector<DcState> saved;

    // The surface to paint on, or null.
    QPaintDevice* Target();
    // The surface's pixels when they can be read directly, else null.
    QImage* TargetImage();
    // The pixels of the surface as an image (a copy for a window).
    QImage Snapshot();
    bool TargetIsMono();
    QSize TargetSize();
};

// What a window shows now; while a paint is in progress (when grabbing
// would paint again) a plain image in its background colour.
QImage CurrentLook(QWidget* w);

// The DC of a window's painting (device null: one that draws nothing).
HDC CreateWindowDc(QPaintDevice* device, QSize size);
void ReleaseWindowDc(HDC hdc);
// The widget whose paint is in progress on this thread, kept by the window
// layer: grabbing a window then would paint it again.
extern thread_local QWidget* t_painting;
// The live DC behind a handle, or null for a stale or foreign handle.
DcHandle* FromHdc(HDC hdc);
HDC NewDc(std::unique_ptr<DcHandle> dc);
void FreeDc(HDC hdc);

// A painter on the DC's surface with its clip and origin applied; ok() is
// false when the DC has nothing to draw on.
class DcPainter {
public:
    explicit DcPainter(DcHandle* dc);
    ~DcPainter();
    DcPainter(const DcPainter&) = delete;
    DcPainter& operator=(const DcPainter&) = delete;
    bool ok() const { return m_ok; }
    QPainter& p() { return m_p; }
    // The colour as the surface can hold it (black or white on a monochrome
    // bitmap, the nearer of the two).
    QColor Color(COLORREF c) const;
    // The DC's brush and pen as Qt objects; null style when none.
    QBrush Brush() const;
    QPen Pen() const;
    int PenWidth() const;

private:
    DcHandle* m_dc;
    QPainter m_p;
    bool m_ok = false;
    bool m_mono = false;
};

}  // namespace vxgdi
