// The add-in as an office component: the connection job that runs when the office has started,
// the protocol handler of the menu's and the toolbar's commands, and the listeners that notice
// the office's shutdown and the removal of the extension; the add-in's own life is its core's
// (tarvelo/addin_core.h). Everything the add-in does runs on the office's main thread: calls that
// arrive on another thread (a remote client's dispatch) are handed to it.
#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <uno/lbnames.h>
#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/deployment/XExtensionManager.hpp>
#include <com/sun/star/deployment/XPackage.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/frame/XTerminateListener.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/util/XModifyBroadcaster.hpp>
#include <com/sun/star/util/XModifyListener.hpp>
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implbase1.hxx>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/implementationentry.hxx>
#include <cppuhelper/supportsservice.hxx>
#include <rtl/ref.hxx>

#include "tarvelo/addin_core.h"
#include "tarvelo/autoreplace/office_timer.h"
#include "tarvelo/libreoffice/adapters.h"
#include "tarvelo/libreoffice/extension_ids.h"
#include "tarvelo/libreoffice/main_thread.h"
#include "tarvelo/libreoffice/office_ui.h"
#include "tarvelo/libreoffice/toolbar_commands.h"
#include "word/libreoffice/command_bars.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"

namespace mTarvelo {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using rtl::OUString;
using word::libreoffice::fromOUString;
using word::libreoffice::MenuCommands;
using word::libreoffice::toOUString;

namespace {

class TerminateListener : public cppu::WeakImplHelper1<css::frame::XTerminateListener> {
public:
    void SAL_CALL queryTermination(const css::lang::EventObject&) override {}
    void SAL_CALL notifyTermination(const css::lang::EventObject&) override;
    void SAL_CALL disposing(const css::lang::EventObject&) override {}
};

// Looks whether the extension is still there, and disconnects the add-in if not.
class DeferredCheck : public cppu::WeakImplHelper1<css::awt::XCallback> {
public:
    void SAL_CALL notify(const uno::Any&) override;
};

class ExtensionListener : public cppu::WeakImplHelper1<css::util::XModifyListener> {
public:
    void SAL_CALL modified(const css::lang::EventObject&) override;
    void SAL_CALL disposing(const css::lang::EventObject&) override {}
};

// The add-in's life in this office: connected once the office has started, disconnected when
// the extension is removed or disabled, shut down with the office.
class Session {
public:
    static Session& Get() {
        static Session session;
        return session;
    }

    // The office has started (the first call comes on its main thread) or a client asks for
    // the connection again.
    void Connect(const uno::Reference<uno::XComponentContext>& context) {
        NoteMainThread();
        RunOnMainThread(context, [this, context] { ConnectNow(context); });
    }

    // A document event: connects once, when the extension was added to the running office.
    void ConnectIfNotConnected(const uno::Reference<uno::XComponentContext>& context) {
        NoteMainThread();
        RunOnMainThread(context, [this, context] {
            if (!connected_) ConnectNow(context);
        });
    }

    void Disconnect() {
        if (!connected_) return;
        connected_ = false;
        AddinInstance_OnDisconnection();
    }

    void Shutdown() {
        if (shutDown_) return;
        shutDown_ = true;
        connected_ = false;
        AddinInstance_OnBeginShutdown();
        UninstallAddin();
        MenuCommands::setCaptionListener({});
        RemoveListeners();
        {
            std::lock_guard lock(mutex_);
            statusListeners_.clear();
        }
        context_.clear();
    }

    // Whether the extension is still deployed and enabled in one of the repositories.
    bool ExtensionPresent() const {
        if (!context_.is()) return false;
        uno::Reference<css::deployment::XExtensionManager> manager(
            context_->getValueByName("/singletons/com.sun.star.deployment.ExtensionManager"), uno::UNO_QUERY);
        if (!manager.is()) return true;  // cannot tell: keep the add-in
        for (const char* repository : {"user", "shared", "bundled"}) {
            uno::Sequence<uno::Reference<css::deployment::XPackage>> packages;
            try {
                packages = manager->getDeployedExtensions(OUString::createFromAscii(repository), {}, {});
            } catch (const uno::Exception&) {
                continue;
            }
            for (const auto& package : packages) {
                if (!package.is()) continue;
                const auto id = package->getIdentifier();
                if (!id.IsPresent || id.Value != toOUString(ExtensionIdentifier)) continue;
                try {
                    const auto registered = package->isRegistered({}, {});
                    if (registered.IsPresent && !registered.Value.IsAmbiguous && !registered.Value.Value)
                        continue;  // disabled
                } catch (const uno::Exception&) {
                }
                return true;
            }
        }
        return false;
    }

    uno::Reference<uno::XComponentContext> Context() const { return context_; }

    // Status listeners of the menu's commands, told the caption of their command.
    void AddStatusListener(const uno::Reference<css::frame::XStatusListener>& listener, const css::util::URL& url) {
        std::lock_guard lock(mutex_);
        statusListeners_.push_back({listener, url});
    }
    void RemoveStatusListener(const uno::Reference<css::frame::XStatusListener>& listener, const css::util::URL& url) {
        std::lock_guard lock(mutex_);
        std::erase_if(statusListeners_, [&](const auto& entry) {
            return entry.listener == listener && entry.url.Complete == url.Complete;
        });
    }
    void NotifyCaption(std::u16string_view url, std::u16string_view caption) {
        Notify(url, [&](const css::util::URL& target) { return CaptionState(target, caption); });
    }

    // The mode has changed: the toolbar's switch shows it.
    void NotifyToggle() { Notify(ToggleCommandUrl(), ToolbarCommandState); }

    static css::frame::FeatureStateEvent CaptionState(const css::util::URL& url, std::u16string_view caption) {
        css::frame::FeatureStateEvent state;
        state.FeatureURL = url;
        state.IsEnabled = true;
        state.Requery = false;
        state.State <<= toOUString(caption);
        return state;
    }

private:
    struct StatusEntry {
        uno::Reference<css::frame::XStatusListener> listener;
        css::util::URL url;
    };

    // Tells the listeners of `url` the state that `state` makes for them; a listener that fails
    // is dropped.
    template <typename State>
    void Notify(std::u16string_view url, const State& state) {
        std::vector<StatusEntry> targets;
        {
            std::lock_guard lock(mutex_);
            for (const auto& entry : statusListeners_)
                if (fromOUString(entry.url.Complete) == url) targets.push_back(entry);
        }
        for (const auto& entry : targets) {
            try {
                entry.listener->statusChanged(state(entry.url));
            } catch (const uno::Exception&) {
                RemoveStatusListener(entry.listener, entry.url);
            }
        }
    }

    void ConnectNow(const uno::Reference<uno::XComponentContext>& context) {
        if (shutDown_) return;
        context_ = context;
        InstallAddin([&] {
            return HostParts{MakeOfficeHost(context), OfficeTimers(context), [] { Get().NotifyToggle(); }};
        });
        MenuCommands::setCaptionListener(
            [](std::u16string_view url, std::u16string_view caption) { Get().NotifyCaption(url, caption); });
        AddListeners();
        connected_ = true;
        ConnectAddin([&] { return word::libreoffice::inProcess(context); });
    }

    // The office's main-thread callbacks; none when the office offers none (the automatic
    // replacement then cannot run).
    static std::shared_ptr<TimerService> OfficeTimers(const uno::Reference<uno::XComponentContext>& context) {
        try {
            return MakeOfficeTimerService(context);
        } catch (const uno::Exception&) {
            return nullptr;
        }
    }

    void AddListeners() {
        try {
            if (!terminateListener_.is()) {
                terminateListener_ = new TerminateListener;
                css::frame::Desktop::create(context_)->addTerminateListener(terminateListener_);
            }
        } catch (const uno::Exception&) {
        }
        try {
            if (!extensionListener_.is()) {
                uno::Reference<css::util::XModifyBroadcaster> manager(
                    context_->getValueByName("/singletons/com.sun.star.deployment.ExtensionManager"), uno::UNO_QUERY);
                if (manager.is()) {
                    extensionListener_ = new ExtensionListener;
                    manager->addModifyListener(extensionListener_);
                }
            }
        } catch (const uno::Exception&) {
        }
    }

    void RemoveListeners() {
        if (!context_.is()) return;
        try {
            if (terminateListener_.is())
                css::frame::Desktop::create(context_)->removeTerminateListener(terminateListener_);
        } catch (const uno::Exception&) {
        }
        try {
            uno::Reference<css::util::XModifyBroadcaster> manager(
                context_->getValueByName("/singletons/com.sun.star.deployment.ExtensionManager"), uno::UNO_QUERY);
            if (manager.is() && extensionListener_.is()) manager->removeModifyListener(extensionListener_);
        } catch (const uno::Exception&) {
        }
        terminateListener_.clear();
        extensionListener_.clear();
    }

    mutable std::mutex mutex_;
    std::vector<StatusEntry> statusListeners_;
    uno::Reference<uno::XComponentContext> context_;
    uno::Reference<css::frame::XTerminateListener> terminateListener_;
    uno::Reference<css::util::XModifyListener> extensionListener_;
    bool connected_ = false;
    bool shutDown_ = false;
    bool autoReplaceInstalled_ = false;
};

void TerminateListener::notifyTermination(const css::lang::EventObject&) {
    try {
        Session::Get().Shutdown();
    } catch (...) {
    }
}

void DeferredCheck::notify(const uno::Any&) {
    try {
        auto& session = Session::Get();
        if (!session.ExtensionPresent()) session.Disconnect();
    } catch (...) {
    }
}

void ExtensionListener::modified(const css::lang::EventObject&) {
    auto& session = Session::Get();
    const auto context = session.Context();
    if (!context.is()) return;
    // The change is complete only after this notification: look at the repositories afterwards,
    // on the main thread (the notification may come on any thread).
    css::awt::AsyncCallback::create(context)->addCallback(new DeferredCheck, uno::Any());
}

// ---------------------------------------------------------------------------------------------
// The connection job, run by the office's OnStartApp event (or dispatched as a job).

class ConnectJob : public cppu::WeakImplHelper2<css::task::XJob, css::lang::XServiceInfo> {
public:
    explicit ConnectJob(const uno::Reference<uno::XComponentContext>& context) : context_(context) {}

    uno::Any SAL_CALL execute(const uno::Sequence<css::beans::NamedValue>& arguments) override {
        // The office's start and a dispatch of the job connect (again); the document events
        // connect only an add-in that is not connected yet: one added while the office ran.
        const std::u16string event = EventName(arguments);
        if (event.empty() || event == u"OnStartApp") Session::Get().Connect(context_);
        else Session::Get().ConnectIfNotConnected(context_);
        return {};
    }

    OUString SAL_CALL getImplementationName() override { return ImplementationName(); }
    sal_Bool SAL_CALL supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return ServiceNames(); }

    static OUString SAL_CALL ImplementationName() { return toOUString(ConnectImplementation); }
    static uno::Sequence<OUString> SAL_CALL ServiceNames() {
        return uno::Sequence<OUString>(&static_cast<const OUString&>(ImplementationName()), 1);
    }

private:
    // The event that started the job ("Environment" argument, "EventName"); empty when the job
    // was dispatched.
    static std::u16string EventName(const uno::Sequence<css::beans::NamedValue>& arguments) {
        for (const auto& argument : arguments) {
            if (argument.Name != "Environment") continue;
            uno::Sequence<css::beans::NamedValue> environment;
            argument.Value >>= environment;
            for (const auto& entry : environment) {
                OUString name;
                if (entry.Name == "EventName" && (entry.Value >>= name)) return fromOUString(name);
            }
        }
        return {};
    }

    uno::Reference<uno::XComponentContext> context_;
};

// ---------------------------------------------------------------------------------------------
// The protocol handler of the menu's command URLs.

class MenuCommandHandler : public cppu::WeakImplHelper4<css::frame::XDispatchProvider, css::frame::XNotifyingDispatch,
                                                        css::lang::XInitialization, css::lang::XServiceInfo> {
public:
    explicit MenuCommandHandler(const uno::Reference<uno::XComponentContext>& context) : context_(context) {}

    // XInitialization: the frame, which the commands do not need.
    void SAL_CALL initialize(const uno::Sequence<uno::Any>&) override {}

    uno::Reference<css::frame::XDispatch> SAL_CALL queryDispatch(const css::util::URL& url, const OUString&,
                                                                 sal_Int32) override {
        const std::u16string command = fromOUString(url.Complete);
        if (!MenuCommands::handles(command) && !IsToolbarCommand(command)) return {};
        return this;
    }
    uno::Sequence<uno::Reference<css::frame::XDispatch>> SAL_CALL
    queryDispatches(const uno::Sequence<css::frame::DispatchDescriptor>& requests) override {
        uno::Sequence<uno::Reference<css::frame::XDispatch>> result(requests.getLength());
        for (sal_Int32 i = 0; i < requests.getLength(); ++i)
            result[i] = queryDispatch(requests[i].FeatureURL, requests[i].FrameName, requests[i].SearchFlags);
        return result;
    }

    void SAL_CALL dispatch(const css::util::URL& url, const uno::Sequence<css::beans::PropertyValue>& args) override {
        dispatchWithNotification(url, args, {});
    }
    void SAL_CALL
    dispatchWithNotification(const css::util::URL& url, const uno::Sequence<css::beans::PropertyValue>&,
                             const uno::Reference<css::frame::XDispatchResultListener>& listener) override {
        const std::u16string command = fromOUString(url.Complete);
        rtl::Reference<MenuCommandHandler> self(this);
        RunOnMainThread(context_, [self, command, listener] {
            bool done = false;
            try {
                done = IsToolbarCommand(command) ? ClickToolbarCommand(command) : MenuCommands::click(command);
            } catch (...) {
            }
            if (!listener.is()) return;
            css::frame::DispatchResultEvent result;
            result.Source = static_cast<cppu::OWeakObject*>(self.get());
            result.State = done ? css::frame::DispatchResultState::SUCCESS : css::frame::DispatchResultState::FAILURE;
            try {
                listener->dispatchFinished(result);
            } catch (const uno::Exception&) {
            }
        });
    }
    void SAL_CALL addStatusListener(const uno::Reference<css::frame::XStatusListener>& listener,
                                    const css::util::URL& url) override {
        if (!listener.is()) return;
        Session::Get().AddStatusListener(listener, url);
        auto state = Session::CaptionState(url, u"");
        if (IsToolbarCommand(fromOUString(url.Complete))) state = ToolbarCommandState(url);
        else if (auto caption = MenuCommands::caption(fromOUString(url.Complete))) state.State <<= toOUString(*caption);
        else state.State.clear();
        state.Source = static_cast<cppu::OWeakObject*>(this);
        listener->statusChanged(state);
    }
    void SAL_CALL removeStatusListener(const uno::Reference<css::frame::XStatusListener>& listener,
                                       const css::util::URL& url) override {
        Session::Get().RemoveStatusListener(listener, url);
    }

    OUString SAL_CALL getImplementationName() override { return ImplementationName(); }
    sal_Bool SAL_CALL supportsService(const OUString& name) override { return cppu::supportsService(this, name); }
    uno::Sequence<OUString> SAL_CALL getSupportedServiceNames() override { return ServiceNames(); }

    static OUString SAL_CALL ImplementationName() { return toOUString(MenuCommandsImplementation); }
    static uno::Sequence<OUString> SAL_CALL ServiceNames() {
        const OUString name("com.sun.star.frame.ProtocolHandler");
        return uno::Sequence<OUString>(&name, 1);
    }

private:
    uno::Reference<uno::XComponentContext> context_;
};

uno::Reference<uno::XInterface> SAL_CALL CreateConnectJob(const uno::Reference<uno::XComponentContext>& context) {
    return static_cast<cppu::OWeakObject*>(new ConnectJob(context));
}

uno::Reference<uno::XInterface> SAL_CALL
CreateMenuCommandHandler(const uno::Reference<uno::XComponentContext>& context) {
    return static_cast<cppu::OWeakObject*>(new MenuCommandHandler(context));
}

const cppu::ImplementationEntry Implementations[] = {
    {CreateConnectJob, ConnectJob::ImplementationName, ConnectJob::ServiceNames, cppu::createSingleComponentFactory,
     nullptr, 0},
    {CreateMenuCommandHandler, MenuCommandHandler::ImplementationName, MenuCommandHandler::ServiceNames,
     cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0},
};

}  // namespace

}  // namespace mTarvelo

extern "C" SAL_DLLPUBLIC_EXPORT void* SAL_CALL component_getFactory(const char* implementationName,
                                                                    void* serviceManager, void* registryKey) {
    return cppu::component_getFactoryHelper(implementationName, serviceManager, registryKey, mTarvelo::Implementations);
}

extern "C" SAL_DLLPUBLIC_EXPORT void SAL_CALL component_getImplementationEnvironment(const char** environmentTypeName,
                                                                                     uno_Environment**) {
    *environmentTypeName = CPPU_CURRENT_LANGUAGE_BINDING_NAME;
}
