// The player's pictures in windows. A player thread hands over a frame; it
// is copied at once (the pixels are the caller's), kept as the window's last
// picture and the window is asked to repaint on the GUI thread. Repaints of a
// window are coalesced: a fast stream never floods the GUI thread.
#include "platform/ui/VideoSurface_p.h"

#include "platform/ui/GuiThread_p.h"
#include "platform/ui/WindowRegistry_p.h"
#include "platform/ui/vxsurface.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <mutex>
#include <string>
#include <unordered_map>

namespace vxw {
namespace {

struct Picture {
    QImage image;
    float aspect = 0;
    QString text;
    bool repaintQueued = false;
};

std::mutex g_lock;  // guards g_pictures
std::unordered_map<HWND, Picture>& pictures()
{
    static std::unordered_map<HWND, Picture> map;
    return map;
}

QRect fitted(const QSize& area, const QSize& picture, float aspect)
{
    if (aspect <= 0 || area.isEmpty() || picture.isEmpty())
        return QRect(QPoint(0, 0), area);
    int w = area.width();
    int h = static_cast<int>(w / aspect + 0.5f);
    if (h > area.height()) {
        h = area.height();
        w = static_cast<int>(h * aspect + 0.5f);
    }
    return QRect((area.width() - w) / 2, (area.height() - h) / 2, w, h);
}

}  // namespace

void PaintVideoSurface(HWND hwnd, QWidget* widget)
{
    QImage image;
    float aspect = 0;
    QString text;
    {
        std::lock_guard guard(g_lock);
        auto it = pictures().find(hwnd);
        if (it == pictures().end())
            return;
        image = it->second.image;  // shared, not copied
        aspect = it->second.aspect;
        text = it->second.text;
    }
    QPainter p(widget);
    QRect target = fitted(widget->size(), image.size(), aspect);
    if (target.size() != widget->size())
        p.fillRect(widget->rect(), Qt::black);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(target, image);
    if (!text.isEmpty()) {
        p.setPen(Qt::white);
        p.drawText(target.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, text);
    }
}

void ForgetVideoSurface(HWND hwnd)
{
    std::lock_guard guard(g_lock);
    pictures().erase(hwnd);
}

}  // namespace vxw

extern "C" int vx_surface_present(void* window, const vxsurface_frame* frame)
{
    using namespace vxw;
    HWND hwnd = static_cast<HWND>(window);
    if (!hwnd || !WindowRegistry::instance().alive(hwnd) || !GuiThread::instance()) {
        ForgetVideoSurface(hwnd);
        return 1;
    }
    if (!frame || !frame->pixels || frame->width <= 0 || frame->height <= 0 || frame->stride < frame->width * 4)
        return 0;  // nothing to show; the window is still there
    QImage copy = QImage(frame->pixels, frame->width, frame->height, frame->stride, QImage::Format_RGB32).copy();
    bool queue = false;
    {
        std::lock_guard guard(g_lock);
        Picture& pic = pictures()[hwnd];
        pic.image = std::move(copy);
        pic.aspect = frame->aspect;
        pic.text = QString::fromUtf8(frame->osd_text ? frame->osd_text : "");
        queue = !pic.repaintQueued;
        pic.repaintQueued = true;
    }
    if (queue) {
        GuiThread::instance()->runLater([hwnd] {
            {
                std::lock_guard guard(g_lock);
                auto it = pictures().find(hwnd);
                if (it == pictures().end())
                    return;
                it->second.repaintQueued = false;
            }
            if (QWidget* w = WidgetOf(hwnd))
                w->update();
            else
                ForgetVideoSurface(hwnd);
        });
    }
    return 0;
}

extern "C" int vx_surface_clear(void* window)
{
    using namespace vxw;
    HWND hwnd = static_cast<HWND>(window);
    if (!hwnd)
        return 0;
    bool had = false;
    {
        std::lock_guard guard(g_lock);
        had = pictures().erase(hwnd) > 0;
    }
    GuiThread* gui = GuiThread::instance();
    if (had && gui) {
        gui->runLater([hwnd] {
            if (QWidget* w = WidgetOf(hwnd))
                w->update();
        });
    }
    return 0;
}
