#pragma once
// GDI object wrappers. Only the handle and the font wrapper that windows pass
// around so far; creating and drawing with them comes with the drawing layer.

#include "platform/base/base.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
    // A wrapper for a handle, kept until the GUI thread is idle again.
    static CFont* FromHandle(HFONT hFont);
};
