// Sending from Versend's window into a real headless Writer, read back through the office.
#include "versend/tests/send_fixture.h"
#include "word/libreoffice/libreoffice.h"
#include "word/testing/office.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XStorable.hpp>

#include <QElapsedTimer>
#include <QTimer>

#include <unistd.h>

namespace versend::testing {
namespace {

namespace css = ::com::sun::star;

// What a stretch of the document must look like: its text, bold or not, and its size (Western and
// complex script alike).
struct Stretch {
    QString text;
    bool bold;
    float size;
};

// Checks the document's only paragraph character by character against the stretches.
void expectDocument(const css::uno::Reference<css::text::XTextDocument>& document,
                    const std::vector<Stretch>& stretches) {
    const auto paragraphs = word::testing::readDocument(document);
    ASSERT_EQ(paragraphs.size(), 1u);
    const auto& paragraph = paragraphs[0];
    std::u16string expected;
    for (const auto& stretch : stretches) expected += u(stretch.text);
    ASSERT_EQ(paragraph.text, expected);
    std::size_t at = 0;
    for (const auto& stretch : stretches) {
        for (qsizetype i = 0; i < stretch.text.size(); ++i, ++at) {
            const auto& c = paragraph.chars[at];
            SCOPED_TRACE(::testing::Message() << "character " << at << " in \"" << stretch.text.toStdString() << '"');
            EXPECT_EQ(c.bold, stretch.bold);
            EXPECT_EQ(c.boldComplex, stretch.bold);
            EXPECT_FLOAT_EQ(c.height, stretch.size);
            EXPECT_FLOAT_EQ(c.heightComplex, stretch.size);
        }
    }
}

// The window of the sending tests, sending into the office `office()` over its pipe.
class OfficeSendTest : public SendTest {
protected:
    void SetUp() override {
        SendTest::SetUp();
        document = office().newWriterDocument();
        form->wordGlobalFactory = [this] {
            ++factoryCalls;
            return word::libreoffice::connectOverPipe(pipeOptions());
        };
    }
    void TearDown() override {
        SendTest::TearDown();  // the window releases its office objects first
        document.clear();
        if (!office().running()) return;
        try {
            office().closeAllDocuments();
        } catch (const css::uno::Exception&) {
            // the office may have gone with a failed test; it is stopped at the end anyway
        }
    }

    virtual word::testing::Office& office() { return word::testing::sharedOffice(); }

    word::libreoffice::PipeOptions pipeOptions() { return office().pipeOptions(std::chrono::milliseconds(5000)); }

    // Range mode with surah `surah` listed.
    void listSurah(int surah) {
        startWithClipboard(QStringLiteral("لا شيء هنا"));
        form->Label23_Click();
        form->Combo1.setCurrentIndex(surah);
        emit form->Combo1.activated(surah);
    }

    // The send failed with exactly this message, typed nothing and showed no notice.
    void expectRefusedWith(const QString& text, const QString& caption) {
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, text);
        EXPECT_EQ(messages.messages[0].caption, caption);
        EXPECT_EQ(word::testing::documentText(document), u"");
        EXPECT_FALSE(noticeShown());
    }

    QString citation(int surah, const QString& number) const {
        return u'{' + q(citationName(surah)) + u':' + number + u'}';
    }

    css::uno::Reference<css::text::XTextDocument> document;
};

TEST_F(OfficeSendTest, ASingleHitAtStartUpIsSentWithBoldVerseAndBothSizes) {
    // Start-up applies the default settings: sizes 16 and 12, direct send on.
    startWithClipboard(QStringLiteral("الرحمن"));  // only verse 1:1 holds it: sent at once
    const QString verse = fixture.vocalised[0];
    ASSERT_EQ(form->Label2.text(), verse);
    expectDocument(document, {{QStringLiteral("["), false, 16},
                              {verse, true, 16},
                              {QStringLiteral("] "), false, 16},
                              {citation(1, QStringLiteral("1")), false, 12},
                              {QStringLiteral(" "), false, 16}});
    EXPECT_TRUE(noticeShown());
    EXPECT_TRUE(messages.messages.empty());

    // Enter in the list sends it again, right after the first.
    form->List1.setFocus();
    QTest::keyClick(&form->List1, Qt::Key_Return);
    EXPECT_EQ(word::testing::documentText(document),
              u(QStringLiteral("[%1] %2 [%1] %2 ").arg(verse, citation(1, QStringLiteral("1")))));
    EXPECT_EQ(factoryCalls, 1);
}

TEST_F(OfficeSendTest, APartGetsItsMarkersAndTheFixedSizes) {
    form->ftx1.setText(QStringLiteral("20"));
    form->ftx2.setText(QStringLiteral("10"));
    const QString verse = QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَٰنِ الرَّحِيمِ");
    setVerse(verse, 1, QStringLiteral("1"));
    markPart(verse, 7, 8);  // inside the verse
    form->cmdcreate.click();
    expectDocument(document, {{QStringLiteral("[..."), false, 16},
                              {verse.mid(7, 8), true, 16},
                              {QStringLiteral("...]الآية. "), false, 16},
                              {citation(1, QStringLiteral("1")), false, 12},
                              {QStringLiteral(" "), false, 16}});
    EXPECT_FALSE(isShown(form->Text5));
}

TEST_F(OfficeSendTest, Verse282ArrivesWithBothHalvesJoined) {
    setVerse(QStringLiteral("نص"), 2, QStringLiteral("282"));
    form->cmdcreate.click();
    expectDocument(document, {{QStringLiteral("["), false, 16},
                              {testing::realVocalisedLine(7 + 281), true, 16},
                              {QStringLiteral("] "), false, 16},
                              {citation(2, QStringLiteral("282")), false, 12},
                              {QStringLiteral(" "), false, 16}});
}

TEST_F(OfficeSendTest, ARangeHasEveryVerseNumberAndTheSurahNameAfterIt) {
    listSurah(2);
    form->ftx1.setText(QStringLiteral("18"));
    form->ftx2.setText(QStringLiteral("11"));
    form->Text3.setText(QStringLiteral("9"));
    form->Text4.setText(QStringLiteral("11"));
    form->Command6.click();
    QString body;
    for (int verse = 9; verse <= 11; ++verse)
        body += fixture.vocalised[7 + verse - 1] + QStringLiteral("(%1) ").arg(verse);
    expectDocument(document, {{QStringLiteral("["), false, 18},
                              {body, true, 18},
                              {QStringLiteral("]. "), false, 18},
                              {u'{' + q(citationName(2)) + QStringLiteral("}."), false, 11},
                              {QStringLiteral(" "), false, 18}});
    EXPECT_EQ(form->Label5.text(), QStringLiteral("11"));
}

TEST_F(OfficeSendTest, AnUnusableSizeFailsWithTheMessageAndTypesNothing) {
    form->ftx1.setText(QStringLiteral("none"));
    setVerse(QStringLiteral("نص"), 1, QStringLiteral("1"));
    form->cmdcreate.click();
    expectRefusedWith(kWordNotRunning, kWordNotRunningCaption);
}

TEST_F(OfficeSendTest, ADocumentOpenedReadOnlyGivesItsMessageAndNothingIsTyped) {
    // The blank document stored, and opened again for reading only: it is the active one.
    const std::string url = "file://" + (folder / "read-only.odt").string();
    css::uno::Reference<css::frame::XStorable>(document, css::uno::UNO_QUERY_THROW)
        ->storeToURL(rtl::OUString::createFromAscii(url.c_str()), {});
    office().closeAllDocuments();
    css::uno::Sequence<css::beans::PropertyValue> readOnly(1);
    readOnly[0].Name = "ReadOnly";
    readOnly[0].Value <<= true;
    document.set(
        office().desktop()->loadComponentFromURL(rtl::OUString::createFromAscii(url.c_str()), "_blank", 0, readOnly),
        css::uno::UNO_QUERY_THROW);

    setVerse(QStringLiteral("نص"), 1, QStringLiteral("1"));
    form->cmdcreate.click();
    expectRefusedWith(kDocumentNotEditable, kErrorCaption);
}

// Writer is closed between two sends, with an office of this test's own.
class OfficeClosedTest : public OfficeSendTest {
protected:
    word::testing::Office& office() override { return ownOffice; }
    word::testing::Office ownOffice;
};

TEST_F(OfficeClosedTest, TheSendAfterWriterWasClosedFailsAndTheNextWorksOnceItRunsAgain) {
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("2"));
    form->cmdcreate.click();
    ASSERT_TRUE(messages.messages.empty());

    ownOffice.stop();
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordNotRunning);

    ownOffice.start();
    document = ownOffice.newWriterDocument();
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(word::testing::documentText(document),
              u(u'[' + verse + QStringLiteral("] ") + citation(1, QStringLiteral("2")) + u' '));
    EXPECT_EQ(factoryCalls, 1);  // the same word object, connected again
}

// Writer does not run at the first send: the send starts it (here the test's own office, on its
// pipe) while the window keeps painting with a wait cursor, and sends into a blank document.
class OfficeStartedBySendTest : public SendTest {
protected:
    void SetUp() override {
        SendTest::SetUp();
        ownOffice.stop();
        form->wordGlobalFactory = [this] {
            ++factoryCalls;
            auto options = ownOffice.pipeOptions(std::chrono::milliseconds(60'000));
            options.launch = [this](std::string_view) {
                ++launches;
                ownOffice.start();
            };
            word::libreoffice::LaunchOptions launching;
            launching.whileWaiting = [this] { form->keepPaintingWhileWaiting(); };
            launching.newDocumentAfterLaunch = true;
            return word::libreoffice::connectOverPipe(std::move(options), std::move(launching));
        };
    }
    // The text documents open in the office.
    std::vector<css::uno::Reference<css::text::XTextDocument>> textDocuments() {
        std::vector<css::uno::Reference<css::text::XTextDocument>> documents;
        auto components = ownOffice.desktop()->getComponents()->createEnumeration();
        while (components->hasMoreElements()) {
            css::uno::Reference<css::text::XTextDocument> document(components->nextElement(), css::uno::UNO_QUERY);
            if (document.is()) documents.push_back(document);
        }
        return documents;
    }
    word::testing::Office ownOffice;
    int launches = 0;
};

TEST_F(OfficeStartedBySendTest, TheFirstSendStartsWriterAndSendsIntoABlankDocument) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    setCheckValue(form->Check1, 0);
    int ticks = 0;
    bool waitCursor = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        waitCursor = waitCursor || (cursor && cursor->shape() == Qt::WaitCursor);
    });
    ticker.start(20);
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("3"));
    form->cmdcreate.click();
    ticker.stop();

    EXPECT_EQ(launches, 1);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_GT(ticks, 0) << "the window did not run its events while Writer started";
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(noticeShown());
    const auto documents = textDocuments();
    ASSERT_EQ(documents.size(), 1u);
    EXPECT_EQ(word::testing::documentText(documents[0]), u(u'[' + verse + QStringLiteral("] {الفاتحة:3} ")));
}

// A word processor that cannot be started gives the failure message at once.
TEST_F(SendTest, AWordProcessorThatCannotBeStartedGivesTheMessageAtOnce) {
    form->wordGlobalFactory = [] {
        word::libreoffice::PipeOptions options;
        options.pipeName = "versend_nothing_here_" + std::to_string(::getpid());
        options.launch = [](std::string_view) { throw word::Error("the word processor is not installed"); };
        return word::libreoffice::connectOverPipe(std::move(options),
                                                  {.whileWaiting = {}, .newDocumentAfterLaunch = true});
    };
    setVerse(QStringLiteral("نص"), 1, QStringLiteral("1"));
    QElapsedTimer clock;
    clock.start();
    form->cmdcreate.click();
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordNotRunning);
    EXPECT_FALSE(noticeShown());
}

}  // namespace
}  // namespace versend::testing
