#pragma once
// Switches the test process to a German locale, whose decimal separator is
// the comma, to show that settings are written and read the same under any
// locale. Build machines often have no generated locales, so one is built
// with localedef into a private folder when the system lacks it.

#include "support/TempDir.h"

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace vxtest {

class GermanLocale {
public:
    // True when LC_ALL now is a locale with a decimal comma.
    bool Use()
    {
        if (TrySet())
            return true;
        if (m_dir.empty()) {
            m_tmp = std::make_unique<TempDir>("vx-locale");
            if (!m_tmp->ok())
                return false;
            m_dir = m_tmp->path();
            std::string cmd = "localedef -i de_DE -f UTF-8 '" + m_dir + "/de_DE.UTF-8' >/dev/null 2>&1";
            if (system(cmd.c_str()) != 0)
                return false;
            setenv("LOCPATH", m_dir.c_str(), 1);
        }
        return TrySet();
    }

    ~GermanLocale() { setlocale(LC_ALL, "C"); }

private:
    static bool TrySet()
    {
        if (!setlocale(LC_ALL, "de_DE.UTF-8"))
            return false;
        const lconv* lc = localeconv();
        return lc && lc->decimal_point && lc->decimal_point[0] == ',';
    }

    std::unique_ptr<TempDir> m_tmp;
    std::string m_dir;
};

}  // namespace vxtest
