// Reaching the office: in another process over a named pipe, with the one retry loop for an office
// that does not answer yet, or inside the office's own process; and the string conversions that
// every part of the backend needs.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include "word/libreoffice/libreoffice.h"
#include "word/libreoffice/office_refs.h"

namespace word::libreoffice {

namespace uno = ::com::sun::star::uno;

// The UNO runtime of this process, bootstrapped once with the office's type libraries (a client
// that talks to an office over a pipe needs them before its first call).
uno::Reference<uno::XComponentContext> localContext();

// The command-line argument that makes an office accept connections on `pipeName`.
std::string acceptArgument(std::string_view pipeName);

// One attempt to reach the office that accepts on `pipeName`; throws a UNO exception
// (NoConnectException) when nothing answers.
uno::Reference<uno::XComponentContext> resolvePipe(std::string_view pipeName);

// How connecting is tried again.
struct Retries {
    std::chrono::milliseconds timeout;
    // The wait between two attempts; empty: 50 ms of sleep.
    std::function<void()> pause;
    // Called the first time nothing answers (it may start the office); the timeout starts again
    // after it.
    std::function<void()> noAnswer;
};

// Runs `attempt` until it succeeds. While nothing answers on the pipe (NoConnectException) or a
// connection drops while it is being made (DisposedException, an office starting up or going
// away), it is tried again until the timeout has passed; then that failure is rethrown. Any other
// failure ends it at once.
void retryConnecting(const std::function<void()>& attempt, const Retries& retries);

// resolvePipe until the office answers or `timeout` has passed; then rethrows the last failure.
uno::Reference<uno::XComponentContext> resolvePipeWithRetries(std::string_view pipeName,
                                                              std::chrono::milliseconds timeout);

// How the application object reaches its office.
class Connection {
public:
    virtual ~Connection() = default;
    // The office, connecting first when needed. Throws word::Error.
    virtual OfficeRefs refs() = 0;
    // Forgets a connection that broke, so that the next refs() connects again.
    virtual void reset() {}
    virtual bool remote() const { return false; }
};

// An office in another process, reached over `options.pipeName` on first use and kept; when
// nothing answers, `options.launch` runs once and connecting is retried for a while. Throws
// word::Error for a pipe name that is not letters, digits and '_'.
std::unique_ptr<Connection> pipeConnection(PipeOptions options, LaunchOptions launching);

// The office this code runs in. Throws word::Error.
std::unique_ptr<Connection> inProcessConnection(const uno::Reference<uno::XComponentContext>& context);

rtl::OUString toOUString(std::u16string_view text);
rtl::OUString toOUString(std::string_view ascii);
std::u16string fromOUString(const rtl::OUString& text);
// UTF-8 of an office message, for word::Error texts.
std::string toUtf8(const rtl::OUString& text);

}  // namespace word::libreoffice
