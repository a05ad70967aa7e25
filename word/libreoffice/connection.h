// Reaching an office in another process over a named pipe, and the string conversions that every
// part of the backend needs.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

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

// Attempts until the office answers or `timeout` has passed; then rethrows the last failure.
uno::Reference<uno::XComponentContext> resolvePipeWithRetries(std::string_view pipeName,
                                                              std::chrono::milliseconds timeout);

rtl::OUString toOUString(std::u16string_view text);
rtl::OUString toOUString(std::string_view ascii);
std::u16string fromOUString(const rtl::OUString& text);
// UTF-8 of an office message, for word::Error texts.
std::string toUtf8(const rtl::OUString& text);

}  // namespace word::libreoffice
