#include "tarvelo/addin_services.h"

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

std::string ProcedureErrorText(const ErrorInfo& info, std::string_view procedure, std::string_view owner) {
    return "Error " + std::to_string(info.number) + " (" + info.description + ") in procedure " +
           std::string(procedure) + " of " + std::string(owner);
}

}  // namespace mTarvelo
