#include "camera/dialogs/motion/ZoneLayout.h"

#include <algorithm>

namespace zones {

namespace {

int Scale(int value, int to, int from)
{
    if (from <= 0)
        return 0;
    return static_cast<int>(static_cast<int64_t>(value) * to / from);
}

}  // namespace

Size VideoSize(int videomode)
{
    switch (videomode) {
    case 33:
    case 34:
        return {640, 352};
    case 41:
    case 42:
    case 48:
        return {1920, 1080};
    case 51:
    case 52:
    case 53:
    case 54:
        return {1280, 960};
    case 81:
    case 82:
    case 85:
        return {2560, 1440};
    case 101:
    case 102:
        return {2560, 1920};
    case 122:
    case 123:
        return {3840, 2160};
    default:
        return {1280, 720};
    }
}

void ZoneLayout::SetVideoZones(const std::vector<Rect>& video)
{
    m_zones.clear();
    for (const Rect& r : video) {
        if (Count() >= m_max)
            break;
        Zone z;
        z.video = r;
        m_zones.push_back(z);
    }
    m_picture = {};
    CancelPress();
}

void ZoneLayout::Map(Size picture, Size video)
{
    m_picture = picture;
    m_video = video;
    if (!Shown())
        return;
    for (Zone& z : m_zones) {
        if (!z.drawn)
            z.picture = ToPicture(z.video);
    }
}

Rect ZoneLayout::ToPicture(const Rect& v) const
{
    Rect p{Scale(v.left, m_picture.cx, m_video.cx), Scale(v.top, m_picture.cy, m_video.cy),
           Scale(v.right, m_picture.cx, m_video.cx), Scale(v.bottom, m_picture.cy, m_video.cy)};
    p.left = std::max(p.left, 0);
    p.top = std::max(p.top, 0);
    p.right = std::min(p.right, m_picture.cx);
    p.bottom = std::min(p.bottom, m_picture.cy);
    return p;
}

Rect ZoneLayout::ToVideo(const Rect& p) const
{
    Rect v;
    v.left = p.left < kSnap ? 0 : Scale(p.left, m_video.cx, m_picture.cx);
    v.top = p.top < kSnap ? 0 : Scale(p.top, m_video.cy, m_picture.cy);
    v.right = m_picture.cx - p.right < kSnap ? m_video.cx : Scale(p.right, m_video.cx, m_picture.cx);
    v.bottom = m_picture.cy - p.bottom < kSnap ? m_video.cy : Scale(p.bottom, m_video.cy, m_picture.cy);
    return v;
}

std::vector<Rect> ZoneLayout::VideoZones() const
{
    std::vector<Rect> out;
    for (const Zone& z : m_zones)
        out.push_back(z.drawn && Shown() ? ToVideo(z.picture) : z.video);
    return out;
}

bool ZoneLayout::InsidePicture(int x, int y) const
{
    return Shown() && x >= 0 && y >= 0 && x < m_picture.cx && y < m_picture.cy;
}

bool ZoneLayout::PressRefusedWhenFull(int x, int y) const
{
    if (!Full())
        return false;
    return std::none_of(m_zones.begin(), m_zones.end(), [&](const Zone& z) { return z.picture.Contains(x, y); });
}

bool ZoneLayout::Press(int x, int y)
{
    if (!InsidePicture(x, y) || PressRefusedWhenFull(x, y))
        return false;
    m_pressX = x;
    m_pressY = y;
    m_pressed = true;
    m_drawing = false;
    return true;
}

bool ZoneLayout::Move(int x, int y)
{
    if (!m_pressed || !InsidePicture(x, y) || Full())
        return false;
    m_rubber = {m_pressX, m_pressY, x, y};
    if (m_rubber.Width() > kMinDrag && m_rubber.Height() > kMinDrag) {
        m_drawing = true;
        return true;
    }
    return false;
}

bool ZoneLayout::Release(int x, int y)
{
    if (!m_pressed)
        return false;
    bool inside = InsidePicture(x, y);
    if (!m_drawing && inside) {
        std::vector<Zone*> hit;
        for (Zone& z : m_zones) {
            if (z.picture.Contains(x, y))
                hit.push_back(&z);
        }
        if (hit.size() == 1)
            hit[0]->selected = !hit[0]->selected;
        for (Zone* z : hit) {
            if (hit.size() > 1)
                z->selected = true;
        }
    } else if (m_drawing && inside && !Full()) {
        // Only a drag from top-left to bottom-right has a positive size.
        Rect r{m_pressX, m_pressY, x, y};
        if (r.Width() > kMinDrag && r.Height() > kMinDrag) {
            Zone z;
            z.picture = r;
            z.drawn = true;
            m_zones.push_back(z);
        }
    }
    m_pressed = false;
    m_drawing = false;
    return true;
}

void ZoneLayout::CancelPress()
{
    m_pressed = false;
    m_drawing = false;
}

void ZoneLayout::DeleteSelected()
{
    m_zones.erase(std::remove_if(m_zones.begin(), m_zones.end(), [](const Zone& z) { return z.selected; }),
                  m_zones.end());
    for (Zone& z : m_zones)
        z.selected = false;
}

void ZoneLayout::DeleteAll()
{
    m_zones.clear();
}

}  // namespace zones

namespace zones {

void BlendRect(uint32_t* pixels, int width, int height, const Rect& r, uint32_t rgb, int alpha)
{
    int x0 = std::max(r.left, 0), y0 = std::max(r.top, 0);
    int x1 = std::min(r.right, width - 1), y1 = std::min(r.bottom, height - 1);
    auto mix = [alpha](uint32_t p, uint32_t c, int shift) {
        uint32_t a = (p >> shift) & 0xff, b = (c >> shift) & 0xff;
        return ((a * static_cast<uint32_t>(255 - alpha) + b * static_cast<uint32_t>(alpha)) / 255) << shift;
    };
    for (int y = y0; y <= y1; ++y) {
        uint32_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = x0; x <= x1; ++x)
            row[x] = mix(row[x], rgb, 16) | mix(row[x], rgb, 8) | mix(row[x], rgb, 0);
    }
}

void FrameRect(uint32_t* pixels, int width, int height, const Rect& r, uint32_t rgb)
{
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = rgb;
    };
    for (int x = r.left; x <= r.right; ++x) {
        put(x, r.top);
        put(x, r.bottom);
    }
    for (int y = r.top; y <= r.bottom; ++y) {
        put(r.left, y);
        put(r.right, y);
    }
}

}  // namespace zones
