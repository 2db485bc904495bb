#pragma once
// The C locale for number and date text. The GUI toolkit sets the process
// locale from the environment, which would make printf write "1,5" and
// strftime write local month names; the system's texts (settings, camera
// requests, file names) are always in the C form.

#include <clocale>
#include <locale.h>

namespace vxbase {

locale_t CLocale();

// Switches the calling thread to the C locale for its lifetime.
class ScopedCLocale {
public:
    ScopedCLocale() : m_old(uselocale(CLocale())) {}
    ~ScopedCLocale() { uselocale(m_old); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t m_old;
};

}  // namespace vxbase
