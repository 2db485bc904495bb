#pragma once
// The tooltip of the recorder's bitmap buttons. It lives in a namespace of
// its own: the user-interface library exports a tooltip class of the same
// name, and the two must not take each other's place in one process.
//
// GUI thread.

#include "platform/platform.h"

namespace vxkst {

class CMyToolTipCtrl : public CToolTipCtrl {
public:
    CMyToolTipCtrl() = default;
    ~CMyToolTipCtrl() override;

protected:
    DECLARE_MESSAGE_MAP()
};

}  // namespace vxkst
