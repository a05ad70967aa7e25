// The automatic replacement on a real headless Writer: the office's timer service, the
// LibreOffice word backend, keystrokes arriving on the office's main thread, and the document
// read back. The composers are stand-ins that type a marker, so that the order shows.
#include "tarvelo/autoreplace/auto_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <cppuhelper/implbase1.hxx>
#include <rtl/ref.hxx>

#include "tarvelo/addin_state.h"
#include "tarvelo/autoreplace/office_timer.h"
#include "word/libreoffice/connection.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

namespace mTarvelo {
namespace {

namespace css = ::com::sun::star;
namespace uno = css::uno;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Runs a function on the office's main thread, where keystrokes and timer ticks run, and waits
// for it: the test then never works alongside a tick.
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

class AutoReplaceInOffice : public ::testing::Test {
protected:
    void SetUp() override {
        office_ = &word::testing::sharedOffice();
        office_->closeAllDocuments();
        document_ = office_->newWriterDocument();
        word::libreoffice::PipeOptions options;
        options.pipeName = office_->pipeName();
        options.launch = nullptr;
        options.connectTimeout = 500ms;
        WordApp = word::libreoffice::connectOverPipe(options);
        mainThread_ = new MainThread(office_->context());  // reference-counted UNO object

        AutoReplaceOn = false;
        InsertMode = 0;
        AutoReplaceHost host;
        host.timers = MakeOfficeTimerService(office_->context());
        host.insertArabic = [](std::int16_t s, std::int16_t f, std::int16_t t, bool) {
            auto selection = WordApp->Selection();
            selection->TypeText(u"<Arabic " + Number(s) + u":" + Number(f) + u"-" + Number(t) + u">");
            selection->TypeParagraph();
        };
        host.insertTranslation = [](std::int16_t s, std::int16_t f, std::int16_t t) {
            auto selection = WordApp->Selection();
            selection->TypeText(u"<Translation " + Number(s) + u":" + Number(f) + u"-" + Number(t) + u">");
            selection->TypeParagraph();
        };
        host.surah = [](std::int64_t s) -> std::optional<SurahInfo> {
            if (s < 1 || s > 114) return std::nullopt;
            return SurahInfo{s == 2 ? u"Al-Baqarah                    " : u"Other", s == 2 ? 286 : 7};
        };
        host.message = [this](std::u16string_view text) { messages_.emplace_back(text); };
        InstallAutoReplace(std::move(host));
    }

    void TearDown() override {
        mainThread_->Run([] { UninstallAutoReplace(); });
        WordApp.reset();
        office_->closeAllDocuments();
    }

    static std::u16string Number(int n) {
        const auto s = std::to_string(n);
        return {s.begin(), s.end()};
    }

    // One keystroke, the way the office's main thread handles typing: text inserted at the
    // view cursor.
    void Key(char16_t c) {
        mainThread_->Run([&] {
            uno::Reference<css::frame::XModel> model(document_, uno::UNO_QUERY_THROW);
            uno::Reference<css::text::XTextViewCursorSupplier> supplier(model->getCurrentController(),
                                                                        uno::UNO_QUERY_THROW);
            auto cursor = supplier->getViewCursor();
            const uno::Reference<css::text::XTextRange> at(cursor.get());
            cursor->getText()->insertString(at, word::libreoffice::toOUString(std::u16string_view(&c, 1)), false);
        });
    }
    void Type(std::u16string_view text, std::chrono::milliseconds between = 20ms) {
        for (const char16_t c : text) {
            Key(c);
            std::this_thread::sleep_for(between);
        }
    }
    std::u16string Text() {
        return mainThread_->Run([&] { return word::testing::documentText(document_); });
    }
    // Waits until the text satisfies `done`; returns how long that took.
    template <class Pred>
    std::optional<std::chrono::duration<double, std::milli>> WaitFor(Pred done, std::chrono::milliseconds limit = 3s) {
        const auto start = Clock::now();
        while (Clock::now() - start < limit) {
            if (done(Text())) return Clock::now() - start;
            std::this_thread::sleep_for(2ms);
        }
        return std::nullopt;
    }
    void Click() {
        mainThread_->Run([] { ctrl6_Click(); });
    }

    word::testing::Office* office_ = nullptr;
    uno::Reference<css::text::XTextDocument> document_;
    rtl::Reference<MainThread> mainThread_;
    std::vector<std::u16string> messages_;
};

TEST_F(AutoReplaceInOffice, TypedTagsAreReplacedAndSwitchingOffStopsIt) {
    Click();
    ASSERT_TRUE(mainThread_->Run([] { return AutoReplaceOn; }));

    Type(u"Text before ");
    Type(u"[QS2:1-2A");
    std::this_thread::sleep_for(250ms);
    EXPECT_EQ(Text(), u"Text before [QS2:1-2A");
    Key(u']');
    const auto took = WaitFor([](const std::u16string& t) { return t.find(u"<Arabic") != std::u16string::npos; });
    ASSERT_TRUE(took) << "not replaced";
    EXPECT_EQ(Text(), u"Text before (QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n");

    // Lower case, both, and the translation only.
    Type(u"[qs2:1-2b]");
    ASSERT_TRUE(WaitFor([](const std::u16string& t) { return t.find(u"<Translation 2:1-2>") != std::u16string::npos; }));
    Type(u"[QS2:5T]");
    ASSERT_TRUE(WaitFor([](const std::u16string& t) { return t.find(u"<Translation 2:5-5>") != std::u16string::npos; }));
    EXPECT_EQ(Text(), u"Text before (QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n"
                      u"(QS2. Al-Baqarah ayat 1-2)\n<Arabic 2:1-2>\n<Translation 2:1-2>\n"
                      u"(QS2. Al-Baqarah ayat 5)\n<Translation 2:5-5>\n");

    // Beyond the surah's verses, and above 114: the tags stay, the mode keeps working.
    Type(u"[QS2:300A] [QS115:1A]");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(Text().ends_with(u"\n[QS2:300A] [QS115:1A]"));
    Type(u" [QS2:7T]");
    ASSERT_TRUE(WaitFor([](const std::u16string& t) { return t.find(u"<Translation 2:7-7>") != std::u16string::npos; }));
    EXPECT_TRUE(Text().ends_with(u"\n[QS2:300A] [QS115:1A] (QS2. Al-Baqarah ayat 7)\n<Translation 2:7-7>\n"));

    // Switched off: nothing is replaced any more.
    Click();
    ASSERT_FALSE(mainThread_->Run([] { return AutoReplaceOn; }));
    Type(u"[QS2:5T]");
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(Text().ends_with(u"<Translation 2:7-7>\n[QS2:5T]"));
    EXPECT_TRUE(messages_.empty());
    std::printf("closing bracket to finished citation: %.1f ms\n", took->count());
}

TEST_F(AutoReplaceInOffice, NoDocumentEndsTheModeAtTheFirstTick) {
    office_->closeAllDocuments();
    Click();
    const auto deadline = Clock::now() + 2s;
    while (mainThread_->Run([] { return AutoReplaceOn; }) && Clock::now() < deadline) std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(mainThread_->Run([] { return AutoReplaceOn; }));
    EXPECT_EQ(mainThread_->Run([] { return AutoReplaceTimerId; }), 0u);
}

}  // namespace
}  // namespace mTarvelo
