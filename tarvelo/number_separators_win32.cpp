// The user's number separators on Windows: those of the user's locale in the regional settings.
#include <windows.h>

#include "tarvelo/addin_services.h"

namespace mTarvelo {

NumberSeparators EnvironmentNumberSeparators() {
    NumberSeparators separators;
    wchar_t decimal[8]{};
    wchar_t group[8]{};
    // Single-character separators only; a group separator of several characters or none is
    // taken as the one not used for decimals.
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8) == 2)
        separators.decimal = static_cast<char16_t>(decimal[0]);
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, group, 8) == 2 &&
        static_cast<char16_t>(group[0]) != separators.decimal)
        separators.group = static_cast<char16_t>(group[0]);
    else separators.group = separators.decimal == u'.' ? u',' : u'.';
    return separators;
}

}  // namespace mTarvelo
