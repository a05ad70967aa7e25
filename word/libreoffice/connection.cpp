#include "word/libreoffice/connection.h"

#include <csignal>
#include <thread>

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

namespace word::libreoffice {

namespace {

// The office's fundamental bootstrap file names the type libraries and the UNO runtime.
constexpr std::string_view kFundamentalIni = "vnd.sun.star.pathname:" QV_LIBREOFFICE_PROGRAM_DIR "/fundamentalrc";

}  // namespace

uno::Reference<uno::XComponentContext> localContext() {
    // The UNO runtime is per process: bootstrap it once and keep it for the process's life.
    static const uno::Reference<uno::XComponentContext> context = [] {
        // A write to an office that has just gone away must fail as an error of the call, not
        // end this program with SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
        rtl::Bootstrap::set(toOUString(std::string_view("URE_BOOTSTRAP")), toOUString(kFundamentalIni));
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

std::string acceptArgument(std::string_view pipeName) {
    return "--accept=pipe,name=" + std::string(pipeName) + ";urp;StarOffice.ComponentContext";
}

uno::Reference<uno::XComponentContext> resolvePipe(std::string_view pipeName) {
    auto resolver = ::com::sun::star::bridge::UnoUrlResolver::create(localContext());
    const std::string url = "uno:pipe,name=" + std::string(pipeName) + ";urp;StarOffice.ComponentContext";
    uno::Reference<uno::XComponentContext> remote(resolver->resolve(toOUString(url)), uno::UNO_QUERY_THROW);
    return remote;
}

uno::Reference<uno::XComponentContext> resolvePipeWithRetries(std::string_view pipeName,
                                                              std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        try {
            return resolvePipe(pipeName);
        } catch (const ::com::sun::star::connection::NoConnectException&) {
            if (std::chrono::steady_clock::now() >= deadline) throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

rtl::OUString toOUString(std::u16string_view text) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
}

rtl::OUString toOUString(std::string_view ascii) {
    return rtl::OStringToOUString(rtl::OString(ascii.data(), static_cast<sal_Int32>(ascii.size())),
                                  RTL_TEXTENCODING_UTF8);
}

std::u16string fromOUString(const rtl::OUString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.getStr()), static_cast<std::size_t>(text.getLength()));
}

std::string toUtf8(const rtl::OUString& text) {
    const rtl::OString utf8 = rtl::OUStringToOString(text, RTL_TEXTENCODING_UTF8);
    return std::string(utf8.getStr(), static_cast<std::size_t>(utf8.getLength()));
}

}  // namespace word::libreoffice
