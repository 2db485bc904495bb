#include "ui/controls/CMyPicture.h"

#include "utility/vx_log.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

CMyPicture::CMyPicture()
    : m_pImage(nullptr), m_pRegion(nullptr), m_bHasAlpha(FALSE), m_bTransparent(FALSE),
      m_crColourKey(RGB(255, 255, 255))
{}

CMyPicture::~CMyPicture()
{
    ReleaseImage();
}

CMyPicture::CMyPicture(const CMyPicture& other) : CMyPicture()
{
    *this = other;
}

CMyPicture& CMyPicture::operator=(const CMyPicture& other)
{
    if (this == &other)
        return *this;
    ReleaseImage();
    m_strImagePath = other.m_strImagePath;
    m_pImage = other.m_pImage ? other.m_pImage->Clone() : nullptr;
    m_bHasAlpha = other.m_bHasAlpha;
    m_bTransparent = other.m_bTransparent;
    m_crColourKey = other.m_crColourKey;
    return *this;
}

void CMyPicture::ReleaseImage()
{
    delete m_pImage;
    m_pImage = nullptr;
    delete m_pRegion;
    m_pRegion = nullptr;
    m_nRegionWidth = m_nRegionHeight = 0;
    m_bHasAlpha = FALSE;
}

int CMyPicture::AdoptImage(Gdiplus::Image* image)
{
    // Undecodable data gives an object without pixels: no picture at all is
    // the honest result.
    if (!image || image->GetLastStatus() != Gdiplus::Ok) {
        delete image;
        return 0;
    }
    m_pImage = image;
    m_bHasAlpha = Gdiplus::IsAlphaPixelFormat(image->GetPixelFormat());
    return 1;
}

// The block is the stream's from here on: it is freed with the stream.
int CMyPicture::LoadFromGlobal(HGLOBAL block)
{
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream)) || !stream) {
        GlobalFree(block);
        return 0;
    }
    Gdiplus::Image* image = Gdiplus::Image::FromStream(stream);
    stream->Release();
    return AdoptImage(image);
}

namespace {

// Picture files beyond this are no pictures of a window.
constexpr off_t kMaxPictureFileBytes = 32 * 1024 * 1024;

// The bytes of a regular file of bounded size. Opened without waiting, so a
// FIFO or a device named like a picture never holds the GUI thread up.
HGLOBAL ReadPictureFile(const CString& path)
{
    std::string name = path.GetString();
    std::replace(name.begin(), name.end(), '\\', '/');  // as the file functions read it
    int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    HGLOBAL block = nullptr;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        vx_log(VX_LOG_WARN, "CMyPicture::SetImage: not a regular file: %s", name.c_str());
    } else if (st.st_size <= 0 || st.st_size > kMaxPictureFileBytes) {
        vx_log(VX_LOG_WARN, "CMyPicture::SetImage: %s has %lld bytes (at most %lld)", name.c_str(),
               static_cast<long long>(st.st_size), static_cast<long long>(kMaxPictureFileBytes));
    } else if ((block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, static_cast<SIZE_T>(st.st_size)))) {
        auto* bytes = static_cast<char*>(GlobalLock(block));
        size_t got = 0;
        const auto want = static_cast<size_t>(st.st_size);
        while (bytes && got < want) {
            ssize_t n = ::read(fd, bytes + got, want - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        GlobalUnlock(block);
        if (!bytes || got != want) {
            vx_log(VX_LOG_WARN, "CMyPicture::SetImage: cannot read %s", name.c_str());
            GlobalFree(block);
            block = nullptr;
        }
    }
    ::close(fd);
    return block;
}

}  // namespace

int CMyPicture::SetImage(CString path)
{
    ReleaseImage();
    m_strImagePath = path;
    if (path.IsEmpty())
        return 0;
    HGLOBAL block = ReadPictureFile(path);
    return block ? LoadFromGlobal(block) : 0;
}

int CMyPicture::SetImage(CString path, BOOL transparent, COLORREF key)
{
    if (!SetImage(path))
        return 0;
    SetTransparent(transparent, key);
    return 1;
}

int CMyPicture::SetImage(UINT id, const char* type)
{
    ReleaseImage();
    if (id == 0 || !type)
        return 0;
    if (type == RT_BITMAP) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_BITMAP);
        // A missing bitmap is a failure, not an empty picture.
        HBITMAP bitmap = module ? ::LoadBitmap(module, MAKEINTRESOURCE(id)) : nullptr;
        if (!bitmap)
            return 0;
        Gdiplus::Bitmap* image = Gdiplus::Bitmap::FromHBITMAP(bitmap, nullptr);
        ::DeleteObject(bitmap);
        if (!AdoptImage(image))
            return 0;
        m_bHasAlpha = FALSE;
        return 1;
    }
    HRSRC res = ::FindResource(nullptr, MAKEINTRESOURCE(id), type);
    HGLOBAL data = res ? ::LoadResource(nullptr, res) : nullptr;
    DWORD size = res ? ::SizeofResource(nullptr, res) : 0;
    const void* bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes || size == 0)
        return 0;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size);
    if (!block)
        return 0;
    void* copy = GlobalLock(block);
    if (!copy) {
        GlobalFree(block);
        return 0;
    }
    std::memcpy(copy, bytes, size);
    GlobalUnlock(block);
    return LoadFromGlobal(block);
}

int CMyPicture::SetImage(UINT id, const char* type, BOOL transparent, COLORREF key)
{
    if (!SetImage(id, type))
        return 0;
    SetTransparent(transparent, key);
    return 1;
}

void CMyPicture::SetTransparent(BOOL transparent, COLORREF key)
{
    if (m_bTransparent != transparent || m_crColourKey != key) {
        // The region depends on the key.
        delete m_pRegion;
        m_pRegion = nullptr;
    }
    m_bTransparent = transparent;
    m_crColourKey = key;
}

void CMyPicture::DrawImage(HDC hdc, int x, int y, int w, int h)
{
    DrawImage(hdc, x, y, w, h, 0, 0, GetWidth(), GetHeight());
}

void CMyPicture::DrawImage(HDC hdc, int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH)
{
    if (!m_pImage || !hdc)
        return;
    Gdiplus::Graphics g(hdc);
    Gdiplus::Rect dest(x, y, w, h);
    if (m_bHasAlpha || !m_bTransparent) {
        g.DrawImage(m_pImage, dest, srcX, srcY, srcW, srcH, Gdiplus::UnitPixel);
        return;
    }
    Gdiplus::ImageAttributes attributes;
    Gdiplus::Color key(255, GetRValue(m_crColourKey), GetGValue(m_crColourKey), GetBValue(m_crColourKey));
    attributes.SetColorKey(key, key);
    g.DrawImage(m_pImage, dest, srcX, srcY, srcW, srcH, Gdiplus::UnitPixel, &attributes);
}

int CMyPicture::GetWidth()
{
    return m_pImage ? static_cast<int>(m_pImage->GetWidth()) : 0;
}

int CMyPicture::GetHeight()
{
    return m_pImage ? static_cast<int>(m_pImage->GetHeight()) : 0;
}

BOOL CMyPicture::HasImage()
{
    return m_pImage ? TRUE : FALSE;
}

Gdiplus::Image* CMyPicture::GetImage()
{
    return m_pImage;
}

// One rectangle per run of included pixels in a row: the same region as one
// per pixel with far fewer rectangles.
Gdiplus::Region* CMyPicture::BuildRegion(int w, int h) const
{
    Gdiplus::Bitmap canvas(w, h, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&canvas);
        g.Clear(Gdiplus::Color(0, 0, 0, 0));
        g.DrawImage(m_pImage, Gdiplus::Rect(0, 0, w, h), 0, 0, static_cast<INT>(m_pImage->GetWidth()),
                    static_cast<INT>(m_pImage->GetHeight()), Gdiplus::UnitPixel);
    }
    auto included = [&](int x, int y) {
        Gdiplus::Color c;
        canvas.GetPixel(x, y, &c);
        if (m_bHasAlpha)
            return c.GetA() != 0;
        if (!m_bTransparent)
            return true;
        return RGB(c.GetR(), c.GetG(), c.GetB()) != m_crColourKey;
    };
    std::vector<Gdiplus::Rect> runs;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            while (x < w && !included(x, y))
                ++x;
            int start = x;
            while (x < w && included(x, y))
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    Gdiplus::GraphicsPath path;
    if (!runs.empty())
        path.AddRectangles(runs.data(), static_cast<INT>(runs.size()));
    return new Gdiplus::Region(&path);
}

HRGN CMyPicture::GetRgn(HDC hdc, int w, int h)
{
    if (!m_pImage || w <= 0 || h <= 0)
        return nullptr;
    // A region is for one size: another size gets its own.
    if (!m_pRegion || m_nRegionWidth != w || m_nRegionHeight != h) {
        delete m_pRegion;
        m_pRegion = BuildRegion(w, h);
        m_nRegionWidth = w;
        m_nRegionHeight = h;
    }
    Gdiplus::Graphics g(hdc);
    return m_pRegion->GetHRGN(&g);
}
