#include "tarvelo/libreoffice/testing/extension_office.h"

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

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XDispatchResultListener.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/ui/XUIElementSettings.hpp>
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
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ::kill(-pid, SIGKILL);
    if (done == 0) ::waitpid(pid, &status, 0);
    std::error_code ignored;
    if (!pidFile.empty()) std::filesystem::remove(pidFile, ignored);
    if (done == 0) throw std::runtime_error("unopkg did not finish");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("unopkg could not install the extension");
}

uno::Reference<css::frame::XFrame> FrameOf(
    const uno::Reference<css::text::XTextDocument>& document) {
    uno::Reference<css::frame::XModel> model(document, uno::UNO_QUERY_THROW);
    return model->getCurrentController()->getFrame();
}

MenuEntry ReadEntry(const uno::Sequence<css::beans::PropertyValue>& item) {
    MenuEntry entry;
    for (const auto& p : item) {
        OUString text;
        if (p.Name == "Label" && (p.Value >>= text)) entry.label = fromOUString(text);
        if (p.Name == "CommandURL" && (p.Value >>= text)) entry.command = fromOUString(text);
        uno::Reference<css::container::XIndexAccess> children;
        if (p.Name == "ItemDescriptorContainer" && (p.Value >>= children) && children.is()) {
            for (sal_Int32 i = 0; i < children->getCount(); ++i) {
                uno::Sequence<css::beans::PropertyValue> child;
                children->getByIndex(i) >>= child;
                entry.items.push_back(ReadEntry(child));
            }
        }
    }
    return entry;
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
        RunUnopkg({std::string(QV_UNOPKG), "add", "--shared", "--suppress-license", sharedEnv,
                   "-env:UserInstallation=file://" + (sharedDir_ / "unopkg-profile").string(),
                   oxt.string()},
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
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(sharedDir_ / "uno_packages", ignored))
        if (entry.path().filename() == "Tarvelo.oxt" && entry.is_directory()) return entry.path();
    return {};
}

std::vector<MenuEntry> QuranMenus(const uno::Reference<css::text::XTextDocument>& document) {
    uno::Reference<css::beans::XPropertySet> frame(FrameOf(document), uno::UNO_QUERY_THROW);
    uno::Reference<css::frame::XLayoutManager> layout;
    frame->getPropertyValue("LayoutManager") >>= layout;
    std::vector<MenuEntry> menus;
    if (!layout.is()) return menus;
    uno::Reference<css::ui::XUIElementSettings> bar(
        layout->getElement("private:resource/menubar/menubar"), uno::UNO_QUERY);
    if (!bar.is()) return menus;
    auto settings = bar->getSettings(false);
    for (sal_Int32 i = 0; i < settings->getCount(); ++i) {
        uno::Sequence<css::beans::PropertyValue> item;
        settings->getByIndex(i) >>= item;
        auto entry = ReadEntry(item);
        if (entry.command.starts_with(u"vnd.quranverses.menu:")) menus.push_back(std::move(entry));
    }
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

bool Dispatch(const uno::Reference<css::text::XTextDocument>& document, std::u16string_view command,
              bool wait, std::chrono::milliseconds timeout) {
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

}  // namespace tarvelo::testing
