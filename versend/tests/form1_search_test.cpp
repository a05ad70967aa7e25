// The window over the verse store: start-up, word search, surah listing, row selection, keys,
// the notice panel and keyboard layouts.
#include "versend/surah_names.h"
#include "versend/tests/form1_fixture.h"
#include "versend/texts.h"

#include <QTest>

namespace versend {
namespace {

using testing::Form1Test;
using testing::VerseFixture;

template <typename List>
QString rowText(const List& list, int row) {
    return list.text(row);
}

void typeArabic(QWidget& target, const QString& text) {
    for (QChar ch : text) QTest::sendKeyEvent(QTest::Click, &target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

TEST_F(Form1Test, StartUpSearchesTheClipboardAndSelectsTheFirstHit) {
    startWithClipboard(QStringLiteral("الله"));
    EXPECT_EQ(startQuery, QStringLiteral(" الله "));
    EXPECT_EQ(form->Text1.text(), startQuery);  // the list, not the query box, has the focus
    ASSERT_EQ(form->List1.count(), VerseFixture::godCount());
    EXPECT_EQ(form->List2.count(), form->List1.count());
    EXPECT_EQ(form->List3.count(), form->List1.count());
    EXPECT_EQ(form->Label9.text(), QString::number(VerseFixture::godCount()));
    EXPECT_EQ(form->Label1.text(), form->Label9.text());
    // Rows stay in file order: 1:1 first, then surah 2, then 114:1.
    EXPECT_EQ(rowText(form->List1, 0), QStringLiteral(" بسم الله الرحمن الرحيم 1"));
    EXPECT_EQ(rowText(form->List3, 1), QStringLiteral("002"));
    EXPECT_EQ(rowText(form->List1, 1), QStringLiteral(" قال الله كلمة 10"));
    EXPECT_EQ(rowText(form->List3, form->List3.count() - 1), QStringLiteral("114"));
    // The first hit is the current verse and the list has the focus.
    EXPECT_EQ(form->List1.currentRow(), 0);
    EXPECT_EQ(form->Label2.text(), QStringLiteral("نَصُّ الآيَةِ 1:1"));
    EXPECT_EQ(form->Label4.text(), QStringLiteral("الفاتحة"));
    EXPECT_EQ(form->Label5.text(), QStringLiteral("1"));
    EXPECT_EQ(form->currentSurah(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->focusWidget(), &form->List1);
    EXPECT_TRUE(isShown(form->List1));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Form1Test, StartUpQueryLengthLimit) {
    // 498 characters padded to 500 are searched; 499 padded to 501 are dropped with no search.
    startWithClipboard(QString(498, QChar(u'ب')));
    EXPECT_EQ(startQuery.size(), 500);
    EXPECT_EQ(form->Label9.text(), QStringLiteral("0"));
    EXPECT_EQ(form->Label10.text(), QStringLiteral("غير موجودة"));
    EXPECT_TRUE(isShown(form->Picture1));

    Form1 second(folder);
    second.messageBox = &messages;
    second.keyboardLayout = &keyboard;
    second.settingsFile = folder / "Versend.ini";
    second.clipboard->setText(QString(499, QChar(u'ب')));
    second.Form_Load();
    EXPECT_TRUE(second.Text1.text().isEmpty());
    EXPECT_EQ(second.Label3.text(), QString());  // no scan ran
    EXPECT_EQ(second.List1.count(), 0);
}

TEST_F(Form1Test, EmptyClipboardSearchesForTwoBlanks) {
    startWithClipboard(QString());
    EXPECT_EQ(startQuery, QStringLiteral("  "));
    ASSERT_EQ(form->List1.count(), 1);  // only 3:2 has two blanks in a row
    EXPECT_EQ(form->rowSurahNumber(0), 3);
    EXPECT_EQ(form->rowVerseNumber(0), QStringLiteral("2"));
}

TEST_F(Form1Test, EnterInTheQueryBoxPadsAndSearches) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    form->Text1.setFocus();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" "));  // focus leaves one blank
    EXPECT_EQ(keyboard.calls.back(), "arabic");
    form->Text1.setText(QStringLiteral("الرحمن "));
    QTest::keyClick(&form->Text1, Qt::Key_Return);
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" الرحمن "));
    ASSERT_EQ(form->List1.count(), 1);
    EXPECT_EQ(form->Label5.text(), QStringLiteral("1"));

    // A typed Arabic word arrives character by character.
    form->Text1.setFocus();
    form->Text1.setText(QString());
    typeArabic(form->Text1, QStringLiteral("عادية "));
    QTest::keyClick(&form->Text1, Qt::Key_Return);
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" عادية "));
    EXPECT_EQ(form->List1.count(), 304 - VerseFixture::godCount() - 1);
}

// The query box empties itself when the focus moves into it inside the window, not when the
// window comes back to the front: a word typed but not yet searched survives a look at another
// program.
TEST_F(Form1Test, AWordTypedButNotSearchedSurvivesASwitchToAnotherWindow) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    ASSERT_TRUE(activated) << "the window could not be made the active one";
    form->List1.setFocus();
    QTest::mouseClick(&form->Text1, Qt::LeftButton);  // into the box: one blank
    ASSERT_TRUE(form->Text1.hasFocus());
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" "));
    QCoreApplication::processEvents();
    // What the user types goes in front of the blank.
    typeArabic(form->Text1, QStringLiteral("الرحمن"));
    EXPECT_EQ(form->Text1.text(), QStringLiteral("الرحمن "));
    // So does a click into the box that has the focus already and holds only its blank.
    form->Text1.setText(QStringLiteral(" "));
    form->Text1.setCursorPosition(1);
    QTest::mouseClick(&form->Text1, Qt::LeftButton, {}, QPoint(5, form->Text1.height() / 2));
    EXPECT_EQ(form->Text1.cursorPosition(), 0);
    form->Text1.setText(QStringLiteral("الرحمن "));

    QWidget other;  // another program's window in front, then ours again
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_TRUE(form->Text1.hasFocus());
    EXPECT_EQ(form->Text1.text(), QStringLiteral("الرحمن "));
    QTest::keyClick(&form->Text1, Qt::Key_Return);
    EXPECT_EQ(form->List1.count(), 1);

    // Moving into the box with Tab empties it again.
    form->Text1.setText(QStringLiteral("كلمة "));
    form->Command1.setFocus();
    form->Text1.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" "));
}

TEST_F(Form1Test, SearchQueriesMatchTheWholeLineExactly) {
    startWithClipboard(QStringLiteral("الله"));
    form->Text1.setText(QStringLiteral(" "));
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 304);  // every line has a blank
    form->Text1.setText(QStringLiteral("114"));
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 6 + 1);  // the surah code of 114, and verse 114 of surah 2
    // A shadda makes a different text for the exact search: only the forgiving search finds it.
    form->Text1.setText(QStringLiteral(" اللّه "));
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), VerseFixture::godCount());
    EXPECT_TRUE(isShown(form->FoldedSign));
    form->Text1.setText(QStringLiteral(" ﷲ "));  // outside the files' code page: no hit, no failure
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 0);
    EXPECT_EQ(form->Label3.text(), QStringLiteral("304"));
    EXPECT_TRUE(messages.messages.empty());
}

// What the exact search cannot find, the forgiving one finds: the query box keeps what was typed,
// and a sign beside the count says where the rows come from until the next exact search or listing.
TEST_F(Form1Test, ALooselyTypedQueryIsFoundByTheForgivingSearchWithASign) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    EXPECT_FALSE(isShown(form->FoldedSign));
    setCheckValue(form->Check2, 0);
    form->Text1.setFocus();
    typeArabic(form->Text1, QStringLiteral("قال اللـهُ"));  // tatweel and a damma
    QTest::keyClick(&form->Text1, Qt::Key_Return);
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" قال اللـهُ "));
    ASSERT_EQ(form->List1.count(), 28 + 1);  // every tenth verse of surah 2, and 114:1
    EXPECT_EQ(form->Label9.text(), QStringLiteral("29"));
    EXPECT_EQ(form->List1.currentRow(), 0);
    EXPECT_EQ(form->Label2.text(), QStringLiteral("نَصُّ الآيَةِ 2:10"));
    EXPECT_TRUE(isShown(form->FoldedSign));
    EXPECT_EQ(form->FoldedSign.text(), kFoldedSearchSign);
    // Beside the count, inside the search column, clear of the count.
    const QRect sign = form->FoldedSign.geometry();
    EXPECT_TRUE(form->Picture7.rect().contains(sign));
    EXPECT_EQ(sign.y(), form->Label9.y());
    EXPECT_FALSE(sign.intersects(form->Label9.geometry()));

    form->Text1.setText(QStringLiteral(" قال الله "));  // written as in the file: exact, no sign
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 29);
    EXPECT_FALSE(isShown(form->FoldedSign));

    form->Text1.setText(QStringLiteral(" قال اللـهُ "));
    form->Command1.click();
    EXPECT_TRUE(isShown(form->FoldedSign));
    form->Command4.click();  // a surah listing takes the sign away too
    EXPECT_FALSE(isShown(form->FoldedSign));
    form->Text1.setText(QStringLiteral(" قال اللـهُ "));
    form->Command1.click();
    form->Text1.setText(QStringLiteral(" لا يوجد "));  // and so does a search that finds nothing
    form->Command1.click();
    EXPECT_FALSE(isShown(form->FoldedSign));
}

TEST_F(Form1Test, ALooseClipboardTextWithOneHitIsSentAtOnce) {
    // Tatweel and a superscript alef, which the verse files' code page does not even hold.
    startWithClipboard(QStringLiteral("بسم اللـه الرحمٰن"));
    ASSERT_EQ(form->List1.count(), 1);
    EXPECT_EQ(sendCount, 1);  // direct send is on by default
    EXPECT_EQ(form->Label2.text(), QStringLiteral("نَصُّ الآيَةِ 1:1"));
    EXPECT_TRUE(isShown(form->FoldedSign));
    EXPECT_EQ(form->Text1.text(), QStringLiteral(" بسم اللـه الرحمٰن "));
}

TEST_F(Form1Test, AQueryOfOnlyMarksOrTatweelFindsNothing) {
    startWithClipboard(QStringLiteral("الله"));
    for (const QString& query :
         {QStringLiteral(" َ "), QStringLiteral("ـ"), QStringLiteral("ًّ"), QStringLiteral(" ـُ ")}) {
        form->Text1.setText(query);
        form->Command1.click();
        EXPECT_EQ(form->List1.count(), 0) << query.toStdString();
        EXPECT_EQ(form->Label10.text(), QStringLiteral("غير موجودة"));
        EXPECT_FALSE(isShown(form->FoldedSign));
    }
    form->Text1.setFocus();
    typeArabic(form->Text1, QStringLiteral("ـَ"));
    QTest::keyClick(&form->Text1, Qt::Key_Return);
    EXPECT_EQ(form->List1.count(), 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Form1Test, NoHitEmptiesTheVerseButKeepsItsCitation) {
    startWithClipboard(QStringLiteral("الله"));
    form->Text1.setText(QStringLiteral(" لا يوجد "));
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 0);
    EXPECT_TRUE(form->Label2.text().isEmpty());
    EXPECT_EQ(form->Label4.text(), QStringLiteral("الفاتحة"));
    EXPECT_EQ(form->Label5.text(), QStringLiteral("1"));
    EXPECT_EQ(form->Label10.text(), QStringLiteral("غير موجودة"));
    EXPECT_EQ(form->Timer1.interval(), 500);
}

TEST_F(Form1Test, DirectSendPressesSendOnASingleHit) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    EXPECT_EQ(sendCount, 0);
    form->Text1.setText(QStringLiteral(" الرحمن "));
    form->Command1.click();  // Check2 is checked by default
    EXPECT_EQ(sendCount, 1);
    EXPECT_EQ(form->List1.currentRow(), 0);
    form->Text1.setText(QStringLiteral(" الله "));
    form->Command1.click();  // many hits: no send
    EXPECT_EQ(sendCount, 1);
    setCheckValue(form->Check2, 0);
    form->Text1.setText(QStringLiteral(" الرحمن "));
    form->Command1.click();
    EXPECT_EQ(sendCount, 1);
}

TEST_F(Form1Test, ClickingRowsSelectsTheCurrentVerse) {
    startWithClipboard(QStringLiteral("الله"));
    const int row = 2;  // 2:20
    QTest::mouseClick(form->List1.viewport(), Qt::LeftButton, {}, form->List1.rowRect(row).center());
    EXPECT_EQ(form->List1.currentRow(), row);
    EXPECT_EQ(form->Label2.text(), QStringLiteral("نَصُّ الآيَةِ 2:20"));
    EXPECT_EQ(form->Label4.text(), QStringLiteral("البقرة"));
    EXPECT_EQ(form->Label5.text(), QStringLiteral("20"));
    EXPECT_EQ(form->currentSurah(), 2);

    // In range mode a click only hides the part box.
    form->Text5.show();
    form->Command6.show();
    form->selectRow(0);
    EXPECT_FALSE(isShown(form->Text5));
    EXPECT_EQ(form->Label5.text(), QStringLiteral("20"));
    EXPECT_EQ(form->Label2.text(), QStringLiteral("نَصُّ الآيَةِ 2:20"));

    // Enter in the list presses send.
    form->Command6.hide();
    QTest::keyClick(&form->List1, Qt::Key_Return);
    EXPECT_EQ(sendCount, 1);
}

TEST_F(Form1Test, RowVerseNumberTakesTheLastDigitsOrKeepsTheOldValue) {
    startWithClipboard(QStringLiteral("الله"));
    form->resultTable.clear();
    form->resultTable.appendTexts(QStringLiteral("نص 286"), QStringLiteral("ا"), QStringLiteral("002"));
    form->resultTable.appendTexts(QStringLiteral("نص 5"), QStringLiteral("ب"), QStringLiteral("005"));
    form->resultTable.appendTexts(QStringLiteral("نص بلا رقم"), QStringLiteral("ج"), QStringLiteral("024"));
    form->List1.resetRows();
    form->selectRow(0);
    EXPECT_EQ(form->Label5.text(), QStringLiteral("286"));
    form->selectRow(1);
    EXPECT_EQ(form->Label5.text(), QStringLiteral("5"));
    EXPECT_EQ(form->currentSurah(), 5);
    form->selectRow(2);
    EXPECT_EQ(form->Label5.text(), QStringLiteral("5"));      // no digit at the end: unchanged
    EXPECT_EQ(form->Label4.text(), QStringLiteral("النور"));  // the citation form of 24
    EXPECT_EQ(form->Label2.text(), QStringLiteral("ج"));
}

TEST_F(Form1Test, ChoosingSurahsListsAllTheirVerses) {
    startWithClipboard(QStringLiteral("الله"));
    form->Command4.click();  // fill the chooser
    EXPECT_EQ(form->Combo1.count(), 115);
    EXPECT_EQ(form->Combo1.currentText(), QStringLiteral("اختر اسم السورة"));
    EXPECT_EQ(form->List1.count(), 0);  // code "000" has no line
    EXPECT_EQ(form->Label9.text(), QStringLiteral("0"));
    form->Command4.click();  // twice still 115 entries, entry n is surah n
    ASSERT_EQ(form->Combo1.count(), 115);
    EXPECT_EQ(form->Combo1.itemText(24), QStringLiteral("النّور"));

    const struct {
        int surah;
        int rows;
    } cases[] = {{1, 7}, {2, 286}, {114, 6}, {3, 5}};
    for (const auto& c : cases) {
        keyboard.calls.clear();
        form->Combo1.setCurrentIndex(c.surah);
        emit form->Combo1.activated(c.surah);
        EXPECT_EQ(form->Text1.text(), QString::fromStdString(surahCode(c.surah)));
        ASSERT_EQ(form->List1.count(), c.rows) << c.surah;
        EXPECT_EQ(form->Label9.text(), QString::number(c.rows));
        EXPECT_EQ(form->Label1.text(), QString::number(c.rows));
        EXPECT_EQ(form->rowSurahNumber(0), c.surah);
        EXPECT_EQ(form->rowVerseNumber(c.rows - 1), QString::number(c.rows));
        EXPECT_EQ(form->Label3.text(), QStringLiteral("304"));
        EXPECT_EQ(keyboard.calls, std::vector<std::string>{"arabic"});
    }
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    EXPECT_EQ(form->rowVerseNumber(281), QStringLiteral("282"));
    EXPECT_EQ(form->rowVerseText(281), QStringLiteral("نَصُّ الآيَةِ 2:282"));
    // A listing leaves the current verse as it was.
    EXPECT_EQ(form->Label5.text(), QStringLiteral("1"));
}

TEST_F(Form1Test, TwoScansInARowKeepOnlyTheSecondRows) {
    startWithClipboard(QStringLiteral("الله"));
    form->Command4.click();
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    form->Combo1.setCurrentIndex(114);
    emit form->Combo1.activated(114);
    EXPECT_EQ(form->List1.count(), 6);
    EXPECT_EQ(form->List2.count(), 6);
    EXPECT_EQ(form->List3.count(), 6);
    EXPECT_EQ(form->rowSurahNumber(5), 114);
    form->Text1.setText(QStringLiteral(" الرحمن "));
    setCheckValue(form->Check2, 0);
    form->Command1.click();
    EXPECT_EQ(form->List1.count(), 1);
    EXPECT_EQ(form->List3.count(), 1);
}

TEST_F(Form1Test, AChoiceDuringAListingIsListedAfterIt) {
    startWithClipboard(QStringLiteral("الله"));
    form->Command4.click();
    // While surah 2 is being listed, the user chooses surah 114 and presses the search button.
    int linesSeen = 0;
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, [&] {
        if (!form->scanRunning()) return;
        ++linesSeen;
        if (linesSeen == 1) {
            form->Command1.click();  // superseded by the later choice
            form->Combo1.setCurrentIndex(114);
            emit form->Combo1.activated(114);
            EXPECT_TRUE(form->scanRunning());  // no second scan started inside the first
            EXPECT_EQ(form->Text1.text(), QStringLiteral("002"));
            interrupt.stop();
        }
    });
    interrupt.start(0);
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    EXPECT_EQ(linesSeen, 1);
    EXPECT_FALSE(form->scanRunning());
    ASSERT_EQ(form->List1.count(), 6);
    EXPECT_EQ(form->rowSurahNumber(0), 114);
    EXPECT_EQ(form->Text1.text(), QStringLiteral("114"));
    EXPECT_EQ(form->Label9.text(), QStringLiteral("6"));
}

TEST_F(Form1Test, MissingOrShortVerseFilesAreReportedAndTheWindowStaysUsable) {
    startWithClipboard(QStringLiteral("الله"));
    std::filesystem::rename(folder / "QuranV.Qur", folder / "moved.Qur");
    form->Text1.setText(QStringLiteral(" الله "));
    form->Command1.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains(QStringLiteral("QuranV.Qur")));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("خطأ"));
    EXPECT_TRUE(isShown(form->List1));
    EXPECT_EQ(form->List1.count(), 0);

    // The listing reports it too and runs its closing steps.
    form->Command4.click();
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_FALSE(form->scanRunning());
    EXPECT_EQ(form->Label1.text(), QStringLiteral("0"));

    // A vocalised file shorter than the search file: the rows before the failure stay.
    std::filesystem::rename(folder / "moved.Qur", folder / "QuranV.Qur");
    auto shortVocalised = fixture.vocalised;
    shortVocalised.resize(300);
    testing::writeLines(folder / "Qurant.Qur", shortVocalised);
    form->Combo1.setCurrentIndex(114);
    emit form->Combo1.activated(114);
    ASSERT_EQ(messages.messages.size(), 3u);
    EXPECT_TRUE(messages.messages[2].text.contains(QStringLiteral("Qurant.Qur")));
    EXPECT_EQ(form->List1.count(), 2);  // 114:1 and 114:2 were read before the end
    EXPECT_EQ(form->Label9.text(), QStringLiteral("2"));

    // With the files back, everything works again.
    fixture.writeTo(folder);
    form->Combo1.setCurrentIndex(1);
    emit form->Combo1.activated(1);
    EXPECT_EQ(form->List1.count(), 7);
    EXPECT_EQ(messages.messages.size(), 3u);
}

TEST_F(Form1Test, RangePanelKeys) {
    startWithClipboard(QStringLiteral("الله"));
    form->Label23_Click();  // range mode, chooser filled, prompt shown
    QCoreApplication::processEvents();
    QWidget* const chooser = &form->Combo1;
    const auto press = [](QWidget& w, Qt::Key key) { QTest::keyClick(&w, key); };

    // Enter in Text4 with the prompt shown: focus to Combo1, nothing sent.
    form->Text4.setFocus();
    press(form->Text4, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), chooser);
    // Any key in Combo1 with the prompt shown: focus stays.
    QTest::keyClick(chooser, Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), chooser);

    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    form->Combo1.setFocus();
    QTest::keyClick(chooser, Qt::Key_A);  // Text3 empty: focus to Text3
    EXPECT_EQ(QApplication::focusWidget(), &form->Text3);
    press(form->Text3, Qt::Key_Return);  // Text3 empty: focus stays
    EXPECT_EQ(QApplication::focusWidget(), &form->Text3);
    form->Text3.setText(QStringLiteral("3"));
    press(form->Text3, Qt::Key_Return);  // focus to Text4
    EXPECT_EQ(QApplication::focusWidget(), &form->Text4);
    press(form->Text4, Qt::Key_Return);  // Text4 empty: focus stays on Text4
    EXPECT_EQ(QApplication::focusWidget(), &form->Text4);
    EXPECT_EQ(rangeSendCount, 0);
    form->Text3.clear();
    form->Text4.setText(QStringLiteral("4"));
    press(form->Text4, Qt::Key_Return);  // Text3 empty: focus to Text3
    EXPECT_EQ(QApplication::focusWidget(), &form->Text3);
    form->Text3.setText(QStringLiteral("3"));
    press(form->Text4, Qt::Key_Return);  // both filled: send
    EXPECT_EQ(rangeSendCount, 1);
    form->Combo1.setFocus();
    press(form->Combo1, Qt::Key_Return);  // Enter in Combo1 with Text3 filled: send
    EXPECT_EQ(rangeSendCount, 2);
}

TEST_F(Form1Test, NoticeLastsThreeTicks) {
    startWithClipboard(QStringLiteral("الله"));
    const auto tick = [this] { QMetaObject::invokeMethod(&form->Timer1, "timeout"); };
    for (int round = 0; round < 2; ++round) {
        form->showNotice(QStringLiteral("تم الارسال "), 500);
        EXPECT_TRUE(isShown(form->Picture1));
        EXPECT_EQ(form->Timer1.interval(), 500);
        EXPECT_TRUE(form->Timer1.isActive());
        tick();
        tick();
        EXPECT_TRUE(isShown(form->Picture1)) << round;
        tick();
        EXPECT_FALSE(isShown(form->Picture1)) << round;
        EXPECT_FALSE(form->Timer1.isActive());
        EXPECT_EQ(form->Timer1.interval(), 0);
        EXPECT_EQ(form->noticeTicks(), 0);
    }
    // A new notice in the middle of another starts its three ticks afresh.
    form->showNotice(QStringLiteral("أولى"), 500);
    tick();
    tick();
    form->showNotice(QStringLiteral("ثانية"), 1000);
    tick();
    tick();
    EXPECT_TRUE(isShown(form->Picture1));
    tick();
    EXPECT_FALSE(isShown(form->Picture1));
}

TEST_F(Form1Test, UnloadRestoresTheKeyboardLayout) {
    startWithClipboard(QStringLiteral("الله"));
    keyboard.calls.clear();
    form->close();
    EXPECT_EQ(keyboard.calls, std::vector<std::string>{"default"});
}

}  // namespace
}  // namespace versend
