#include "versend/tests/send_fixture.h"

#include <QTimer>

namespace versend::testing {
namespace {

class RangeSendTest : public SendTest {
protected:
    // Range mode with surah `surah` listed.
    void listSurah(int surah) {
        startWithClipboard(QStringLiteral("لا شيء هنا"));
        form->Label23_Click();
        form->Combo1.setCurrentIndex(surah);
        emit form->Combo1.activated(surah);
        form->ftx1.setText(QStringLiteral("16"));
        form->ftx2.setText(QStringLiteral("12"));
    }
    void sendRange(const QString& first, const QString& last) {
        form->Text3.setText(first);
        form->Text4.setText(last);
        if (word) word->clearLog();
        form->Command6.click();
    }
    QString verseText(int surah, int verse) const { return QStringLiteral("نَصُّ الآيَةِ %1:%2").arg(surah).arg(verse); }
    QString body(int surah, int first, int last) const {
        QString text;
        for (int v = first; v <= last; ++v) text += verseText(surah, v) + QStringLiteral("(%1) ").arg(v);
        return text;
    }
    const QString kRangeMessage = QStringLiteral("تحديد خطأ للآيات");
};

TEST_F(RangeSendTest, NoSurahChosenAsksForOne) {
    startWithClipboard(QStringLiteral("لا شيء هنا"));
    form->Label23_Click();
    sendRange(QStringLiteral("1"), QStringLiteral("3"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("حدد السورة"));
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("خطأ"));
    EXPECT_EQ(word, nullptr);
}

TEST_F(RangeSendTest, RangesThatAreNotTwoOrMoreListedVersesAreRefused) {
    listSurah(1);  // 7 verses
    const QString label5 = form->Label5.text();
    for (const auto& [first, last] : std::vector<std::pair<QString, QString>>{
             {"3", "3"}, {"4", "3"}, {"6", "8"}, {"1", ""}, {"", "3"}, {"0", "3"}, {"1.5", "3"}, {"1", "2.5"}}) {
        SCOPED_TRACE((first + u'-' + last).toStdString());
        messages.messages.clear();
        sendRange(first, last);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, kRangeMessage);
        EXPECT_EQ(messages.messages[0].caption, QStringLiteral("خطأ"));
    }
    EXPECT_EQ(word, nullptr);
    EXPECT_EQ(form->Label5.text(), label5);  // nothing else changed
    messages.messages.clear();
    sendRange(QStringLiteral("6"), QStringLiteral("7"));  // up to the last verse
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(documentText(),
              u(u'[' + body(1, 6, 7) + QStringLiteral("]. {") + q(citationName(1)) + QStringLiteral("}. ")));
}

TEST_F(RangeSendTest, VerseNumbersOfOneTwoAndThreeDigitsStandWholeInTheirParentheses) {
    listSurah(2);
    sendRange(QStringLiteral("8"), QStringLiteral("10"));
    const QString name = q(citationName(2));
    EXPECT_EQ(word->edits(), pieces(16, QStringLiteral("["), body(2, 8, 10), QStringLiteral("]. "), 12,
                                    u'{' + name + QStringLiteral("}.")));
    sendRange(QStringLiteral("99"), QStringLiteral("101"));
    EXPECT_EQ(word->edits()[3],
              u"TypeText " + u(QStringLiteral("نَصُّ الآيَةِ 2:99(99) نَصُّ الآيَةِ 2:100(100) نَصُّ الآيَةِ 2:101(101) ")));
    // The window's current verse is the last of the range.
    EXPECT_EQ(form->Label5.text(), QStringLiteral("101"));
    EXPECT_EQ(form->Label2.text(), verseText(2, 101));
    EXPECT_EQ(form->Label4.text(), name);
    EXPECT_EQ(form->currentSurah(), 2);
    EXPECT_EQ(form->List1.currentRow(), 100);
    EXPECT_EQ(form->List3.currentRow(), 100);
    EXPECT_TRUE(noticeShown());
}

TEST_F(RangeSendTest, RangeSizesComeFromTheSizeBoxes) {
    listSurah(3);
    form->ftx1.setText(QStringLiteral("20"));
    form->ftx2.setText(QStringLiteral("10"));
    sendRange(QStringLiteral("1"), QStringLiteral("5"));
    const auto runs = word->document().runs();
    ASSERT_EQ(runs.size(), 5u);  // "[", body, "]. ", citation, " "
    EXPECT_EQ(runs[0].format.sizeBi, 20);
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[1].format.sizeBi, 20);
    EXPECT_EQ(runs[2].format.sizeBi, 20);
    EXPECT_EQ(runs[3].format.sizeBi, 10);
    EXPECT_EQ(runs[3].text, u(u'{' + q(citationName(3)) + QStringLiteral("}.")));
    EXPECT_EQ(runs[4].format.sizeBi, 20);
}

TEST_F(RangeSendTest, AFailingWordProcessorGivesTheMessageAndNoNotice) {
    listSurah(1);
    setCheckValue(form->Check1, 1);
    prepare = [](word::recording::Recorder& w) { w.failOn("TypeText", 2); };
    sendRange(QStringLiteral("1"), QStringLiteral("3"));
    EXPECT_EQ(documentText(), u"[");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("برنامج الوورد لا يعمل"));
    EXPECT_FALSE(noticeShown());
    EXPECT_EQ(endCount, 0);
    EXPECT_EQ(form->Label5.text(), QStringLiteral("3"));  // the loop had run
    // Close after sending applies to a range that went through.
    sendRange(QStringLiteral("1"), QStringLiteral("2"));
    EXPECT_EQ(endCount, 1);
}

// A listing puts its rows into the table in batches while it reads; a range sent meanwhile
// waits for all of them instead of finding too few verses.
TEST_F(RangeSendTest, ARangeSentDuringAListingIsSentOnceAllItsRowsAreIn) {
    listSurah(1);
    bool pressed = false;
    int rowsWhenPressed = -1;
    QTimer interrupt;
    QObject::connect(&interrupt, &QTimer::timeout, [&] {
        if (!form->scanRunning() || pressed) return;
        pressed = true;
        rowsWhenPressed = form->List2.count();
        form->Text3.setText(QStringLiteral("280"));
        form->Text4.setText(QStringLiteral("283"));
        form->Text4.setFocus();
        QTest::keyClick(&form->Text4, Qt::Key_Return);  // presses Command6
        EXPECT_TRUE(form->scanRunning());
    });
    interrupt.start(0);
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    interrupt.stop();
    ASSERT_TRUE(pressed);
    EXPECT_LT(rowsWhenPressed, 280);
    EXPECT_EQ(rangeSendCount, 1);
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(documentText(),
              u(u'[' + body(2, 280, 283) + QStringLiteral("]. {") + q(citationName(2)) + QStringLiteral("}. ")));
    EXPECT_EQ(form->Label5.text(), QStringLiteral("283"));
}

}  // namespace
}  // namespace versend::testing
