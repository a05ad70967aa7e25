// A busy Word. While one of Word's dialogs is open (Font, Save As, a message box) Word refuses calls
// from other programs: its message filter answers "retry later", and a caller without a filter of
// its own sees RPC_E_CALL_REJECTED. A caller from another process waits for it in two ways that
// share one limit: the message filter of its apartment has COM retry a refused call after a short
// delay, and the backend tries a call again that still comes back refused (Wine's COM never asks
// the caller's filter; a filter may also give up early).
#pragma once

#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "word/com/com_support.h"

namespace word::com {

// How long a call refused by a busy Word is tried again before the caller hears that Word is busy.
inline constexpr std::chrono::milliseconds kBusyLimit{10'000};
// The pause before a refused call is tried again.
inline constexpr std::chrono::milliseconds kBusyRetryDelay{250};

// Word refused the call for now (RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_RETRYLATER).
bool meansBusy(HRESULT hr);

// Waits until `until`, running `whileWaiting` (when given) every few milliseconds.
void waitBeforeRetry(std::chrono::steady_clock::time_point until, const std::function<void()>& whileWaiting);

// Runs `call` (returning an HRESULT) until Word takes it or kBusyLimit has passed since the first
// try; the last HRESULT is returned. A call that COM itself retried counts with its time.
template <typename Call>
HRESULT retryWhileBusy(Call&& call, const std::function<void()>& whileWaiting) {
    const auto deadline = std::chrono::steady_clock::now() + kBusyLimit;
    for (;;) {
        const HRESULT hr = call();
        if (!meansBusy(hr)) return hr;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return hr;
        waitBeforeRetry(std::min(now + kBusyRetryDelay, deadline), whileWaiting);
    }
}

// While it lives, the message filter of the calling thread's apartment (a single-threaded one):
// COM retries a call that Word refuses after kBusyRetryDelay until kBusyLimit has passed since the
// call was made; meanwhile only painting is dispatched, no input. The earlier filter comes back at
// destruction.
class BusyMessageFilter {
public:
    BusyMessageFilter();
    BusyMessageFilter(const BusyMessageFilter&) = delete;
    BusyMessageFilter& operator=(const BusyMessageFilter&) = delete;
    ~BusyMessageFilter();

private:
    ComPtr<IMessageFilter> filter_;
    ComPtr<IMessageFilter> previous_;
    bool registered_ = false;
};

}  // namespace word::com
