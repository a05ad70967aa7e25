// The window's look: in both shapes and with every panel open, each control lies inside its
// panel and every caption fits its control. On a real display (the test run's QV_TEST_DISPLAY:
// X11 on Linux, Wine's X11 driver on Windows) the window is also shown and saved as pictures to
// window-pictures/ for a person to look at. The program's main() is the platform's
// (window_look_x11.cpp, windows/tests/window_look_main_win.cpp).
#include "quran/quran_text.h"
#include "versend/surah_names.h"
#include "versend/tests/form1_fixture.h"
#include "versend/texts.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <fstream>

namespace versend {
namespace {

using testing::Form1Test;

bool onRealDisplay() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

// The clipboard of a real display would outlive the test and hold up its end.
class MemoryClipboard final : public Clipboard {
public:
    QString text() const override { return content; }
    void setText(const QString& text) override { content = text; }
    QString content;
};

class WindowLookTest : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        form->clipboard = &clipboard;
        // The real verse text where it has been built, so that the pictures show real verses.
        const std::filesystem::path real = QV_VERSE_FOLDER;
        if (std::filesystem::exists(real / "QuranV.Qur") && std::filesystem::exists(real / "Qurant.Qur"))
            form->verseFolder = real;
    }

    void startInShape(int check4) {
        std::ofstream(folder / "Versend.ini", std::ios::binary) << "1560*900*16*12*0*0*1*" << check4 << "*\r\n";
        startWithClipboard(QStringLiteral("الله"));
        ASSERT_EQ(checkValue(form->Check4), check4);
        if (onRealDisplay()) {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        }
    }

    MemoryClipboard clipboard;

    // Every shown control lies inside its parent, and every one-line caption fits. Controls
    // placed wholly outside the visible area (state holders, buttons pressed from code) are
    // not part of the look.
    void expectNothingClipped(const char* where) {
        SCOPED_TRACE(where);
        for (QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || !w->isVisibleTo(form.get())) continue;
            if (qobject_cast<QAbstractScrollArea*>(w->parentWidget()) || w == &form->Label2) continue;
            const QRect inside = w->parentWidget()->rect();
            if (!inside.intersects(w->geometry())) continue;
            EXPECT_TRUE(inside.contains(w->geometry())) << w->objectName().toStdString() << " outside its parent";
            expectCaptionFits(*w);
        }
    }

    static void expectCaptionFits(QWidget& w) {
        const std::string name = w.objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(&w); label && !label->text().isEmpty()) {
            // Arabic text reads right to left from its first word.
            static const QRegularExpression arabic(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
            if (label->text().contains(arabic)) {
                EXPECT_TRUE(label->text().isRightToLeft()) << name;
            }
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name;
            } else {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width()) << name;
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(&w)) {
            EXPECT_LE(box->sizeHint().width(), box->width()) << name;
        } else if (auto* button = qobject_cast<QPushButton*>(&w)) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 6, button->width()) << name;
        }
    }

    void savePicture(const QString& name) {
        if (!onRealDisplay()) return;
        QCoreApplication::processEvents();
        QDir().mkpath(QStringLiteral("window-pictures"));
        const QString path = QStringLiteral("window-pictures/%1.png").arg(name);
        EXPECT_TRUE(form->grab().save(path)) << path.toStdString();
    }
};

TEST_F(WindowLookTest, WideShapeWithItsPanels) {
    startInShape(0);
    ASSERT_EQ(form->windowWidth(), 9135);
    ASSERT_GT(form->List1.count(), 0);
    expectNothingClipped("wide, a search");
    savePicture(QStringLiteral("wide-search"));

    // A query typed without its hamzas: the forgiving search and its sign beside the count.
    form->Text1.setText(QStringLiteral(" ان الله "));
    form->Command1.click();
    ASSERT_TRUE(isShown(form->FoldedSign));
    expectNothingClipped("wide, a forgiving search");
    savePicture(QStringLiteral("wide-forgiving-search"));

    form->Label23_Click();
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    form->Text3.setText(QStringLiteral("255"));
    form->Text4.setText(QStringLiteral("257"));
    expectNothingClipped("wide, range panel");
    savePicture(QStringLiteral("wide-range-panel"));
    form->Command8.click();

    form->Label24_Click();
    expectNothingClipped("wide, contact panel");
    savePicture(QStringLiteral("wide-contact-panel"));
    form->Command9.click();

    form->showNotice(QStringLiteral("كلمة البحث غير موجودة"), 1000);
    expectNothingClipped("wide, notice");
    savePicture(QStringLiteral("wide-notice"));
}

TEST_F(WindowLookTest, NarrowShapeWithItsPanels) {
    startInShape(1);
    ASSERT_EQ(form->windowWidth(), 4650);
    expectNothingClipped("narrow, a search");
    savePicture(QStringLiteral("narrow-search"));
    form->Text1.setText(QStringLiteral(" لا اله الا الله "));
    form->Command1.click();
    ASSERT_TRUE(isShown(form->FoldedSign));
    expectNothingClipped("narrow, a forgiving search");
    savePicture(QStringLiteral("narrow-forgiving-search"));

    form->Label21_Click();
    expectNothingClipped("narrow, options panel");
    savePicture(QStringLiteral("narrow-options-panel"));
    form->Command7.click();

    // The pop-up on the verse, then the part box with the first half of 2:282.
    form->Label23_Click();
    form->Combo1.setCurrentIndex(2);
    emit form->Combo1.activated(2);
    form->Command8.click();
    form->selectRow(281);
    form->Label2_MouseUp(Qt::RightButton);
    expectNothingClipped("narrow, pop-up");
    savePicture(QStringLiteral("narrow-popup"));
    form->Label13_Click();
    EXPECT_TRUE(form->DainCon.isVisible()) << form->DainCon.geometry().x() << "," << form->DainCon.geometry().y();
    expectNothingClipped("narrow, part box");
    savePicture(QStringLiteral("narrow-part-box"));
}

// The drop-down list of the surah chooser reads right to left like the window, and the result
// list shows whole rows only, none cut through, in both shapes.
TEST_F(WindowLookTest, ChooserListRightToLeftAndWholeRowsInTheResultList) {
    for (int shape : {1, 0}) {
        SCOPED_TRACE(shape);
        startInShape(shape);
        ASSERT_GT(form->List1.count(), 3);
        const int row = form->List1.sizeHintForRow(0);
        ASSERT_GT(row, 0);
        EXPECT_EQ(form->List1.viewport()->height() % row, 0)
            << "viewport " << form->List1.viewport()->height() << ", row " << row;
        EXPECT_GE(form->List1.viewport()->height() / row, 3);
        expectNothingClipped("result list");
    }
    form->Label23_Click();
    form->Combo1.showPopup();
    QAbstractItemView* popup = form->Combo1.view();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->window()->layoutDirection(), Qt::RightToLeft);
    // A list of its own size, not every name at once.
    EXPECT_LE(popup->height(), 16 * popup->sizeHintForRow(0) + 2 * popup->frameWidth());
    // The name of surah 1 is drawn against the right edge of the list.
    const QRect row = popup->visualRect(popup->model()->index(1, 0));
    const QImage drawn = popup->viewport()->grab().toImage();
    const QRgb background = drawn.pixel(row.center().x(), row.top() + 1);
    int left = row.right(), right = row.left();
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x) {
            if (drawn.pixel(x, y) == background) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    ASSERT_LT(left, right) << "nothing drawn in the row";
    EXPECT_GT(left, row.left() + row.width() / 2) << "the name starts at " << left << " of " << row.width();
    EXPECT_GT(right, row.right() - 30);
    savePicture(QStringLiteral("narrow-chooser-open"));
    form->Combo1.hidePopup();
}

TEST_F(WindowLookTest, EveryCitationNameFitsItsLabel) {
    startInShape(0);
    for (int surah = 1; surah <= quran::kSurahCount; ++surah) {
        form->Label4.setText(fromU16(citationName(surah)));
        expectCaptionFits(form->Label4);
    }
    form->Label5.setText(QStringLiteral("286"));
    form->Label9.setText(QStringLiteral("6236"));
    expectCaptionFits(form->Label5);
    expectCaptionFits(form->Label9);
}

}  // namespace
}  // namespace versend
