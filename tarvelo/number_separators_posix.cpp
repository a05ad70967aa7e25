// The user's number separators on Linux: the locale the environment names, as the C library
// knows it.
#include <langinfo.h>
#include <locale.h>

#include <cstring>

#include "tarvelo/addin_services.h"

namespace mTarvelo {

NumberSeparators EnvironmentNumberSeparators() {
    NumberSeparators separators;
    const locale_t locale = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return separators;
    // Single-byte separators only; a group separator of several bytes (a narrow no-break space)
    // or none is taken as the one not used for decimals.
    const char* decimal = ::nl_langinfo_l(RADIXCHAR, locale);
    if (decimal && std::strlen(decimal) == 1) separators.decimal = static_cast<unsigned char>(decimal[0]);
    const char* group = ::nl_langinfo_l(THOUSEP, locale);
    if (group && std::strlen(group) == 1 && static_cast<unsigned char>(group[0]) != separators.decimal)
        separators.group = static_cast<unsigned char>(group[0]);
    else separators.group = separators.decimal == u'.' ? u',' : u'.';
    ::freelocale(locale);
    return separators;
}

}  // namespace mTarvelo
