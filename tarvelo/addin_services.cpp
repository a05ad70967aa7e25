#include "tarvelo/addin_services.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <utility>

#include "tarvelo/addin_error.h"
#include "word/word.h"

namespace mTarvelo {

namespace {

// The services of the loaded add-in: one set for the library, like the rest of its module state.
AddinServices& Installed() {
    static AddinServices services;
    return services;
}

}  // namespace

void SetServices(AddinServices services) { Installed() = std::move(services); }

bool HasServices() { return Installed().data && Installed().host; }

AddinData& Data() {
    if (!Installed().data) throw AddinError(91, "Object variable or With block variable not set");
    return *Installed().data;
}

AddinHost& Host() {
    if (!Installed().host) throw AddinError(91, "Object variable or With block variable not set");
    return *Installed().host;
}

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
    else
        separators.group = separators.decimal == u'.' ? u',' : u'.';
    ::freelocale(locale);
    return separators;
}

ErrorInfo DescribeError(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const AddinError& e) {
        return {e.Number(), e.Description()};
    } catch (const word::Error& e) {
        return {ErrAutomation, e.what()};
    } catch (const std::exception& e) {
        return {ErrAutomation, e.what()};
    } catch (...) {
        return {ErrAutomation, "Automation error"};
    }
}

std::string ProcedureErrorText(const ErrorInfo& info, std::string_view procedure,
                               std::string_view owner) {
    return "Error " + std::to_string(info.number) + " (" + info.description + ") in procedure " +
           std::string(procedure) + " of " + std::string(owner);
}

}  // namespace mTarvelo
