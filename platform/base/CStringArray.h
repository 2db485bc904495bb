#pragma once
// An array of CString: accepts text pointers, CStrings and std::strings.

#include "platform/base/CArray.h"
#include "platform/base/CString.h"

class CStringArray : public CArray<CString, const CString&> {
public:
    using CArray<CString, const CString&>::CArray;
};
