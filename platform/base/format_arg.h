#pragma once
// Arguments for printf-style members: a CString or std::string passed where
// the format expects "%s" is handed over as its text pointer, so no object
// is ever pushed through "...". Everything else passes unchanged.

#include <string>
#include <type_traits>

class CString;

namespace vxbase {

template <typename T>
decltype(auto) FormatArg(const T& value)
{
    if constexpr (std::is_same_v<T, CString>)
        return value.GetString();
    else if constexpr (std::is_same_v<T, std::string>)
        return value.c_str();
    else
        return (value);
}

// True when the format holds a "%n" conversion (one that writes through a
// pointer argument). The Windows run-time refuses those, and so do our
// printf-style members: a format that came from outside must never write.
bool FormatWritesMemory(const char* pszFormat);

}  // namespace vxbase
