#pragma once
// Message maps: each class that declares one gets a static table of entries,
// searched from the most derived class up to its bases. Entries are built by
// the ON_ macros of platform/ui/afxmsg.h; each carries a small function that
// cracks the message parameters and calls the handler.

#include "platform/base/CObject.h"
#include "platform/ui/winuser.h"

class CCmdTarget;

// What a handler thunk gets besides the parameters.
struct AFX_DISPATCH {
    UINT message;
    UINT nID;          // control or command id (WM_COMMAND, WM_NOTIFY, ranges)
    UINT nCode;        // notification code
    LRESULT* pResult;  // WM_NOTIFY result slot
    BOOL bHandled;     // the _EX entries clear it to let the search go on
};

typedef LRESULT (*AFX_PMSG)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, AFX_DISPATCH& d);

// nSig holds the address of the id variable for registered messages.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Marks an entry whose message id is read through nSig at dispatch time.
#define VX_REGISTERED_MESSAGE_MARK 0xC000u

class CCmdTarget : public CObject {
public:
    DECLARE_DYNAMIC(CCmdTarget)

    // Finds the first entry for the message (and code/id) from this class up.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
    // Runs the WM_COMMAND entries for (code, id); TRUE when one handled it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    // The cursor shape for long work: CWaitCursor uses these.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                                          \
protected:                                                                                                             \
    static const AFX_MSGMAP* GetThisMessageMap();                                                                      \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                                         \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                                  \
    {                                                                                                                  \
        return GetThisMessageMap();                                                                                    \
    }                                                                                                                  \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                                    \
    {                                                                                                                  \
        using ThisClass [[maybe_unused]] = theClass;                                                                   \
        using TheBaseClass = baseClass;                                                                                \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                                              \
    {                                                                                                                  \
        0, 0, 0, 0, 0, nullptr                                                                                         \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};                      \
    return &messageMap;                                                                                                \
    }
