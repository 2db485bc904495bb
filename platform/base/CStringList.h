#pragma once
// A list of CString walked with POSITION values.

#include "platform/base/CList.h"
#include "platform/base/CString.h"

class CStringList : public CList<CString, const CString&> {
public:
    using CList<CString, const CString&>::CList;
};
