// Cursors: the standard shapes and the wait cursor.
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/WindowCall_p.h"

#include "platform/gdi/CtlColor_p.h"
#include "platform/gdi/wingdi.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <map>

namespace {

// A cursor handle is the standard shape's id; resource cursors come with the
// drawing layer.
Qt::CursorShape ShapeOf(HCURSOR c)
{
    switch (static_cast<unsigned>(reinterpret_cast<uintptr_t>(c))) {
    case 32513:
        return Qt::IBeamCursor;
    case 32514:
        return Qt::WaitCursor;
    case 32515:
        return Qt::CrossCursor;
    case 32516:
        return Qt::UpArrowCursor;
    case 32642:
        return Qt::SizeFDiagCursor;
    case 32643:
        return Qt::SizeBDiagCursor;
    case 32644:
        return Qt::SizeHorCursor;
    case 32645:
        return Qt::SizeVerCursor;
    case 32646:
        return Qt::SizeAllCursor;
    case 32648:
        return Qt::ForbiddenCursor;
    case 32649:
        return Qt::PointingHandCursor;
    case 32650:
        return Qt::BusyCursor;
    default:
        return Qt::ArrowCursor;
    }
}

QPointer<QWidget> g_cursorTarget;
HCURSOR g_current = nullptr;

}  // namespace

namespace vxw {
void SetCursorTarget(QWidget* widget)
{
    g_cursorTarget = widget;
}
}  // namespace vxw

HCURSOR LoadCursor(HINSTANCE module, LPCSTR name)
{
    if (!IS_INTRESOURCE(name))
        return nullptr;
    auto id = static_cast<unsigned>(reinterpret_cast<uintptr_t>(name));
    if (!module && id >= 32512 && id <= 32650)
        return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(id));
    // A cursor resource of a module (null: the whole chain): its picture.
    return static_cast<HCURSOR>(::LoadImage(module, name, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
}

HCURSOR SetCursor(HCURSOR cursor)
{
    HCURSOR old = g_current;
    g_current = cursor;
    if (g_cursorTarget) {
        QImage image;
        QPoint hot;
        if (!cursor)
            g_cursorTarget->setCursor(Qt::BlankCursor);
        else if (vxgdi::CursorImage(cursor, &image, &hot))
            g_cursorTarget->setCursor(QCursor(QPixmap::fromImage(image), hot.x(), hot.y()));
        else
            g_cursorTarget->setCursor(ShapeOf(cursor));
    }
    return old;
}

HCURSOR GetCursor()
{
    return g_current;
}

BOOL DestroyCursor(HCURSOR)
{
    return TRUE;
}

CWaitCursor::CWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CWaitCursor::~CWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore()
{
    QApplication::restoreOverrideCursor();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CCmdTarget::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CCmdTarget::EndWaitCursor()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void CCmdTarget::RestoreWaitCursor()
{
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}
