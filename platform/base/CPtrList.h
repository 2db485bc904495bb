#pragma once
// A list of untyped pointers; it never owns what they point to.

#include "platform/base/CList.h"

class CPtrList : public CList<void*, void*> {
public:
    using CList<void*, void*>::CList;
};
