// The settings file: applying it at start-up, the defaults after any fault, and saving it.
#include "versend/settings_file.h"
#include "versend/tests/form1_fixture.h"

#include <QTest>

#include <fstream>
#include <iterator>

namespace versend {
namespace {

using testing::Form1Test;

const std::string kExample = "1560*900*16*12*0*1*1*1*\r\n";

class SettingsTest : public Form1Test {
protected:
    void writeSettings(const std::string& bytes) {
        std::ofstream out(settingsPath(), std::ios::binary);
        out << bytes;
    }
    std::filesystem::path settingsPath() const { return folder / "Versend.ini"; }
    std::string readSettings() const {
        std::ifstream in(settingsPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Everything the defaults set, with Check4 as given.
    void expectDefaults(int check4) {
        EXPECT_EQ(form->windowLeft(), 100);
        EXPECT_EQ(form->windowTop(), 100);
        EXPECT_EQ(form->windowWidth(), 9135);
        EXPECT_EQ(form->windowHeight(), 2620);
        EXPECT_EQ(form->Picture7.x(), twipsToPixels(4560));
        EXPECT_EQ(form->Picture8.y(), twipsToPixels(15));
        EXPECT_EQ(form->Image4.pixmap().toImage(), form->Image5.pixmap().toImage());
        EXPECT_EQ(form->ftx1.text(), QStringLiteral("16"));
        EXPECT_EQ(form->ftx2.text(), QStringLiteral("12"));
        EXPECT_EQ(checkValue(form->Check3), 0);
        EXPECT_EQ(checkValue(form->Check2), 1);
        EXPECT_EQ(checkValue(form->Check1), 1);
        EXPECT_EQ(checkValue(form->Check4), check4);
        EXPECT_TRUE(messages.messages.empty());
    }
    // Sets every option away from its default, so that the defaults show.
    void setNonDefaults(int check4) {
        form->ftx1.setText(QStringLiteral("30"));
        form->ftx2.setText(QStringLiteral("31"));
        setCheckValue(form->Check3, 1);
        setCheckValue(form->Check2, 0);
        setCheckValue(form->Check1, 0);
        setCheckValue(form->Check4, check4);
    }
};

TEST_F(SettingsTest, TheExampleFileWithOrWithoutItsLineEnd) {
    for (const std::string& text : {kExample, kExample.substr(0, kExample.size() - 2)}) {
        setNonDefaults(0);
        writeSettings(text);
        form->load.click();
        EXPECT_EQ(form->windowLeft(), 1560);
        EXPECT_EQ(form->windowTop(), 900);
        EXPECT_EQ(form->pos(), QPoint(104, 60));
        // Check4 = 1: the narrow shape.
        EXPECT_EQ(form->windowWidth(), 4650);
        EXPECT_EQ(form->windowHeight(), 4340);
        EXPECT_EQ(form->width(), 310);
        EXPECT_EQ(form->Picture7.x(), twipsToPixels(30));
        EXPECT_EQ(form->Picture8.y(), twipsToPixels(1735));
        EXPECT_EQ(form->Image4.pixmap().toImage(), form->Image6.pixmap().toImage());
        EXPECT_EQ(form->ftx1.text(), QStringLiteral("16"));
        EXPECT_EQ(form->ftx2.text(), QStringLiteral("12"));
        EXPECT_EQ(checkValue(form->Check3), 0);
        EXPECT_EQ(checkValue(form->Check2), 1);
        EXPECT_EQ(checkValue(form->Check1), 1);
        EXPECT_EQ(checkValue(form->Check4), 1);
        // The file text is the work area, one entry per field.
        EXPECT_EQ(form->Label1.text(), QString::fromStdString(text));
        EXPECT_EQ(form->SaveList.count(), 8);
        EXPECT_TRUE(messages.messages.empty());
    }
}

TEST_F(SettingsTest, FieldsAreAppliedAsTheyStand) {
    // A trailing space stays in the size box; the wide shape comes from Check4 = 0; a greyed
    // check box is a value of its own; fields after the eighth are ignored.
    setCheckValue(form->Check4, 1);
    writeSettings("1560*900*16 * 9*2*0*1*0*extra*more*\r\n");
    form->load.click();
    EXPECT_EQ(form->ftx1.text(), QStringLiteral("16 "));
    EXPECT_EQ(form->ftx2.text(), QStringLiteral(" 9"));
    EXPECT_EQ(checkValue(form->Check3), 2);
    EXPECT_EQ(checkValue(form->Check2), 0);
    EXPECT_EQ(checkValue(form->Check1), 1);
    EXPECT_EQ(checkValue(form->Check4), 0);
    EXPECT_EQ(form->windowWidth(), 9135);
    EXPECT_EQ(form->windowHeight(), 2620);
    EXPECT_EQ(form->Picture7.x(), twipsToPixels(4560));
    EXPECT_EQ(form->Picture8.y(), twipsToPixels(15));

    // A greyed Check4 keeps the shape of the first step: 4665 by 4340.
    writeSettings("200*300*16*12*0*1*1*2*\r\n");
    form->load.click();
    EXPECT_EQ(checkValue(form->Check4), 2);
    EXPECT_EQ(form->windowWidth(), 4665);
    EXPECT_EQ(form->windowHeight(), 4340);
    EXPECT_EQ(form->windowLeft(), 200);
}

TEST_F(SettingsTest, AFaultAnywhereAppliesTheDefaults) {
    // Seven fields: the first seven are applied, then the defaults; Check4 keeps its value.
    for (int check4 : {0, 1}) {
        setNonDefaults(check4);
        writeSettings("1560*900*20*14*1*0*0*\r\n");
        form->load.click();
        expectDefaults(check4);
    }
    // An empty file.
    setNonDefaults(1);
    writeSettings("");
    form->load.click();
    expectDefaults(1);
    EXPECT_EQ(form->SaveList.count(), 0);
    EXPECT_TRUE(std::filesystem::exists(settingsPath()));

    // Fields that do not convert, or that a check box refuses, never throw.
    const std::string faulty[] = {
        "abc*900*16*12*0*1*1*1*\r\n",    // a position that is not a number
        "1560*1e60*16*12*0*1*1*1*\r\n",  // beyond single precision
        "1560*900*16*12*3*1*1*1*\r\n",   // a check box value outside 0..2
        "1560*900*16*12*0*-1*1*1*\r\n",
        "1560*900*16*12*0*1*40000*1*\r\n",  // beyond a 16-bit integer
        "1560*900*16*12*0*1*1*x*\r\n",
        "1560*900*16*12*0*1*1*1",  // the last field has no terminator
        "\xff\xfe*\x01*",
    };
    for (const std::string& text : faulty) {
        setNonDefaults(0);
        writeSettings(text);
        form->load.click();
        SCOPED_TRACE(text);
        expectDefaults(0);  // no faulty file gets as far as applying Check4
        EXPECT_EQ(form->ftx1.text(), QStringLiteral("16"));
    }
}

TEST_F(SettingsTest, AMissingFileGivesTheDefaultsSilentlyAndCreatesNothing) {
    setNonDefaults(1);
    form->load.click();
    expectDefaults(1);
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));
}

TEST_F(SettingsTest, SavingThenLoadingRestoresTheSameValues) {
    writeSettings(kExample);
    form->load.click();
    EXPECT_EQ(form->windowLeft(), 1560);
    std::filesystem::remove(settingsPath());
    form->save.click();
    EXPECT_EQ(readSettings(), kExample);

    form->setWindowLeft(2400);
    form->setWindowTop(45);
    form->ftx1.setText(QStringLiteral("18 "));
    form->ftx2.setText(QStringLiteral("11"));
    setCheckValue(form->Check3, 2);
    setCheckValue(form->Check2, 0);
    setCheckValue(form->Check1, 1);
    setCheckValue(form->Check4, 0);
    form->save.click();
    EXPECT_EQ(readSettings(), "2400*45*18 *11*2*0*1*0*\r\n");

    Form1 second(folder);
    second.messageBox = &messages;
    second.keyboardLayout = &keyboard;
    second.settingsFile = settingsPath();
    second.load.click();
    EXPECT_EQ(second.windowLeft(), 2400);
    EXPECT_EQ(second.windowTop(), 45);
    EXPECT_EQ(second.ftx1.text(), QStringLiteral("18 "));
    EXPECT_EQ(second.ftx2.text(), QStringLiteral("11"));
    EXPECT_EQ(checkValue(second.Check3), 2);
    EXPECT_EQ(checkValue(second.Check2), 0);
    EXPECT_EQ(checkValue(second.Check1), 1);
    EXPECT_EQ(checkValue(second.Check4), 0);
    EXPECT_EQ(second.windowWidth(), 9135);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(SettingsTest, AFailedWriteIsReported) {
    form->settingsFile = folder / "no such folder" / "Versend.ini";
    form->save.click();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, QStringLiteral("خطأ"));
    EXPECT_TRUE(messages.messages[0].text.contains(QStringLiteral("no such folder")));
    // A file that exists but cannot be written.
    std::filesystem::create_directory(folder / "Versend.ini");  // a folder where the file should be
    form->settingsFile = settingsPath();
    form->save.click();
    EXPECT_EQ(messages.messages.size(), 2u);
}

// A click toggles an option between checked and unchecked; the greyed state is a value of the
// settings file only, and a click on a greyed box checks it.
TEST_F(SettingsTest, ClicksToggleTheOptionsBetweenCheckedAndUnchecked) {
    startWithClipboard(QStringLiteral("الله"));
    form->Label21_Click();  // the options panel
    for (QCheckBox* box : {&form->Check2, &form->Check1, &form->Check3, &form->Check4}) {
        SCOPED_TRACE(box->objectName().toStdString());
        setCheckValue(*box, 0);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(checkValue(*box), 1);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(checkValue(*box), 0);
        setCheckValue(*box, 2);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(checkValue(*box), 1);
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(checkValue(*box), 0);
    }
    // Two clicks on "ارسال مباشر " from unchecked: on, then off again.
    setCheckValue(form->Check2, 0);
    QTest::mouseClick(&form->Check2, Qt::LeftButton);
    form->Text1.setText(QStringLiteral(" الرحمن "));
    form->Command1.click();
    EXPECT_EQ(sendCount, 1);  // the single hit was sent at once
}

TEST(SettingsFields, SplitJoinAndConversions) {
    EXPECT_EQ(splitSettingsFields(QStringLiteral("a*bb**c*\r\n")),
              (QStringList{QStringLiteral("a"), QStringLiteral("bb"), QString(), QStringLiteral("c")}));
    EXPECT_EQ(splitSettingsFields(QStringLiteral("no terminator")), QStringList{});
    EXPECT_EQ(joinSettingsFields({QStringLiteral("1"), QStringLiteral(" 2")}), QStringLiteral("1* 2*\r\n"));

    EXPECT_EQ(parseSinglePrecision(QStringLiteral(" 1560 ")), 1560.0f);
    EXPECT_EQ(parseSinglePrecision(QStringLiteral("-30.5")), -30.5f);
    EXPECT_EQ(parseSinglePrecision(QString()), std::nullopt);
    EXPECT_EQ(parseSinglePrecision(QStringLiteral("12px")), std::nullopt);
    EXPECT_EQ(parseSinglePrecision(QStringLiteral("inf")), std::nullopt);
    EXPECT_EQ(parseInteger16(QStringLiteral("1")), 1);
    EXPECT_EQ(parseInteger16(QStringLiteral("2.5")), 2);  // half to even
    EXPECT_EQ(parseInteger16(QStringLiteral("1.5")), 2);
    EXPECT_EQ(parseInteger16(QStringLiteral("32767")), 32767);
    EXPECT_EQ(parseInteger16(QStringLiteral("32768")), std::nullopt);
    EXPECT_EQ(formatSinglePrecision(1560.0f), QStringLiteral("1560"));
    EXPECT_EQ(formatSinglePrecision(100.5f), QStringLiteral("100.5"));
}

}  // namespace
}  // namespace versend
