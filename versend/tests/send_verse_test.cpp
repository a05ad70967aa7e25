#include "versend/tests/send_fixture.h"

namespace versend::testing {
namespace {

const QString kVerse = QStringLiteral("بِسْمِ اللَّهِ الرَّحْمَٰنِ الرَّحِيمِ");
const QString kFatiha = q(citationName(1));

TEST(LeadingValue, ReadsTheNumberATextBeginsWith) {
    EXPECT_EQ(leadingValue(QStringLiteral("16")), 16);
    EXPECT_EQ(leadingValue(QStringLiteral(" 1 6 pt")), 16);
    EXPECT_EQ(leadingValue(QStringLiteral("12.5")), 12.5);
    EXPECT_EQ(leadingValue(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(leadingValue(QStringLiteral("3.2.1")), 3.2);
    EXPECT_EQ(leadingValue(QStringLiteral("-4")), -4);
    EXPECT_EQ(leadingValue(QStringLiteral("abc")), 0);
    EXPECT_EQ(leadingValue(QStringLiteral("")), 0);
    EXPECT_EQ(leadingValue(QStringLiteral("٢٠")), 0);  // only ASCII digits make a number
}

TEST_F(SendTest, WholeVerseTypesTheTenPiecesAndShowsTheNotice) {
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    const QString citation = u'{' + kFatiha + QStringLiteral(":1}");
    EXPECT_EQ(word->edits(), pieces(16, QStringLiteral("["), kVerse, QStringLiteral("] "), 12, citation));
    EXPECT_EQ(documentText(), u(u'[' + kVerse + QStringLiteral("] ") + citation + u' '));
    EXPECT_TRUE(noticeShown());
    EXPECT_EQ(form->Timer1.interval(), 500);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(endCount, 0);
}

TEST_F(SendTest, TheSizeBoxesApplyToAWholeVerseOnlyAndSizesReachTheRightText) {
    form->ftx1.setText(QStringLiteral(" 20 pt"));
    form->ftx2.setText(QStringLiteral("10"));
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    for (const auto& run : word->document().runs()) {
        const bool citation = run.text.front() == u'{';
        EXPECT_EQ(run.format.sizeBi, citation ? 10 : 20) << std::string(run.text.begin(), run.text.end());
        EXPECT_EQ(run.format.bold, run.text == u(kVerse));
    }
    word->clearLog();
    markPart(kVerse, 0, 5);
    form->cmdcreate.click();
    EXPECT_EQ(word->edits().front(), u"SizeBi 16");
    EXPECT_EQ(word->edits()[6], u"SizeBi 12");
}

TEST_F(SendTest, PartOfAnOrdinaryVerseGetsTheMarkersOfWhereItStandsAndClosesThePartBox) {
    struct Row {
        int start, length;
        QString opening, closing;
    };
    const int L = static_cast<int>(kVerse.size());
    const QString stopsEarly = QStringLiteral("...]الآية. ");
    for (const Row& row :
         {Row{0, 5, QStringLiteral("["), stopsEarly}, Row{6, L - 6, QStringLiteral("[..."), QStringLiteral("]. ")},
          Row{6, 5, QStringLiteral("[..."), stopsEarly}}) {
        SCOPED_TRACE(row.start);
        setVerse(kVerse, 1, QStringLiteral("1"));
        form->DainCon.show();
        markPart(kVerse, row.start, row.length);
        if (word) word->clearLog();
        form->cmdcreate.click();
        EXPECT_EQ(word->edits(), pieces(16, row.opening, kVerse.mid(row.start, row.length), row.closing, 12,
                                        u'{' + kFatiha + QStringLiteral(":1}")));
        EXPECT_FALSE(isShown(form->Text5));
        EXPECT_TRUE(form->Text5.toPlainText().isEmpty());
        EXPECT_FALSE(isShown(form->DainCon));
    }
}

TEST_F(SendTest, Verse282UsesBothHalvesAndFixedSizes) {
    form->ftx1.setText(QStringLiteral("20"));
    form->ftx2.setText(QStringLiteral("10"));
    setVerse(QStringLiteral("نص الآية"), 2, QStringLiteral("282"));
    form->cmdcreate.click();
    EXPECT_EQ(word->edits(), pieces(16, QStringLiteral("["), testing::realVocalisedLine(7 + 281), QStringLiteral("] "),
                                    12, u'{' + q(citationName(2)) + QStringLiteral(":282}")));
}

TEST_F(SendTest, PartsOfTheHalvesOf282GetTheirMarkers) {
    const auto [first, second] = testing::realHalvesOf282();
    ASSERT_FALSE(second.isEmpty());
    struct Row {
        QString half;
        int start, length;
        QString opening, closing;
    };
    const int L1 = static_cast<int>(first.size()), L2 = static_cast<int>(second.size());
    for (const Row& row :
         {Row{first, 0, 4, QStringLiteral("["), QStringLiteral("...] ")},
          Row{first, 3, L1 - 3, QStringLiteral("[..."), QStringLiteral("...] ")},  // never the verse end
          Row{second, 2, L2 - 2, QStringLiteral("[..."), QStringLiteral("] ")},
          Row{second, 0, 3, QStringLiteral("[..."), QStringLiteral("...] ")}}) {
        SCOPED_TRACE(u(row.half).size() + row.start);
        setVerse(QStringLiteral("نص الآية"), 2, QStringLiteral("282"));
        markPart(row.half, row.start, row.length);
        if (word) word->clearLog();
        form->cmdcreate.click();
        EXPECT_EQ(word->edits(), pieces(16, row.opening, row.half.mid(row.start, row.length), row.closing, 12,
                                        u'{' + q(citationName(2)) + QStringLiteral(":282}")));
    }
}

TEST_F(SendTest, AnOpenPartBoxWithNothingMarkedIsEmptiedAndTheWholeVerseSent) {
    setVerse(kVerse, 1, QStringLiteral("1"));
    markPart(kVerse, 3, 0);
    form->cmdcreate.click();
    EXPECT_EQ(word->edits()[3], u"TypeText " + u(kVerse));
    EXPECT_TRUE(isShown(form->Text5));
    EXPECT_TRUE(form->Text5.toPlainText().isEmpty());
}

TEST_F(SendTest, NoCurrentVerseSendsNothingEvenWithCloseAfterSending) {
    setCheckValue(form->Check1, 1);
    for (const QString& verse : {QString(), QStringLiteral("Not Found")}) {
        setVerse(verse, 1, QStringLiteral("1"));
        markPart(kVerse, 2, 0);
        form->cmdcreate.click();
        EXPECT_TRUE(form->Text5.toPlainText().isEmpty());  // the box was emptied before the check
    }
    EXPECT_EQ(factoryCalls, 0);
    EXPECT_FALSE(noticeShown());
    EXPECT_EQ(endCount, 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SendTest, AFailureInTheMiddleKeepsWhatWasTypedAndShowsTheMessageOnly) {
    setCheckValue(form->Check1, 1);
    prepare = [](word::recording::Recorder& w) { w.failOn("SizeBi", 2); };  // the citation size
    setVerse(kVerse, 1, QStringLiteral("1"));
    markPart(kVerse, 0, 5);
    form->cmdcreate.click();
    EXPECT_EQ(documentText(), u(QStringLiteral("[") + kVerse.left(5) + QStringLiteral("...]الآية. ")));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("برنامج الوورد لا يعمل"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("Close Program"));
    EXPECT_FALSE(noticeShown());
    EXPECT_EQ(endCount, 0);
    EXPECT_TRUE(isShown(form->Text5));  // the part box stays as it was
    EXPECT_EQ(form->Text5.toPlainText(), kVerse);
}

TEST_F(SendTest, ABusyWordAndADocumentThatRefusesChangesHaveTheirOwnMessagesNeverNotRunning) {
    setCheckValue(form->Check1, 1);
    prepare = [](word::recording::Recorder& w) { w.failOn("TypeText", 2, word::Error::Reason::Busy); };
    setVerse(kVerse, 1, QStringLiteral("1"));
    markPart(kVerse, 0, 5);
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, kWordBusy);
    EXPECT_EQ(messages.messages[0].caption, kErrorCaption);
    EXPECT_NE(kWordBusy, kWordNotRunning);
    // As any failure: what was typed stays, the part box and the verse stay for the next press.
    EXPECT_EQ(documentText(), u"[");
    EXPECT_FALSE(noticeShown());
    EXPECT_EQ(endCount, 0);
    EXPECT_TRUE(isShown(form->Text5));
    EXPECT_EQ(form->Label2.text(), kVerse);

    word->setEditable(false);
    form->cmdcreate.click();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[1].text, kDocumentNotEditable);
    EXPECT_EQ(messages.messages[1].caption, kErrorCaption);
    EXPECT_EQ(documentText(), u"[");

    word->setEditable(true);
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(endCount, 1);
}

TEST_F(SendTest, ASizeThatWordRefusesFailsBeforeAnythingIsTyped) {
    form->ftx1.setText(QStringLiteral("big"));
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    EXPECT_EQ(word->edits(), (std::vector<std::u16string>{u"SizeBi 0 !"}));
    EXPECT_EQ(documentText(), u"");
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(SendTest, TwoSendsInARowFollowEachOtherThroughOneWordObject) {
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    setVerse(QStringLiteral("الْحَمْدُ"), 1, QStringLiteral("2"));
    form->cmdcreate.click();
    EXPECT_EQ(factoryCalls, 1);
    EXPECT_EQ(documentText(), u(u'[' + kVerse + QStringLiteral("] {") + kFatiha + QStringLiteral(":1} [الْحَمْدُ] {") +
                                kFatiha + QStringLiteral(":2} ")));
}

TEST_F(SendTest, AWordProcessorThatIsNotThereGivesTheMessageAndTheNextSendWorksOnceItIs) {
    prepare = [](word::recording::Recorder& w) { w.setRunning(false); };
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    word->setRunning(true);
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(noticeShown());
    // No factory at all is a failure too.
    form->wordGlobal.reset();
    form->wordGlobalFactory = nullptr;
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_F(SendTest, CloseAfterSendingEndsTheProgramAfterASend) {
    setCheckValue(form->Check1, 1);
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    EXPECT_EQ(endCount, 1);
}

TEST_F(SendTest, EnterInTheResultListSendsTheSelectedVerse) {
    startWithClipboard(QStringLiteral("الرحمن"));
    setCheckValue(form->Check2, 0);
    form->selectRow(0);
    if (word) word->clearLog();
    form->List1.setFocus();
    QTest::keyClick(&form->List1, Qt::Key_Return);
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->edits()[3], u"TypeText " + u(form->Label2.text()));
}

}  // namespace
}  // namespace versend::testing

namespace versend::testing {
namespace {

// A part marked in the part box belongs to the verse it was opened on: once a row selection or
// a search has closed the box, the next send is the whole of the new current verse.
TEST_F(SendTest, AClosedPartBoxSendsNoPartOfAnotherVerse) {
    startWithClipboard(QStringLiteral("الله"));
    setCheckValue(form->Check2, 0);
    const QString wholeOf = QStringLiteral("نَصُّ الآيَةِ %1");
    const auto openPartOnCurrentVerse = [this] {
        form->Label13_Click();  // the pop-up's "send a part"
        ASSERT_TRUE(isShown(form->Text5));
        markPart(form->Text5.toPlainText(), 2, 4);
    };
    const auto sentBody = [this] { return word->edits().at(3); };

    // Verse A is selected and a part of it marked; the user clicks row B and presses Enter.
    form->selectRow(0);
    openPartOnCurrentVerse();
    QTest::mouseClick(form->List1.viewport(), Qt::LeftButton, {}, form->List1.rowRect(1).center());
    ASSERT_EQ(form->Label5.text(), QStringLiteral("10"));
    QTest::keyClick(&form->List1, Qt::Key_Return);
    EXPECT_EQ(sentBody(), u"TypeText " + u(wholeOf.arg(QStringLiteral("2:10"))));
    EXPECT_EQ(word->edits().at(7), u"TypeText " + u(QStringLiteral("{البقرة:10}")));

    // A new search closes the box too.
    openPartOnCurrentVerse();
    form->Text1.setText(QStringLiteral(" الله "));
    form->Command1.click();
    word->clearLog();
    QTest::keyClick(&form->List1, Qt::Key_Return);
    EXPECT_EQ(sentBody(), u"TypeText " + u(wholeOf.arg(QStringLiteral("1:1"))));

    // And so does the search whose single hit is sent at once.
    openPartOnCurrentVerse();
    setCheckValue(form->Check2, 1);
    word->clearLog();
    form->Text1.setText(QStringLiteral(" الرحمن "));
    form->Command1.click();
    EXPECT_EQ(sentBody(), u"TypeText " + u(wholeOf.arg(QStringLiteral("1:1"))));
    EXPECT_EQ(word->edits().at(1), u"TypeText [");
}

// The keyboard layout group is the whole desktop's on X11: ending after a send gives the
// user's layout back before the program goes.
TEST_F(SendTest, CloseAfterSendingRestoresTheKeyboardLayoutFirst) {
    std::vector<std::string> callsAtEnd;
    form->endProgram = [&] { callsAtEnd = keyboard.calls; };
    setCheckValue(form->Check1, 1);
    keyboard.calls = {"arabic"};
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    EXPECT_EQ(callsAtEnd, (std::vector<std::string>{"arabic", "default"}));
}

// While a send reaches the word processor (which may first have to be started) the window
// shows the busy picture and a wait cursor; both go when the send is over, also after a failure.
TEST_F(SendTest, TheWindowShowsItIsBusyWhileTheSendReachesTheWordProcessor) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    bool busyWhileConnecting = false;
    prepare = [&](word::recording::Recorder&) {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        busyWhileConnecting = cursor && cursor->shape() == Qt::WaitCursor &&
                              form->Image1.pixmap().toImage() == form->Image2.pixmap().toImage();
    };
    setCheckValue(form->Check1, 0);
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    EXPECT_TRUE(busyWhileConnecting);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form->Image1.pixmap().toImage(), form->Image3.pixmap().toImage());

    form->wordGlobal.reset();
    form->wordGlobalFactory = []() -> std::unique_ptr<word::Global> { throw word::Error("cannot start"); };
    form->cmdcreate.click();
    EXPECT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A user who presses Enter again, or clicks, while a send waits for the word processor gets one
// verse in the document, not two: what reached the window during the send is dropped. Keys
// pressed after the send work as ever.
TEST_F(SendTest, KeysPressedWhileASendWaitsAreDroppedNotSentAgain) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    setCheckValue(form->Check1, 0);
    form->List1.setFocus();
    prepare = [&](word::recording::Recorder&) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(&form->List1,
                                        std::make_unique<QKeyEvent>(type, Qt::Key_Return, Qt::NoModifier).release());
        QCoreApplication::postEvent(
            &form->cmdcreate, std::make_unique<QMouseEvent>(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier)
                                  .release());
    };
    setVerse(kVerse, 1, QStringLiteral("1"));
    form->cmdcreate.click();
    QCoreApplication::processEvents();
    const std::u16string once = u(u'[' + kVerse + QStringLiteral("] {") + kFatiha + QStringLiteral(":1} "));
    EXPECT_EQ(documentText(), once);

    QTest::keyClick(&form->List1, Qt::Key_Return);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(documentText(), once + once);
}

}  // namespace
}  // namespace versend::testing
