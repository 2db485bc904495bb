#pragma once
// GDI object wrappers. A wrapper owns the handle it holds: its destructor
// deletes the object unless it was detached first. Wrappers from FromHandle
// are temporary and own nothing. Thread: the one that uses the object.

#include "platform/base/base.h"
#include "platform/gdi/wingdi.h"

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }  // NOLINT: the classic implicit conversion
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int nIndex);
    // A wrapper for a handle given to a handler; lives until the GUI thread
    // goes back to its message loop. Null for a null handle.
    static CGdiObject* FromHandle(HGDIOBJ hObject);
};

#include "platform/gdi/CFont.h"
