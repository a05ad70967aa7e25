// The settings file: applied by the hidden button `load`, written by `save`.
#include "versend/form1.h"

#include "versend/code_page.h"
#include "versend/settings_file.h"
#include "versend/texts.h"

#include <QFile>

namespace versend {
namespace {

// A field that cannot be applied ends the reading of the file.
struct SettingsError {};

QString field(const QListWidget& list, int index) {
    const QListWidgetItem* item = list.item(index);
    if (!item) throw SettingsError{};
    return item->text();
}

float singleField(const QListWidget& list, int index) {
    const auto value = parseSinglePrecision(field(list, index));
    if (!value) throw SettingsError{};
    return *value;
}

void checkField(const QListWidget& list, int index, QCheckBox& box) {
    const auto value = parseInteger16(field(list, index));
    if (!value || !setCheckValue(box, *value)) throw SettingsError{};
}

}  // namespace

void Form1::applyWindowShape() {
    const int shape = checkValue(Check4);
    if (shape == 2) return;
    const bool narrow = shape == 1;
    setWindowWidth(narrow ? 4650 : 9135);
    setWindowHeight(narrow ? 4340 : 2620);
    Picture7.move(twipsToPixels(narrow ? 30 : 4560), Picture7.y());
    Picture8.move(Picture8.x(), twipsToPixels(narrow ? 1735 : 15));
    Image4.setPixmap(narrow ? Image6.pixmap() : Image5.pixmap());
    // The hint beside the list belongs to the wide shape only.
    Picture9.setVisible(!narrow);
    Label8.setVisible(!narrow);
}

void Form1::applyDefaultSettings() {
    setWindowLeft(100);
    setWindowTop(100);
    setWindowWidth(9135);
    setWindowHeight(2620);
    Picture7.move(twipsToPixels(4560), Picture7.y());
    Picture8.move(Picture8.x(), twipsToPixels(15));
    Image4.setPixmap(Image5.pixmap());
    Picture9.show();
    Label8.show();
    ftx1.setText(QStringLiteral("16"));
    ftx2.setText(QStringLiteral("12"));
    setCheckValue(Check3, 0);
    setCheckValue(Check2, 1);
    setCheckValue(Check1, 1);
}

void Form1::applySettings() {
    try {
        setWindowWidth(4665);
        setWindowHeight(4340);
        SaveList.clear();
        QFile file(settingsFile);
        if (!file.open(QIODevice::ReadOnly)) throw SettingsError{};  // a missing file: defaults, silently
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) throw SettingsError{};
        file.close();
        Label1.setText(
            decodeArabicCodePage(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
        SaveList.addItems(splitSettingsFields(Label1.text()));

        setWindowLeft(singleField(SaveList, 0));
        setWindowTop(singleField(SaveList, 1));
        ftx1.setText(field(SaveList, 2));
        ftx2.setText(field(SaveList, 3));
        checkField(SaveList, 4, Check3);
        checkField(SaveList, 5, Check2);
        checkField(SaveList, 6, Check1);
        checkField(SaveList, 7, Check4);
        applyWindowShape();
    } catch (const SettingsError&) {
        applyDefaultSettings();
    }
}

void Form1::saveSettings() {
    SaveList.clear();
    SaveList.addItems({
        formatSinglePrecision(static_cast<float>(windowLeft())),
        formatSinglePrecision(static_cast<float>(windowTop())),
        ftx1.text(),
        ftx2.text(),
        QString::number(checkValue(Check3)),
        QString::number(checkValue(Check2)),
        QString::number(checkValue(Check1)),
        QString::number(checkValue(Check4)),
    });
    QStringList fields;
    for (int i = 0; i < SaveList.count(); ++i) fields.append(SaveList.item(i)->text());
    const std::string bytes = encodeArabicCodePageLossy(joinSettingsFields(fields));

    QFile file(settingsFile);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.flush();
    if (!written) {
        messageBox->show(QStringLiteral("تعذر حفظ الإعدادات في الملف:\n%1\n%2")
                             .arg(QString::fromStdString(settingsFile.string()), file.errorString()),
                         kErrorCaption);
    }
}

}  // namespace versend
