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

}  // namespace vxbase
