#include "platform/base/clocale_p.h"

namespace vxbase {

locale_t CLocale()
{
    // Made once, never freed: threads may use it until the process ends.
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc ? loc : LC_GLOBAL_LOCALE;
}

}  // namespace vxbase
