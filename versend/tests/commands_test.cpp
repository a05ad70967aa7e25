// The small commands of the window: the pop-up on the current verse, copying, the part box and
// the halves of 2:282, the sliding panels, the width toggle, the shape switch and the pictures.
#include "versend/tests/form1_fixture.h"

#include <QTest>
#include <QTimer>

namespace versend {
namespace {

using testing::Form1Test;

bool samePicture(const QPixmap& a, const QPixmap& b) { return !a.isNull() && a.toImage() == b.toImage(); }

// Records every top edge a panel takes.
class TopRecorder : public QObject {
public:
    explicit TopRecorder(QWidget& watched) { watched.installEventFilter(this); }
    std::vector<int> tops;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Move) tops.push_back(static_cast<QWidget*>(watched)->y());
        return false;
    }
};

class CommandsTest : public Form1Test {
protected:
    // The window after start-up with a search, then surah 2 listed and verse n selected.
    void selectVerseOfSurah2(int verse) {
        startWithClipboard(QStringLiteral("الله"));
        form->Command4.click();
        form->Combo1.setCurrentIndex(2);
        emit form->Combo1.activated(2);
        form->Command8.click();  // back to word mode, the rows stay
        form->selectRow(verse - 1);
        ASSERT_EQ(form->Label5.text(), QString::number(verse));
    }
};

TEST_F(CommandsTest, PopUpOpensOnTheRightButtonOnly) {
    startWithClipboard(QStringLiteral("الله"));
    QTest::mouseRelease(&form->Label2, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_TRUE(isShown(form->Picture2));
    QTest::mouseRelease(&form->Label2, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_FALSE(isShown(form->Picture2));
}

TEST_F(CommandsTest, CopyPutsTheVerseWithItsCitationOnTheClipboard) {
    // No current verse: nothing happens and the clipboard keeps what it holds.
    startWithClipboard(QStringLiteral("لا شيء من هذا"));
    ASSERT_TRUE(form->Label2.text().isEmpty());
    form->clipboard->setText(QStringLiteral("keep me"));
    form->Label2_MouseUp(Qt::RightButton);
    form->Label12_Click();
    EXPECT_EQ(form->clipboard->text(), QStringLiteral("keep me"));
    EXPECT_TRUE(isShown(form->Picture2));

    form->Text1.setText(QStringLiteral(" الله "));
    form->Command1.click();
    form->Label2_MouseUp(Qt::RightButton);
    QTest::mouseClick(&form->Label12, Qt::LeftButton);
    const QString copied = QStringLiteral("[نَصُّ الآيَةِ 1:1] الفاتحة:1");
    EXPECT_EQ(form->clipboard->text(), copied);
    EXPECT_EQ(form->Text5.toPlainText(), copied);  // the part box held it and stays hidden
    EXPECT_FALSE(isShown(form->Text5));
    EXPECT_FALSE(isShown(form->Picture2));
    EXPECT_FALSE(isShown(form->DainCon));
}

TEST_F(CommandsTest, CopyOf282UsesTheWholeVerse) {
    selectVerseOfSurah2(282);
    form->Label12_Click();
    EXPECT_EQ(form->clipboard->text(), QStringLiteral("[نَصُّ الآيَةِ 2:282] البقرة:282"));
    EXPECT_TRUE(isShown(form->DainCon));
}

TEST_F(CommandsTest, PartBoxShowsTheVerseOrTheHalvesOf282) {
    selectVerseOfSurah2(7);
    form->Label2_MouseUp(Qt::RightButton);
    form->Label13_Click();
    EXPECT_TRUE(isShown(form->Text5));
    EXPECT_EQ(form->Text5.toPlainText(), QStringLiteral("نَصُّ الآيَةِ 2:7"));
    EXPECT_EQ(form->Text5.geometry(), form->Label2Frame.geometry());  // it lies over the verse
    EXPECT_FALSE(isShown(form->Picture2));
    EXPECT_FALSE(isShown(form->DainCon));

    form->selectRow(281);
    EXPECT_FALSE(isShown(form->Text5));  // a row selection hides the part box
    form->Label13_Click();
    EXPECT_TRUE(isShown(form->Text5));
    EXPECT_EQ(form->Text5.toPlainText(), form->Dain1.text());
    EXPECT_TRUE(isShown(form->DainCon));
    EXPECT_EQ(form->DainCon.text(), QStringLiteral("<"));
    form->DainCon.click();
    EXPECT_EQ(form->Text5.toPlainText(), form->Dain2.text());
    EXPECT_EQ(form->DainCon.text(), QStringLiteral(">"));
    form->DainCon.click();
    EXPECT_EQ(form->Text5.toPlainText(), form->Dain1.text());
    EXPECT_EQ(form->DainCon.text(), QStringLiteral("<"));

    // Opened again after a switch to the second half, the box starts at the first half with
    // the switch offering the second.
    form->DainCon.click();
    form->Label13_Click();
    EXPECT_EQ(form->Text5.toPlainText(), form->Dain1.text());
    EXPECT_EQ(form->DainCon.text(), QStringLiteral("<"));
    // A word search hides the switch again.
    form->Text1.setText(QStringLiteral(" الله "));
    form->Command1.click();
    EXPECT_FALSE(isShown(form->DainCon));
}

TEST_F(CommandsTest, TheHalvesOf282AreTheTwoPartsOfTheVerseInTheVerseFile) {
    const auto [first, second] = testing::realHalvesOf282();
    ASSERT_FALSE(first.isEmpty());
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(form->Dain1.text(), first);
    EXPECT_EQ(form->Dain2.text(), second);
    // The whole verse as the files carry it, with nothing between the halves.
    EXPECT_EQ(form->Dain1.text() + form->Dain2.text(), testing::realVocalisedLine(7 + 281));
}

TEST_F(CommandsTest, PanelsSlideInAndClose) {
    startWithClipboard(QStringLiteral("الله"));
    // Wide shape (height 2620): panels end at 15 twips.
    QTest::mouseClick(&form->Label21, Qt::LeftButton);
    EXPECT_TRUE(isShown(form->Picture5));
    EXPECT_EQ(form->Picture5.y(), twipsToPixels(15));
    EXPECT_EQ(form->Picture5.x(), twipsToPixels(30));
    EXPECT_EQ(form->Picture5.width(), twipsToPixels(4485));
    form->Command7.click();
    EXPECT_FALSE(isShown(form->Picture5));

    QTest::mouseClick(&form->Label24, Qt::LeftButton);
    EXPECT_TRUE(isShown(form->Picture3));
    EXPECT_TRUE(form->Label15.text().contains(QStringLiteral("Versend")));
    QTest::mouseClick(&form->Picture3, Qt::LeftButton);
    EXPECT_EQ(form->Picture3.y(), twipsToPixels(3825));
    form->Command9.click();
    EXPECT_FALSE(isShown(form->Picture3));

    // The range panel: range mode with the chooser filled and focused.
    QTest::mouseClick(&form->Label23, Qt::LeftButton);
    EXPECT_FALSE(isShown(form->Text1));
    EXPECT_TRUE(isShown(form->Command6));
    EXPECT_TRUE(isShown(form->Picture6));
    EXPECT_EQ(form->Combo1.count(), 115);
    EXPECT_EQ(form->Picture6.y(), twipsToPixels(15));
    EXPECT_EQ(form->focusWidget(), &form->Combo1);
    form->Command8.click();
    EXPECT_TRUE(isShown(form->Text1));
    // Emptied; the focus may pass to it as the panel goes, which gives it its one blank.
    EXPECT_TRUE(form->Text1.text().trimmed().isEmpty());
    EXPECT_FALSE(isShown(form->Command6));
    EXPECT_FALSE(isShown(form->Picture6));

    // Narrow shape (height 4340): panels end at 1635; any other height places them at 0.
    form->setWindowHeight(4340);
    form->Label21_Click();
    EXPECT_EQ(form->Picture5.y(), twipsToPixels(1635));
    form->setWindowHeight(3000);
    form->Label24_Click();
    EXPECT_EQ(form->Picture3.y(), 0);
}

TEST_F(CommandsTest, ASlideIsVisibleAndAClickDuringItStartsNoOther) {
    startWithClipboard(QStringLiteral("الله"));
    form->animationMs = 250;
    form->setWindowHeight(4340);
    form->Picture5.show();
    QCoreApplication::processEvents();
    TopRecorder recorder(form->Picture5);
    int clicksDuringSlide = 0;
    QTimer::singleShot(40, form.get(), [&] {
        ++clicksDuringSlide;
        QTest::mouseClick(&form->Label21, Qt::LeftButton);
    });
    form->Label21_Click();
    EXPECT_EQ(clicksDuringSlide, 1);
    ASSERT_GE(recorder.tops.size(), 2u);
    EXPECT_EQ(recorder.tops.front(), twipsToPixels(3840));
    EXPECT_EQ(recorder.tops.back(), twipsToPixels(1635));
    // The panel only ever moved up: the second click did not start it again from below.
    EXPECT_TRUE(std::is_sorted(recorder.tops.rbegin(), recorder.tops.rend()));
    // Once the slide is over, a click slides it in again.
    form->Command7.click();
    form->Picture5.move(form->Picture5.x(), 0);
    form->animationMs = 0;
    form->Label21_Click();
    EXPECT_EQ(form->Picture5.y(), twipsToPixels(1635));
}

TEST_F(CommandsTest, WidthToggleActsAtItsTwoWidthsOnly) {
    startWithClipboard(QStringLiteral("الله"));
    form->setWindowWidth(4665);
    QTest::mouseClick(&form->Image1, Qt::LeftButton);
    EXPECT_EQ(form->windowWidth(), 7965);
    EXPECT_FALSE(isShown(form->Text1));
    EXPECT_TRUE(isShown(form->Command6));
    EXPECT_EQ(form->Combo1.count(), 115);
    QTest::mouseClick(&form->Image1, Qt::LeftButton);
    EXPECT_EQ(form->windowWidth(), 4665);
    EXPECT_TRUE(isShown(form->Text1));
    EXPECT_TRUE(form->Text1.text().isEmpty());
    EXPECT_FALSE(isShown(form->Command6));
    for (double width : {4650.0, 9135.0, 9165.0}) {
        form->setWindowWidth(width);
        form->Image1_Click();
        EXPECT_EQ(form->windowWidth(), width);
        EXPECT_TRUE(isShown(form->Text1));
    }
}

TEST_F(CommandsTest, ShapeSwitchNarrowWideNarrow) {
    startWithClipboard(QStringLiteral("الله"));
    std::ofstream(folder / "Versend.ini", std::ios::binary) << "1560*900*16*12*0*1*1*1*\r\n";
    form->load.click();
    ASSERT_EQ(form->windowWidth(), 4650);
    form->Label21_Click();
    ASSERT_TRUE(isShown(form->Picture5));

    QTest::mouseClick(&form->Image4, Qt::LeftButton);
    EXPECT_FALSE(isShown(form->Picture5));
    EXPECT_EQ(form->windowWidth(), 9165);  // not the 9135 of the settings
    EXPECT_EQ(form->windowHeight(), 2620);
    EXPECT_EQ(form->width(), twipsToPixels(9165));
    EXPECT_EQ(form->Picture7.x(), twipsToPixels(4560));
    EXPECT_EQ(form->Picture8.y(), twipsToPixels(15));
    EXPECT_TRUE(isShown(form->Picture9));
    EXPECT_TRUE(isShown(form->Label8));
    EXPECT_TRUE(samePicture(form->Image4.pixmap(), form->Image5.pixmap()));

    form->Label24_Click();
    form->Image4_Click();
    EXPECT_FALSE(isShown(form->Picture3));
    EXPECT_EQ(form->windowWidth(), 4650);
    EXPECT_EQ(form->windowHeight(), 4340);
    EXPECT_EQ(form->Picture7.x(), twipsToPixels(30));
    EXPECT_EQ(form->Picture8.y(), twipsToPixels(1740));
    EXPECT_FALSE(isShown(form->Picture9));
    EXPECT_FALSE(isShown(form->Label8));
    EXPECT_TRUE(samePicture(form->Image4.pixmap(), form->Image6.pixmap()));

    // Between the two shapes nothing but the panels changes.
    form->setWindowWidth(7965);
    form->Label21_Click();
    form->Image4_Click();
    EXPECT_EQ(form->windowWidth(), 7965);
    EXPECT_EQ(form->windowHeight(), 4340);
    EXPECT_FALSE(isShown(form->Picture5));
}

TEST_F(CommandsTest, AClickDuringTheShapeSwitchStartsNoOther) {
    startWithClipboard(QStringLiteral("الله"));
    form->animationMs = 250;
    form->setWindowWidth(4650);
    form->setWindowHeight(4340);
    // Events run only inside the switch here: the sampler runs at its steps, and once the
    // window is wide (the panels are still moving) it clicks the switch again.
    std::vector<double> widths;
    int clicksDuringSwitch = 0;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        widths.push_back(form->windowWidth());
        if (form->windowWidth() > 7965 && clicksDuringSwitch == 0) {
            ++clicksDuringSwitch;
            QTest::mouseClick(&form->Image4, Qt::LeftButton);
        }
    });
    sampler.start(5);
    form->Image4_Click();
    sampler.stop();
    EXPECT_EQ(clicksDuringSwitch, 1);
    EXPECT_EQ(form->windowWidth(), 9165);
    EXPECT_EQ(form->windowHeight(), 2620);
    EXPECT_EQ(form->Picture7.x(), twipsToPixels(4560));
    // A second switch inside the first would have left the narrow shape's picture and hint.
    EXPECT_TRUE(samePicture(form->Image4.pixmap(), form->Image5.pixmap()));
    EXPECT_TRUE(isShown(form->Picture9));
    EXPECT_GE(widths.size(), 2u);  // the switch let events run as it went
}

TEST_F(CommandsTest, NoticeFirstLinesAndStatusPictures) {
    startWithClipboard(QStringLiteral("الله"));
    form->showNotice(QStringLiteral("تم الارسال "), 1000);
    QTest::mouseClick(&form->Label10, Qt::LeftButton);
    EXPECT_FALSE(isShown(form->Picture1));

    form->selectRow(3);
    form->Command2.click();
    EXPECT_EQ(form->List1.currentRow(), 0);
    EXPECT_EQ(form->List2.currentRow(), 0);
    EXPECT_EQ(form->Label2.text(), form->rowVerseText(0));
    form->resultTable.clear();
    form->List1.resetRows();
    form->Command2.click();  // nothing to select: no fault

    // Our own pictures: four different, non-empty marks.
    const QPixmap pictures[] = {form->Image2.pixmap(), form->Image3.pixmap(), form->Image5.pixmap(),
                                form->Image6.pixmap()};
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        EXPECT_FALSE(pictures[i].isNull());
        for (std::size_t j = i + 1; j < std::size(pictures); ++j) EXPECT_FALSE(samePicture(pictures[i], pictures[j]));
    }
    // Idle after a search; Command3 swaps the status picture with the hidden one.
    EXPECT_TRUE(samePicture(form->Image1.pixmap(), form->Image3.pixmap()));
    ASSERT_TRUE(isShown(form->Image2));
    form->Command3.click();
    EXPECT_TRUE(samePicture(form->Image1.pixmap(), form->Image2.pixmap()));
    EXPECT_FALSE(isShown(form->Image2));
    EXPECT_TRUE(isShown(form->Image3));
    form->Command3.click();
    EXPECT_TRUE(samePicture(form->Image1.pixmap(), form->Image3.pixmap()));
    EXPECT_TRUE(isShown(form->Image2));
    EXPECT_FALSE(isShown(form->Image3));
}

}  // namespace
}  // namespace versend
