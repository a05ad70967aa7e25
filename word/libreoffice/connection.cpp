#include "word/libreoffice/connection.h"

#include <algorithm>
#include <csignal>
#include <thread>

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

namespace word::libreoffice {

namespace css = ::com::sun::star;

namespace {

// The office's fundamental bootstrap file names the type libraries and the UNO runtime.
constexpr std::string_view kFundamentalIni = "vnd.sun.star.pathname:" QV_LIBREOFFICE_PROGRAM_DIR "/fundamentalrc";

// The office's side and this side of a connection over `pipeName` name it alike.
std::string pipeConnectionText(std::string_view pipeName) {
    return "pipe,name=" + std::string(pipeName) + ";urp;StarOffice.ComponentContext";
}

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

std::string acceptArgument(std::string_view pipeName) { return "--accept=" + pipeConnectionText(pipeName); }

uno::Reference<uno::XComponentContext> resolvePipe(std::string_view pipeName) {
    auto resolver = css::bridge::UnoUrlResolver::create(localContext());
    const std::string url = "uno:" + pipeConnectionText(pipeName);
    uno::Reference<uno::XComponentContext> remote(resolver->resolve(toOUString(url)), uno::UNO_QUERY_THROW);
    return remote;
}

void retryConnecting(const std::function<void()>& attempt, const Retries& retries) {
    const auto now = [] { return std::chrono::steady_clock::now(); };
    auto deadline = now() + retries.timeout;
    bool noAnswerCalled = false;
    for (;;) {
        try {
            attempt();
            return;
        } catch (const css::connection::NoConnectException&) {
            if (retries.noAnswer && !noAnswerCalled) {
                noAnswerCalled = true;
                retries.noAnswer();
                deadline = now() + retries.timeout;
            } else if (now() >= deadline) {
                throw;
            }
        } catch (const css::lang::DisposedException&) {
            if (now() >= deadline) throw;
        }
        if (retries.pause) retries.pause();
        else std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

uno::Reference<uno::XComponentContext> resolvePipeWithRetries(std::string_view pipeName,
                                                              std::chrono::milliseconds timeout) {
    uno::Reference<uno::XComponentContext> context;
    retryConnecting([&] { context = resolvePipe(pipeName); }, {.timeout = timeout, .pause = {}, .noAnswer = {}});
    return context;
}

namespace {

class PipeConnection : public Connection {
public:
    PipeConnection(PipeOptions options, LaunchOptions launching)
        : options_(std::move(options)), launching_(std::move(launching)) {
        const bool valid =
            !options_.pipeName.empty() && std::all_of(options_.pipeName.begin(), options_.pipeName.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
            });
        if (!valid) throw word::Error("invalid pipe name: " + options_.pipeName);
    }

    OfficeRefs refs() override {
        if (!current_.context.is()) connect();
        return current_;
    }
    void reset() override { current_ = {}; }
    bool remote() const override { return true; }

private:
    void connect() {
        bool launched = false;
        const auto attempt = [&] {
            uno::Reference<uno::XComponentContext> context = resolvePipe(options_.pipeName);
            current_.desktop = css::frame::Desktop::create(context);
            current_.context = context;
            if (launched && launching_.newDocumentAfterLaunch) openTextDocumentIfNone(current_.desktop);
        };
        // Nothing answers: have the office accept on the pipe, then keep trying.
        const auto launch = [&] {
            launched = true;
            if (options_.launch) options_.launch(options_.pipeName);
        };
        try {
            retryConnecting(attempt, {options_.connectTimeout, [this] { pause(); }, launch});
        } catch (const css::uno::Exception& e) {
            current_ = {};
            throw word::Error("the word processor does not answer on pipe " + options_.pipeName + ": " +
                              toUtf8(e.Message));
        } catch (const cppu::BootstrapException& e) {
            current_ = {};
            throw word::Error("the UNO runtime cannot start: " + toUtf8(e.getMessage()));
        }
    }

    // Waits before the next attempt, letting the caller do its own waiting work.
    void pause() const {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        do {
            if (launching_.whileWaiting) launching_.whileWaiting();
            std::this_thread::sleep_for(std::chrono::milliseconds(launching_.whileWaiting ? 10 : 50));
        } while (std::chrono::steady_clock::now() < until);
    }

    static void openTextDocumentIfNone(const uno::Reference<css::frame::XDesktop2>& desktop) {
        auto components = desktop->getComponents()->createEnumeration();
        while (components->hasMoreElements()) {
            if (uno::Reference<css::text::XTextDocument>(components->nextElement(), uno::UNO_QUERY).is()) return;
        }
        // In the frame of the start centre, where there is one.
        desktop->loadComponentFromURL("private:factory/swriter", "_default", 0, {});
    }

    PipeOptions options_;
    LaunchOptions launching_;
    OfficeRefs current_;
};

class InProcessConnection : public Connection {
public:
    explicit InProcessConnection(const uno::Reference<uno::XComponentContext>& context) {
        refs_.context = context;
        try {
            refs_.desktop = css::frame::Desktop::create(context);
        } catch (const css::uno::Exception& e) {
            throw word::Error("Desktop: " + toUtf8(e.Message));
        }
    }
    OfficeRefs refs() override { return refs_; }

private:
    OfficeRefs refs_;
};

}  // namespace

std::unique_ptr<Connection> pipeConnection(PipeOptions options, LaunchOptions launching) {
    return std::make_unique<PipeConnection>(std::move(options), std::move(launching));
}

std::unique_ptr<Connection> inProcessConnection(const uno::Reference<uno::XComponentContext>& context) {
    return std::make_unique<InProcessConnection>(context);
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
