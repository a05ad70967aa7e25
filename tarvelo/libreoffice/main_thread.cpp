#include "tarvelo/libreoffice/main_thread.h"

#include <mutex>
#include <optional>
#include <thread>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <cppuhelper/implbase1.hxx>

namespace mTarvelo {

namespace css = ::com::sun::star;
namespace uno = css::uno;

namespace {

struct MainThreadId {
    std::mutex mutex;
    std::optional<std::thread::id> id;
};

MainThreadId& Main() {
    static MainThreadId main;
    return main;
}

class MainThreadCall : public cppu::WeakImplHelper1<css::awt::XCallback> {
public:
    explicit MainThreadCall(std::function<void()> call) : call_(std::move(call)) {}
    void SAL_CALL notify(const uno::Any&) override {
        try {
            call_();
        } catch (...) {
        }
    }

private:
    std::function<void()> call_;
};

}  // namespace

void NoteMainThread() {
    std::lock_guard lock(Main().mutex);
    if (!Main().id) Main().id = std::this_thread::get_id();
}

bool IsMainThread() {
    std::lock_guard lock(Main().mutex);
    return !Main().id || *Main().id == std::this_thread::get_id();
}

void RunOnMainThread(const uno::Reference<uno::XComponentContext>& context, std::function<void()> call) {
    if (IsMainThread()) {
        try {
            call();
        } catch (...) {
        }
        return;
    }
    css::awt::AsyncCallback::create(context)->addCallback(new MainThreadCall(std::move(call)), uno::Any());
}

}  // namespace mTarvelo
