#pragma once
// The rectangles of the zone editors (motion zones, video shield) without a
// window: their mapping between video pixels and the picture on screen and
// what a press, a drag and a release of the left button do to them.
//
// Mapping multiplies before it divides, in 64 bits, and truncates. A zone
// that was not drawn in this run goes back to the camera with its video
// rectangle as it came: mapping it to the picture and back would move it a
// little at every OK. Plain values; any thread.

#include <cstdint>
#include <vector>

namespace zones {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const Rect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

struct Size {
    int cx = 0, cy = 0;
};

// The video size of a videomode; any mode not listed is 1280 x 720.
Size VideoSize(int videomode);

struct Zone {
    Rect video;          // as the camera has it (for zones not drawn here)
    Rect picture;        // on the picture, relative to its top-left
    bool drawn = false;  // drawn in this run: its video rectangle is mapped back
    bool selected = false;
};

// Edges within this many pixels of the picture's border snap to it on the
// way back to video pixels.
constexpr int kSnap = 5;
// A drag must be wider and higher than this to become a zone.
constexpr int kMinDrag = 10;

class ZoneLayout {
public:
    explicit ZoneLayout(int maxZones) : m_max(maxZones) {}

    // The camera's zones in video pixels (drops the picture mapping).
    void SetVideoZones(const std::vector<Rect>& video);
    // The picture's measured size and the video size; a picture of width or
    // height 0 counts as not shown and maps nothing.
    void Map(Size picture, Size video);
    bool Shown() const { return m_picture.cx > 0 && m_picture.cy > 0; }
    Size PictureSize() const { return m_picture; }

    // The zones in video pixels for the camera.
    std::vector<Rect> VideoZones() const;
    const std::vector<Zone>& Zones() const { return m_zones; }
    int Count() const { return static_cast<int>(m_zones.size()); }
    int Max() const { return m_max; }
    bool Full() const { return Count() >= m_max; }

    // Mouse, in picture pixels. Each returns true when the picture must be
    // painted again. Press returns false and does nothing when it is refused
    // (outside the picture, or the zones are full and it hits none).
    bool PressRefusedWhenFull(int x, int y) const;
    bool Press(int x, int y);
    bool Move(int x, int y);
    bool Release(int x, int y);
    bool Pressed() const { return m_pressed; }
    bool Drawing() const { return m_drawing; }
    // The rectangle being drawn (valid while Drawing()).
    Rect Rubber() const { return m_rubber; }
    // Ends a press without effect (capture lost, cancelled).
    void CancelPress();

    void DeleteSelected();
    void DeleteAll();
    bool InsidePicture(int x, int y) const;

private:
    Rect ToPicture(const Rect& video) const;
    Rect ToVideo(const Rect& picture) const;

    int m_max;
    std::vector<Zone> m_zones;
    Size m_picture, m_video;
    bool m_pressed = false, m_drawing = false;
    int m_pressX = 0, m_pressY = 0;
    Rect m_rubber;
};

}  // namespace zones

namespace zones {

// Blends a solid colour over the rectangle (edges included, cut to the
// bitmap) of a top-down 32-bit bitmap whose pixels are 0x00RRGGBB:
// each channel becomes (pixel * (255 - alpha) + colour * alpha) / 255.
void BlendRect(uint32_t* pixels, int width, int height, const Rect& r, uint32_t rgb, int alpha);
// A one-pixel frame along the rectangle's edges (included), cut the same way.
void FrameRect(uint32_t* pixels, int width, int height, const Rect& r, uint32_t rgb);

}  // namespace zones
