// Sending from Versend's window into Word, end to end under Wine: the window's send path through
// the Word backend (the same connection Versend.exe makes) into the Word stand-in, a separate
// process found in the running object table; the stand-in's document is read back run by run.
// The same pieces, bold runs and sizes as the sending tests against a real Writer.
#include "versend/tests/send_fixture.h"
#include "versend/windows/word_connection.h"
#include "word/com/busy.h"
#include "word/com/standin/control_surface.h"

#include <QGuiApplication>

#include <chrono>

namespace versend::testing {
namespace {

using namespace std::chrono_literals;
using word::com::standin::programFolder;
using word::com::standin::StandinProcess;

// What a stretch of the document must look like: its text, bold or not, and its size (the size
// of right-to-left text, Font.SizeBi, which is what Versend sets).
struct Stretch {
    QString text;
    bool bold;
    float size;
};

const QString kBismillah = QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَٰنِ الرَّحِيمِ");

class WordSendTest : public SendTest {
protected:
    void SetUp() override {
        SendTest::SetUp();
        apartment = std::make_unique<word::com::Apartment>();
        standin = std::make_unique<StandinProcess>(programFolder() / "WordStandin.exe");
        form->wordGlobalFactory = [this] {
            ++factoryCalls;
            return attachToWord([this] { whileWaiting(); });
        };
    }
    void TearDown() override {
        SendTest::TearDown();  // the window releases Word's objects first
        standin.reset();
        apartment.reset();
    }

    // The document's characters, stretch by stretch: text, bold and size; one paragraph.
    void expectDocument(const std::vector<Stretch>& stretches) {
        std::u16string expected;
        for (const auto& stretch : stretches) expected += u(stretch.text);
        ASSERT_EQ(standin->text(), expected);
        std::vector<word::recording::Char> chars;
        for (const auto& run : standin->runs())
            for (char16_t c : run.text) chars.push_back({c, run.format});
        ASSERT_GE(chars.size(), expected.size());
        std::size_t at = 0;
        for (const auto& stretch : stretches) {
            for (qsizetype i = 0; i < stretch.text.size(); ++i, ++at) {
                SCOPED_TRACE(::testing::Message()
                             << "character " << at << " in \"" << stretch.text.toStdString() << '"');
                EXPECT_EQ(chars[at].format.bold, stretch.bold);
                EXPECT_FLOAT_EQ(chars[at].format.sizeBi, stretch.size);
            }
        }
    }

    // Range mode with surah `surah` listed.
    void listSurah(int surah) {
        startWithClipboard(QStringLiteral("لا شيء هنا"));
        form->Label23_Click();
        form->Combo1.setCurrentIndex(surah);
        emit form->Combo1.activated(surah);
    }

    QString citation(int surah, const QString& number) const {
        return u'{' + q(citationName(surah)) + u':' + number + u'}';
    }

    // What a send waiting for a busy Word does meanwhile, as Versend.exe does: the window paints;
    // it is shown, with the busy picture and the wait cursor.
    void whileWaiting() {
        form->keepPaintingWhileWaiting();
        ++waits;
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyLook = busyLook && form->isVisible() &&
                   form->Image1.pixmap().cacheKey() == form->Image2.pixmap().cacheKey() && cursor &&
                   cursor->shape() == Qt::WaitCursor;
    }

    // Verse 1:1 as the current verse, with a part inside it marked in the part box.
    void markPartOfVerse1() {
        setVerse(kBismillah, 1, QStringLiteral("1"));
        markPart(kBismillah, 7, 8);
    }
    // The document after that part was sent.
    std::vector<Stretch> sentPartOfVerse1() const {
        return {{QStringLiteral("[..."), false, 16},
                {kBismillah.mid(7, 8), true, 16},
                {QStringLiteral("...]الآية. "), false, 16},
                {citation(1, QStringLiteral("1")), false, 12},
                {QStringLiteral(" "), false, 16}};
    }

    // The document after a whole-verse send of `verse` as verse 1:`number`, sizes 16 and 12.
    std::vector<Stretch> sentVerse(const QString& verse, const QString& number = QStringLiteral("2")) const {
        return {{QStringLiteral("["), false, 16},
                {verse, true, 16},
                {QStringLiteral("] "), false, 16},
                {citation(1, number), false, 12},
                {QStringLiteral(" "), false, 16}};
    }

    std::unique_ptr<word::com::Apartment> apartment;  // this thread's, as Versend.exe's window has one
    std::unique_ptr<StandinProcess> standin;
    int waits = 0;
    bool busyLook = true;
};

TEST_F(WordSendTest, AWholeVerseIsSentWithBoldVerseAndBothSizes) {
    startWithClipboard(QStringLiteral("الرحمن"));  // only verse 1:1 holds it: sent at once
    const QString verse = fixture.vocalised[0];
    ASSERT_EQ(form->Label2.text(), verse);
    expectDocument(sentVerse(verse, QStringLiteral("1")));
    EXPECT_TRUE(noticeShown());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(factoryCalls, 1);
}

TEST_F(WordSendTest, APartGetsItsMarkersAndTheFixedSizes) {
    form->ftx1.setText(QStringLiteral("20"));
    form->ftx2.setText(QStringLiteral("10"));
    markPartOfVerse1();
    form->cmdcreate.click();
    expectDocument(sentPartOfVerse1());
}

TEST_F(WordSendTest, Verse282ArrivesWithBothHalvesJoined) {
    setVerse(QStringLiteral("نص"), 2, QStringLiteral("282"));
    form->cmdcreate.click();
    expectDocument({{QStringLiteral("["), false, 16},
                    {form->Dain1.text() + form->Dain2.text(), true, 16},
                    {QStringLiteral("] "), false, 16},
                    {citation(2, QStringLiteral("282")), false, 12},
                    {QStringLiteral(" "), false, 16}});
}

TEST_F(WordSendTest, ARangeHasEveryVerseNumberAndTheSurahNameAfterIt) {
    listSurah(2);
    form->ftx1.setText(QStringLiteral("18"));
    form->ftx2.setText(QStringLiteral("11"));
    form->Text3.setText(QStringLiteral("1"));
    form->Text4.setText(QStringLiteral("5"));
    form->Command6.click();
    QString body;
    for (int verse = 1; verse <= 5; ++verse)
        body += fixture.vocalised[7 + verse - 1] + QStringLiteral("(%1) ").arg(verse);
    expectDocument({{QStringLiteral("["), false, 18},
                    {body, true, 18},
                    {QStringLiteral("]. "), false, 18},
                    {u'{' + q(citationName(2)) + QStringLiteral("}."), false, 11},
                    {QStringLiteral(" "), false, 18}});
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(WordSendTest, NoDocumentGivesTheMessageAndTheNextSendWorksOnceOneIsOpen) {
    standin->closeDocument();
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("2"));
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordNotRunning);
    EXPECT_EQ(messages.messages[0].caption, kWordNotRunningCaption);
    EXPECT_FALSE(noticeShown());

    standin->newDocument();
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(standin->text(), u(u'[' + verse + QStringLiteral("] ") + citation(1, QStringLiteral("2")) + u' '));
}

TEST_F(WordSendTest, WordClosedBetweenTwoSendsFailsWithTheMessageAndTheNextWorksOnceItRunsAgain) {
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("2"));
    form->cmdcreate.click();
    ASSERT_TRUE(messages.messages.empty());

    standin->quit();
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordNotRunning);

    standin = std::make_unique<StandinProcess>(programFolder() / "WordStandin.exe");
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(standin->text(), u(u'[' + verse + QStringLiteral("] ") + citation(1, QStringLiteral("2")) + u' '));
}

TEST_F(WordSendTest, AVerseAPartAndARangeSentWhileWordIsBusyForASecondArriveOnceAsUsual) {
    // The direct send at start-up, before the window was first shown: it is shown while the send
    // waits.
    standin->busy(1s);
    startWithClipboard(QStringLiteral("الرحمن"));  // only verse 1:1 holds it: sent at once
    expectDocument(sentVerse(fixture.vocalised[0], QStringLiteral("1")));
    EXPECT_TRUE(noticeShown());
    const long refusedForTheVerse = standin->refusedCalls();
    EXPECT_GT(refusedForTheVerse, 0);

    standin->newDocument();
    markPartOfVerse1();
    standin->busy(1s);
    form->cmdcreate.click();
    expectDocument(sentPartOfVerse1());
    EXPECT_FALSE(isShown(form->Text5));
    EXPECT_GT(standin->refusedCalls(), refusedForTheVerse);

    standin->newDocument();
    listSurah(2);
    form->Text3.setText(QStringLiteral("3"));
    form->Text4.setText(QStringLiteral("4"));
    form->Check1.setChecked(true);
    const int endedBefore = endCount;
    standin->busy(1s);
    form->Command6.click();
    const QString body =
        fixture.vocalised[7 + 2] + QStringLiteral("(3) ") + fixture.vocalised[7 + 3] + QStringLiteral("(4) ");
    expectDocument({{QStringLiteral("["), false, 16},
                    {body, true, 16},
                    {QStringLiteral("]. "), false, 16},
                    {u'{' + q(citationName(2)) + QStringLiteral("}."), false, 12},
                    {QStringLiteral(" "), false, 16}});
    EXPECT_EQ(endCount, endedBefore + 1);  // closed after sending, once Word took the send

    EXPECT_TRUE(messages.messages.empty());
    EXPECT_GT(waits, 0);
    EXPECT_TRUE(busyLook);
    EXPECT_EQ(factoryCalls, 1);
}

TEST_F(WordSendTest, WordBusyBeyondTheLimitGivesTheBusyMessageAndTheNextSendAfterItGoesThroughOnce) {
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("2"));
    const auto busyPeriod = 20s;
    const auto start = std::chrono::steady_clock::now();
    standin->busy(busyPeriod);
    form->cmdcreate.click();
    const auto waited = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordBusy);
    EXPECT_EQ(messages.messages[0].caption, kErrorCaption);
    EXPECT_GE(waited, word::com::kBusyLimit);
    EXPECT_LT(waited, busyPeriod);
    EXPECT_FALSE(noticeShown());
    EXPECT_TRUE(busyLook);
    // The verse stays the current one: the next press sends it.
    EXPECT_EQ(form->Label2.text(), verse);

    word::com::standin::pumpMessagesUntil([] { return false; },
                                          std::chrono::duration_cast<std::chrono::milliseconds>(
                                              busyPeriod - (std::chrono::steady_clock::now() - start) + 200ms));
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    expectDocument(sentVerse(verse));
    EXPECT_TRUE(noticeShown());
}

TEST_F(WordSendTest, ADocumentThatRefusesChangesGivesItsMessageAndNothingIsTyped) {
    const QString verse = QStringLiteral("نَصٌّ");
    setVerse(verse, 1, QStringLiteral("2"));
    standin->setEditable(false);
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kDocumentNotEditable);
    EXPECT_EQ(messages.messages[0].caption, kErrorCaption);
    EXPECT_EQ(standin->text(), u"");
    EXPECT_FALSE(noticeShown());

    standin->setEditable(true);
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    expectDocument(sentVerse(verse));
}

}  // namespace
}  // namespace versend::testing
