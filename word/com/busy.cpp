#include "word/com/busy.h"

namespace word::com {

namespace {

// How often the caller's hook runs while a retry waits.
constexpr std::chrono::milliseconds kPumpInterval{20};

class RetryingFilter final : public ComObject<IMessageFilter> {
public:
    // Calls into this apartment are not this filter's business.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    // Word answers "retry later" while a dialog of it is open: retried after a pause, up to the limit.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD) override {
        if (elapsedMs >= static_cast<DWORD>(kBusyLimit.count())) return static_cast<DWORD>(-1);
        return static_cast<DWORD>(kBusyRetryDelay.count());
    }
    // While a call waits, the window paints but takes no input (no second send can start).
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};

}  // namespace

bool meansBusy(HRESULT hr) { return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER; }

void waitBeforeRetry(std::chrono::steady_clock::time_point until, const std::function<void()>& whileWaiting) {
    for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now()) {
        if (whileWaiting) whileWaiting();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now);
        Sleep(static_cast<DWORD>(std::clamp(left, std::chrono::milliseconds(1), kPumpInterval).count()));
    }
}

BusyMessageFilter::BusyMessageFilter() : filter_(makeComObject<RetryingFilter>()) {
    registered_ = SUCCEEDED(CoRegisterMessageFilter(filter_.Get(), previous_.GetAddressOf()));
}

BusyMessageFilter::~BusyMessageFilter() {
    if (!registered_) return;
    ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previous_.Get(), ours.GetAddressOf());
}

}  // namespace word::com
