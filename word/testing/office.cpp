#include "word/testing/office.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/WritingMode2.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/ui/XUIElementSettings.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "word/libreoffice/connection.h"

extern char** environ;

namespace word::testing {

namespace css = ::com::sun::star;
using word::libreoffice::fromOUString;
using word::libreoffice::toOUString;

namespace {

// Process groups of the offices this binary started, for the fatal-signal handler (which may only
// read plain atomics).
constexpr std::size_t kMaxOffices = 32;
std::array<std::atomic<pid_t>, kMaxOffices> liveGroups{};

void killLiveGroups() {
    for (auto& group : liveGroups) {
        const pid_t pid = group.load();
        if (pid > 0) ::kill(-pid, SIGKILL);
    }
}

extern "C" void onFatalSignal(int signo) {
    killLiveGroups();
    ::signal(signo, SIG_DFL);
    ::raise(signo);
}

void installCrashCleanup() {
    static const bool installed = [] {
        for (int signo : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL, SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction action {};
            action.sa_handler = onFatalSignal;
            sigemptyset(&action.sa_mask);
            ::sigaction(signo, &action, nullptr);
        }
        return true;
    }();
    (void)installed;
}

void registerGroup(pid_t pid) {
    for (auto& group : liveGroups) {
        pid_t empty = 0;
        if (group.compare_exchange_strong(empty, pid)) return;
    }
}

void unregisterGroup(pid_t pid) {
    for (auto& group : liveGroups) {
        pid_t expected = pid;
        if (group.compare_exchange_strong(expected, 0)) return;
    }
}

std::string uniquePipeName() {
    std::random_device random;
    static std::atomic<int> counter{0};
    return "qv_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
           std::to_string(random() % 100000);
}

std::filesystem::path makeProfileDir() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv-office-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create an office profile directory");
    return pattern;
}

// A profile that has seen a version of the office before starts several times faster (no
// first-start checks).
void seedProfile(const std::filesystem::path& profile) {
    std::filesystem::create_directories(profile / "user");
    std::ofstream out(profile / "user" / "registrymodifications.xcu");
    out << R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Setup/Product"><prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>7.4</value></prop></item>
<item oor:path="/org.openoffice.Setup/Office"><prop oor:name="ooSetupInstCompleted" oor:op="fuse"><value>true</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" oor:op="fuse"><value>false</value></prop></item>
<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="ShowTipOfTheDay" oor:op="fuse"><value>false</value></prop></item>
</oor:items>
)";
}

// Waits up to `timeout` for the child to end; true when it has. The child is left unreaped: while
// it is a zombie its pid still names its process group, so that a signal to the group can never
// reach processes that got the same number later.
bool waitForExit(pid_t pid, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
        if (info.si_pid == pid) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Waits up to `timeout` until no process of the group is alive.
void waitForGroupGone(pid_t group, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (processGroupAlive(group) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

}  // namespace

std::vector<ProcessEntry> processesOfGroup(pid_t group) {
    static const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
    std::vector<ProcessEntry> processes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream in(entry.path() / "stat");
        std::string line;
        if (!std::getline(in, line)) continue;
        // "pid (command) state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt
        // utime stime ...": the command may hold blanks and parentheses.
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(line.substr(close + 1));
        ProcessEntry process;
        long parent = 0, processGroup = 0;
        if (!(fields >> process.state >> parent >> processGroup) || processGroup != group) continue;
        std::string skip;
        for (int i = 0; i < 8; ++i) fields >> skip;
        unsigned long long user = 0, system = 0;
        fields >> user >> system;
        process.pid = static_cast<pid_t>(std::stol(line));
        process.group = static_cast<pid_t>(processGroup);
        process.cpuSeconds = static_cast<double>(user + system) / tick;
        processes.push_back(process);
    }
    return processes;
}

bool processGroupAlive(pid_t group) {
    const auto processes = processesOfGroup(group);
    // A zombie has ended; whoever adopted it collects it in its own time.
    return std::any_of(processes.begin(), processes.end(), [](const ProcessEntry& p) { return !p.ended(); });
}

Office::Office(OfficeOptions options)
    : options_(std::move(options)),
      pipeName_(options_.pipeName.empty() ? uniquePipeName() : options_.pipeName),
      profileDir_(makeProfileDir()) {
    installCrashCleanup();
    try {
        seedProfile(profileDir_);
        if (const char* dir = std::getenv("QV_TEST_PIDDIR"); dir && *dir)
            pidFile_ = std::filesystem::path(dir) / (pipeName_ + ".pid");
        spawn(true);
        spawn();
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(profileDir_, ignored);
        throw;
    }
}

Office::~Office() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(profileDir_, ignored);
}

void Office::spawn(bool initializeOnly) {
    std::vector<std::string> args = {
        QV_SOFFICE,
        "--headless",
        "--invisible",
        "--norestore",
        "--nologo",
        "--nodefault",
        "--nolockcheck",
        "--nofirststartwizard",
        initializeOnly ? std::string("--terminate_after_init") : word::libreoffice::acceptArgument(pipeName_),
        "-env:UserInstallation=file://" + profileDir_.string(),
    };
    args.insert(args.end(), options_.extraArgs.begin(), options_.extraArgs.end());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = (profileDir_ / "office.log").string();
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    // The office and whatever runs inside it (an extension's own settings) keep their per-user
    // files in the throw-away profile, never in the home of the user running the tests.
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view variable(*entry);
        if (!variable.starts_with("XDG_CONFIG_HOME=") && !variable.starts_with("XDG_DATA_HOME=") &&
            !variable.starts_with("XDG_CACHE_HOME="))
            environment.emplace_back(variable);
    }
    for (const char* folder : {"CONFIG", "DATA", "CACHE"}) {
        const auto path = profileDir_ / ("xdg-" + std::string(folder));
        std::filesystem::create_directories(path);
        environment.push_back("XDG_" + std::string(folder) + "_HOME=" + path.string());
    }
    std::vector<char*> envp;
    for (auto& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
    pid_ = pid;
    registerGroup(pid_);
    if (!pidFile_.empty()) std::ofstream(pidFile_) << pid_ << '\n';
    if (initializeOnly) {
        // The first start on a new profile sets it up and then restarts the office by itself,
        // which would drop every connection made before the restart: let that happen in a run of
        // its own.
        waitForExit(pid_, options_.startTimeout);
        endGroup();
        return;
    }
    // Back only once the office answers on its pipe: until then its processes may not even have
    // their command line and environment in place.
    try {
        context_ = word::libreoffice::resolvePipeWithRetries(pipeName_, options_.startTimeout);
    } catch (...) {
        stop();
        throw;
    }
}

void Office::endGroup() {
    ::kill(-pid_, SIGKILL);
    waitForGroupGone(pid_, std::chrono::seconds(10));
    unregisterGroup(pid_);
    // The leader, ended by now, is collected last (see waitForExit).
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
}

void Office::start() {
    if (running()) return;
    spawn();
}

uno::Reference<uno::XComponentContext> Office::context() {
    if (!running()) throw std::runtime_error("the office is not running");
    return context_;
}

uno::Reference<css::frame::XDesktop2> Office::desktop() { return css::frame::Desktop::create(context()); }

uno::Reference<css::text::XTextDocument> Office::newWriterDocument() {
    uno::Reference<css::frame::XComponentLoader> loader(desktop(), uno::UNO_QUERY_THROW);
    uno::Reference<css::text::XTextDocument> document(
        loader->loadComponentFromURL(toOUString(std::string_view("private:factory/swriter")),
                                     toOUString(std::string_view("_blank")), 0, {}),
        uno::UNO_QUERY_THROW);
    // Make its window the active one at once, as a document the user opens would be.
    uno::Reference<css::frame::XModel> model(document, uno::UNO_QUERY_THROW);
    if (auto controller = model->getCurrentController(); controller.is())
        if (auto frame = controller->getFrame(); frame.is()) frame->activate();
    return document;
}

void Office::closeAllDocuments() {
    auto components = desktop()->getComponents()->createEnumeration();
    std::vector<uno::Reference<css::util::XCloseable>> open;
    while (components->hasMoreElements()) {
        uno::Reference<css::util::XCloseable> closeable(components->nextElement(), uno::UNO_QUERY);
        if (closeable.is()) open.push_back(closeable);
    }
    for (auto& document : open) {
        try {
            document->close(true);
        } catch (const uno::Exception&) {
        }
    }
}

void Office::stop() {
    if (!running()) return;
    if (context_.is()) {
        try {
            css::frame::Desktop::create(context_)->terminate();
        } catch (const uno::Exception&) {
            // the bridge goes down with the office
        }
        context_.clear();
    }
    if (!waitForExit(pid_, std::chrono::seconds(10))) {
        ::kill(-pid_, SIGTERM);
        waitForExit(pid_, std::chrono::seconds(3));
    }
    // Anything left in the group (the office itself when its launcher ended first) is ended and
    // waited for, so that a start on the same profile finds no office still there.
    endGroup();
    if (!pidFile_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(pidFile_, ignored);
    }
}

namespace {

std::unique_ptr<Office>& sharedSlot() {
    static std::unique_ptr<Office> office;
    return office;
}

class SharedOfficeEnvironment : public ::testing::Environment {
public:
    void TearDown() override { sharedSlot().reset(); }
};

}  // namespace

Office& sharedOffice(const OfficeOptions& options) {
    auto& slot = sharedSlot();
    if (!slot) {
        slot = std::make_unique<Office>(options);
        static const bool registered = [] {
            ::testing::AddGlobalTestEnvironment(std::make_unique<SharedOfficeEnvironment>().release());
            return true;
        }();
        (void)registered;
    }
    return *slot;
}

namespace {

template <typename T>
T property(const uno::Reference<css::beans::XPropertySet>& properties, const char* name) {
    T value{};
    properties->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= value;
    return value;
}

}  // namespace

std::vector<Paragraph> readDocument(const uno::Reference<css::text::XTextDocument>& document) {
    std::vector<Paragraph> result;
    uno::Reference<css::container::XEnumerationAccess> body(document->getText(), uno::UNO_QUERY_THROW);
    auto paragraphs = body->createEnumeration();
    while (paragraphs->hasMoreElements()) {
        uno::Reference<css::lang::XServiceInfo> info(paragraphs->nextElement(), uno::UNO_QUERY_THROW);
        if (!info->supportsService(rtl::OUString::createFromAscii("com.sun.star.text.Paragraph"))) continue;
        uno::Reference<css::beans::XPropertySet> paragraphProperties(info, uno::UNO_QUERY_THROW);
        Paragraph paragraph;
        paragraph.rightToLeft =
            property<sal_Int16>(paragraphProperties, "WritingMode") == css::text::WritingMode2::RL_TB;
        // ParaAdjust holds a style::ParagraphAdjust value as a short.
        paragraph.adjust = property<sal_Int16>(paragraphProperties, "ParaAdjust");

        uno::Reference<css::container::XEnumerationAccess> portionsAccess(info, uno::UNO_QUERY_THROW);
        auto portions = portionsAccess->createEnumeration();
        while (portions->hasMoreElements()) {
            uno::Reference<css::text::XTextRange> portion(portions->nextElement(), uno::UNO_QUERY_THROW);
            uno::Reference<css::beans::XPropertySet> properties(portion, uno::UNO_QUERY_THROW);
            const std::u16string text = fromOUString(portion->getString());
            if (text.empty()) continue;
            CharFormat format;
            format.bold = property<float>(properties, "CharWeight") >= css::awt::FontWeight::BOLD;
            format.boldComplex = property<float>(properties, "CharWeightComplex") >= css::awt::FontWeight::BOLD;
            format.height = property<float>(properties, "CharHeight");
            format.heightComplex = property<float>(properties, "CharHeightComplex");
            format.fontName = fromOUString(property<rtl::OUString>(properties, "CharFontName"));
            format.fontNameComplex = fromOUString(property<rtl::OUString>(properties, "CharFontNameComplex"));
            for (char16_t ch : text) {
                format.ch = ch;
                paragraph.chars.push_back(format);
            }
            paragraph.text += text;
        }
        result.push_back(std::move(paragraph));
    }
    return result;
}

namespace {

MenuEntry readMenuEntry(const uno::Sequence<css::beans::PropertyValue>& item) {
    MenuEntry entry;
    for (const auto& p : item) {
        rtl::OUString text;
        if (p.Name == "Label" && (p.Value >>= text)) entry.label = fromOUString(text);
        if (p.Name == "CommandURL" && (p.Value >>= text)) entry.command = fromOUString(text);
        uno::Reference<css::container::XIndexAccess> children;
        if (p.Name == "ItemDescriptorContainer" && (p.Value >>= children) && children.is()) {
            for (sal_Int32 i = 0; i < children->getCount(); ++i) {
                uno::Sequence<css::beans::PropertyValue> child;
                children->getByIndex(i) >>= child;
                entry.items.push_back(readMenuEntry(child));
            }
        }
    }
    return entry;
}

}  // namespace

std::vector<MenuEntry> menuBar(const uno::Reference<css::text::XTextDocument>& document) {
    uno::Reference<css::frame::XModel> model(document, uno::UNO_QUERY_THROW);
    uno::Reference<css::beans::XPropertySet> frame(model->getCurrentController()->getFrame(), uno::UNO_QUERY_THROW);
    uno::Reference<css::frame::XLayoutManager> layout;
    frame->getPropertyValue("LayoutManager") >>= layout;
    std::vector<MenuEntry> entries;
    if (!layout.is()) return entries;
    uno::Reference<css::ui::XUIElementSettings> bar(layout->getElement("private:resource/menubar/menubar"),
                                                    uno::UNO_QUERY);
    if (!bar.is()) return entries;
    auto settings = bar->getSettings(false);
    for (sal_Int32 i = 0; i < settings->getCount(); ++i) {
        uno::Sequence<css::beans::PropertyValue> item;
        settings->getByIndex(i) >>= item;
        entries.push_back(readMenuEntry(item));
    }
    return entries;
}

std::u16string documentText(const uno::Reference<css::text::XTextDocument>& document) {
    std::u16string text;
    bool first = true;
    for (const auto& paragraph : readDocument(document)) {
        if (!first) text += u'\n';
        first = false;
        text += paragraph.text;
    }
    return text;
}

}  // namespace word::testing
