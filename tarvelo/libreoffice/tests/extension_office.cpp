#include "tarvelo/libreoffice/tests/extension_office.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleAction.hpp>
#include <com/sun/star/accessibility/XAccessibleEditableText.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XExtendedToolkit.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XDispatchResultListener.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/util/URL.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include "word/libreoffice/connection.h"

namespace tarvelo::testing {

namespace css = ::com::sun::star;
using rtl::OUString;
using word::libreoffice::fromOUString;
using word::libreoffice::toOUString;

namespace {

std::filesystem::path MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvelo-ext-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

// Runs unopkg in a process group of its own and waits for it (at most two minutes).
void RunUnopkg(const std::vector<std::string>& args, const std::filesystem::path& pidFile) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::setpgid(0, 0);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid);
    if (!pidFile.empty()) std::ofstream(pidFile) << pid << '\n';
    // Waits without collecting it: until it is collected its pid still names its group, so that
    // the group's end below reaches no process that got the same number later.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    bool done = false;
    for (;;) {
        siginfo_t info{};
        done = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
        if (done || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(-pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::error_code ignored;
    if (!pidFile.empty()) std::filesystem::remove(pidFile, ignored);
    if (!done) throw std::runtime_error("unopkg did not finish");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("unopkg could not install the extension");
}

uno::Reference<css::frame::XFrame> FrameOf(const uno::Reference<css::text::XTextDocument>& document) {
    uno::Reference<css::frame::XModel> model(document, uno::UNO_QUERY_THROW);
    return model->getCurrentController()->getFrame();
}

class ResultListener : public cppu::WeakImplHelper1<css::frame::XDispatchResultListener> {
public:
    void SAL_CALL dispatchFinished(const css::frame::DispatchResultEvent& result) override {
        std::lock_guard lock(mutex_);
        success_ = result.State == css::frame::DispatchResultState::SUCCESS;
        finished_ = true;
        done_.notify_all();
    }
    void SAL_CALL disposing(const css::lang::EventObject&) override {}
    bool Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        done_.wait_for(lock, timeout, [this] { return finished_; });
        return finished_ && success_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false, success_ = false;
};

}  // namespace

std::filesystem::path BuiltOxt() {
#ifdef TARVELO_OXT_PATH
    return TARVELO_OXT_PATH;
#else
    throw std::runtime_error("no Tarvelo.oxt path was compiled in");
#endif
}

ExtensionOffice::ExtensionOffice(ExtensionOfficeOptions options) : sharedDir_(MakeTempDir()) {
    try {
        const std::string sharedEnv = "-env:UNO_SHARED_PACKAGES_CACHE=file://" + sharedDir_.string();
        std::filesystem::path pidFile;
        if (const char* dir = std::getenv("QV_TEST_PIDDIR"); dir && *dir)
            pidFile = std::filesystem::path(dir) / ("unopkg-" + sharedDir_.filename().string() + ".pid");
        const auto oxt = options.oxtPath.empty() ? BuiltOxt() : options.oxtPath;
        if (options.installed)
            RunUnopkg({std::string(QV_UNOPKG), "add", "--shared", "--suppress-license", sharedEnv,
                       "-env:UserInstallation=file://" + (sharedDir_ / "unopkg-profile").string(), oxt.string()},
                      pidFile);
        options.office.extraArgs.push_back(sharedEnv);
        office_ = std::make_unique<word::testing::Office>(options.office);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(sharedDir_, ignored);
        throw;
    }
}

ExtensionOffice::~ExtensionOffice() {
    office_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(sharedDir_, ignored);
}

std::filesystem::path ExtensionOffice::extensionFolder() const {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sharedDir_ / "uno_packages", ignored))
        if (entry.path().filename() == "Tarvelo.oxt" && entry.is_directory()) return entry.path();
    return {};
}

std::vector<MenuEntry> QuranMenus(const uno::Reference<css::text::XTextDocument>& document) {
    std::vector<MenuEntry> menus;
    for (auto& entry : word::testing::menuBar(document))
        if (entry.command.starts_with(u"vnd.quranverses.menu:")) menus.push_back(std::move(entry));
    return menus;
}

bool WaitForQuranMenus(const uno::Reference<css::text::XTextDocument>& document, std::size_t count,
                       std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (QuranMenus(document).size() == count) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool Dispatch(const uno::Reference<css::text::XTextDocument>& document, std::u16string_view command, bool wait,
              std::chrono::milliseconds timeout) {
    uno::Reference<css::frame::XDispatchProvider> provider(FrameOf(document), uno::UNO_QUERY_THROW);
    css::util::URL url;
    url.Complete = toOUString(command);
    const auto colon = command.find(u':');
    url.Protocol = toOUString(command.substr(0, colon + 1));
    url.Path = toOUString(command.substr(colon + 1));
    url.Main = url.Complete;
    auto dispatch = provider->queryDispatch(url, "_self", 0);
    if (!dispatch.is()) return false;
    uno::Reference<css::frame::XNotifyingDispatch> notifying(dispatch, uno::UNO_QUERY);
    if (!wait || !notifying.is()) {
        dispatch->dispatch(url, {});
        return true;
    }
    rtl::Reference<ResultListener> listener(new ResultListener);
    notifying->dispatchWithNotification(url, {}, listener.get());
    return listener->Wait(timeout);
}

// The office's top-level windows (dialogs included) as accessible objects. The toolkit's list of top windows
// is marked as outdated, but the office has no other list that holds dialogs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::vector<AccessibleContext> TopWindows(const uno::Reference<uno::XComponentContext>& context) {
    uno::Reference<css::awt::XExtendedToolkit> toolkit(css::awt::Toolkit::create(context), uno::UNO_QUERY_THROW);
    std::vector<AccessibleContext> windows;
    for (sal_Int32 i = 0; i < toolkit->getTopWindowCount(); ++i) {
        uno::Reference<css::accessibility::XAccessible> accessible(toolkit->getTopWindow(i), uno::UNO_QUERY);
        try {
            if (!accessible.is()) continue;
            // Read once: a window that is closing may answer differently the next time.
            if (auto context = accessible->getAccessibleContext(); context.is()) windows.push_back(context);
        } catch (const css::lang::DisposedException&) {
        }
    }
    return windows;
}
#pragma GCC diagnostic pop

AccessibleContext TopWindow(const uno::Reference<uno::XComponentContext>& context, std::u16string_view title) {
    for (const auto& window : TopWindows(context)) {
        try {
            if (fromOUString(window->getAccessibleName()).find(title) != std::u16string::npos) return window;
        } catch (const css::lang::DisposedException&) {
            // a window closing meanwhile
        }
    }
    return {};
}

std::vector<std::u16string> TopWindowTitles(const uno::Reference<uno::XComponentContext>& context) {
    std::vector<std::u16string> titles;
    for (const auto& window : TopWindows(context)) {
        try {
            titles.push_back(fromOUString(window->getAccessibleName()));
        } catch (const css::lang::DisposedException&) {
        }
    }
    return titles;
}

// The control of `role` named `name` below `parent`, searched depth first.
AccessibleContext FindControl(const AccessibleContext& parent, sal_Int16 role, std::u16string_view name) {
    if (!parent.is()) return {};
    for (sal_Int32 i = 0; i < parent->getAccessibleChildCount(); ++i) {
        auto child = parent->getAccessibleChild(i);
        if (!child.is()) continue;
        auto context = child->getAccessibleContext();  // read once, as above
        if (!context.is()) continue;
        if (context->getAccessibleRole() == role && fromOUString(context->getAccessibleName()) == name) return context;
        if (auto found = FindControl(context, role, name); found.is()) return found;
    }
    return {};
}

// Every control of `role` below `parent`, in the order of the dialog's controls.
void FindAll(const AccessibleContext& parent, sal_Int16 role, std::vector<AccessibleContext>& found) {
    if (!parent.is()) return;
    for (sal_Int32 i = 0; i < parent->getAccessibleChildCount(); ++i) {
        auto child = parent->getAccessibleChild(i);
        auto context = child.is() ? child->getAccessibleContext() : AccessibleContext();
        if (!context.is()) continue;
        if (context->getAccessibleRole() == role) found.push_back(context);
        else FindAll(context, role, found);
    }
}

// Types `text` into the edit field of a combo box (no item is chosen by that).
void SetComboText(const AccessibleContext& combo, std::u16string_view text) {
    std::vector<AccessibleContext> edits;
    FindAll(combo, css::accessibility::AccessibleRole::TEXT, edits);
    if (edits.empty()) throw std::runtime_error("the combo box has no edit field");
    uno::Reference<css::accessibility::XAccessibleEditableText> edit(edits.front(), uno::UNO_QUERY_THROW);
    edit->setText(word::libreoffice::toOUString(text));
}

// Presses a button or a check box as a click does.
void Press(const AccessibleContext& control) {
    uno::Reference<css::accessibility::XAccessibleAction> action(control, uno::UNO_QUERY_THROW);
    action->doAccessibleAction(0);
}

bool WaitForTopWindow(const uno::Reference<uno::XComponentContext>& context, std::u16string_view title) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& t : TopWindowTitles(context))
            if (t.find(title) != std::u16string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace tarvelo::testing
