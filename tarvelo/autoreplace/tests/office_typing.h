// Typing into a real headless Writer with the automatic replacement installed, for the tests and
// the figures: the office's timer service, the LibreOffice word backend over the office's pipe,
// keystrokes delivered on the office's main thread (where the timer's ticks run too) and the
// document read back. The composers are stand-ins that type a marker ("<Arabic 2:1-2>",
// "<Translation 2:5-5>") and a paragraph mark, so that what was inserted, and in which order,
// shows in the text.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/auto_replace.h"
#include "tarvelo/autoreplace/office_timer.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace mTarvelo::testing {

namespace css = ::com::sun::star;
namespace uno = css::uno;

// Runs a function on the office's main thread and waits for its result: whatever runs there
// never works alongside a timer tick.
class MainThread : public cppu::WeakImplHelper1<css::awt::XCallback> {
public:
    explicit MainThread(const uno::Reference<uno::XComponentContext>& context)
        : async_(css::awt::AsyncCallback::create(context)) {}

    template <class F>
    auto Run(F&& f) -> decltype(f()) {
        using R = decltype(f());
        std::packaged_task<R()> task(std::forward<F>(f));
        auto result = task.get_future();
        {
            std::lock_guard lock(mutex_);
            pending_ = [&task] { task(); };
        }
        async_->addCallback(this, uno::Any());
        return result.get();
    }

    void SAL_CALL notify(const uno::Any&) override {
        std::function<void()> work;
        {
            std::lock_guard lock(mutex_);
            work.swap(pending_);
        }
        if (work) work();
    }

private:
    uno::Reference<css::awt::XRequestCallback> async_;
    std::mutex mutex_;
    std::function<void()> pending_;
};

// Keystrokes into one Writer document, delivered on the office's main thread, and the document
// read back.
class Keyboard {
public:
    using Clock = std::chrono::steady_clock;
    using Millis = std::chrono::duration<double, std::milli>;

    Keyboard(const uno::Reference<uno::XComponentContext>& context, uno::Reference<css::text::XTextDocument> document)
        : mainThread_(new MainThread(context)), document_(std::move(document)) {}  // reference-counted

    // One keystroke, the way the office handles typing: text inserted at the view cursor.
    void Key(char16_t c) {
        mainThread_->Run([&] {
            auto cursor = ViewCursor();
            const uno::Reference<css::text::XTextRange> at(cursor.get());
            cursor->getText()->insertString(at, word::libreoffice::toOUString(std::u16string_view(&c, 1)), false);
        });
    }
    // Keystrokes at a typist's pace.
    void Type(std::u16string_view text, std::chrono::milliseconds between = std::chrono::milliseconds(20)) {
        for (const char16_t c : text) {
            Key(c);
            std::this_thread::sleep_for(between);
        }
    }
    // The arrow key to the left, pressed n times; with `select` as with the shift key held.
    void Left(int n, bool select = false) {
        mainThread_->Run([&] { ViewCursor()->goLeft(static_cast<sal_Int16>(n), select); });
    }
    std::u16string Text() {
        return mainThread_->Run([&] { return word::testing::documentText(document_); });
    }
    std::vector<word::testing::Paragraph> Paragraphs() {
        return mainThread_->Run([&] { return word::testing::readDocument(document_); });
    }
    // Waits until the document's text contains `part`; returns how long that took.
    std::optional<Millis> WaitFor(std::u16string_view part,
                                  std::chrono::milliseconds limit = word::testing::kOfficeReplyLimit) {
        const auto start = Clock::now();
        while (Clock::now() - start < limit) {
            if (Text().find(part) != std::u16string::npos) return Clock::now() - start;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return std::nullopt;
    }
    // Clears the document; the insertion point is then at its start.
    void Clear() {
        mainThread_->Run([&] { document_->getText()->setString(rtl::OUString()); });
    }
    const uno::Reference<css::text::XTextDocument>& Document() const { return document_; }

protected:
    rtl::Reference<MainThread> mainThread_;

private:
    uno::Reference<css::text::XTextViewCursor> ViewCursor() {
        uno::Reference<css::frame::XModel> model(document_, uno::UNO_QUERY_THROW);
        uno::Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(),
                                                                    uno::UNO_QUERY_THROW);
        return supplier->getViewCursor();
    }

    uno::Reference<css::text::XTextDocument> document_;
};

// A new Writer document in the given office, connected as WordApp, with the automatic
// replacement installed (mode off) and stand-in composers. Uninstalls everything again when it
// goes away.
class TypingSession : public Keyboard {
public:
    explicit TypingSession(word::testing::Office& office)
        : Keyboard(office.context(), NewDocument(office)), office_(office) {
        WordApp = word::libreoffice::connectOverPipe(office_.pipeOptions(std::chrono::milliseconds(500)));

        AutoReplaceOn = false;
        InsertMode = 0;
        AutoReplaceHost host;
        host.timers = MakeOfficeTimerService(office_.context());
        host.insertArabic = [](std::int16_t s, std::int16_t f, std::int16_t t, bool) { Marker(u"Arabic", s, f, t); };
        host.insertTranslation = [](std::int16_t s, std::int16_t f, std::int16_t t) {
            Marker(u"Translation", s, f, t);
        };
        host.surah = [](std::int64_t s) -> std::optional<SurahInfo> {
            if (s < 1 || s > 114) return std::nullopt;
            return SurahInfo{s == 2 ? u"Al-Baqarah                    " : u"Other", s == 2 ? 286 : 7};
        };
        host.message = [this](std::u16string_view text) { messages_.emplace_back(text); };
        InstallAutoReplace(std::move(host));
    }

    ~TypingSession() {
        mainThread_->Run([] { UninstallAutoReplace(); });
        WordApp.reset();
        office_.closeAllDocuments();
    }

    TypingSession(const TypingSession&) = delete;
    TypingSession& operator=(const TypingSession&) = delete;

    // The menu command, clicked.
    void Click() {
        mainThread_->Run([] { ctrl6_Click(); });
    }
    bool ModeOn() {
        return mainThread_->Run([] { return AutoReplaceOn; });
    }
    std::uint32_t TimerId() {
        return mainThread_->Run([] { return AutoReplaceTimerId; });
    }

    const std::vector<std::u16string>& Messages() const { return messages_; }

private:
    static uno::Reference<css::text::XTextDocument> NewDocument(word::testing::Office& office) {
        office.closeAllDocuments();
        return office.newWriterDocument();
    }
    static std::u16string Number(int n) {
        const auto s = std::to_string(n);
        return {s.begin(), s.end()};
    }
    static void Marker(std::u16string_view kind, int s, int f, int t) {
        auto selection = WordApp->Selection();
        selection->TypeText(u"<" + std::u16string(kind) + u" " + Number(s) + u":" + Number(f) + u"-" + Number(t) +
                            u">");
        selection->TypeParagraph();
    }

    word::testing::Office& office_;
    std::vector<std::u16string> messages_;
};

// CPU seconds used so far by every process of a process group (an office's).
inline double ProcessGroupCpuSeconds(pid_t group) {
    double total = 0;
    for (const auto& process : word::testing::processesOfGroup(group)) total += process.cpuSeconds;
    return total;
}

}  // namespace mTarvelo::testing
