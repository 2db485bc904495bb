#pragma once
// An array of untyped pointers; it never owns what they point to.

#include "platform/base/CArray.h"

class CPtrArray : public CArray<void*, void*> {
public:
    using CArray<void*, void*>::CArray;
};
