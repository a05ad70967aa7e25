// Sending a range of verses of one surah in one pair of brackets, each verse followed by its number.
#include "versend/form1.h"
#include "versend/send.h"
#include "versend/surah_names.h"

#include <cmath>

namespace versend {

namespace {

const QString kErrorCaptionText = QStringLiteral("خطأ");

QString fromU16(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void Form1::Command6_Click() {
    if (Combo1.currentIndex() <= 0) {
        messageBox->show(QStringLiteral("حدد السورة"), kErrorCaptionText);
        return;
    }

    const double verseSize = leadingValue(ftx1.text());
    const double citationSize = leadingValue(ftx2.text());
    const double first = leadingValue(Text3.text());
    const double last = leadingValue(Text4.text());
    // A range has at least two whole verses, all of them listed. A first verse below 1 (an
    // empty box or 0) would read a row before the first one.
    if (last > List2.count() || first >= last || first < 1 || first != std::floor(first) || last != std::floor(last)) {
        messageBox->show(QStringLiteral("تحديد خطأ للآيات"), kErrorCaptionText);
        return;
    }

    QString body;
    for (int row = static_cast<int>(first) - 1; row <= static_cast<int>(last) - 1; ++row) {
        selectList2Row(row);
        selectRow(row);
        const QString number = rowVerseNumber(row);
        if (!number.isEmpty()) Label5.setText(number);
        body += rowVerseText(row) + u'(' + Label5.text() + QStringLiteral(") ");
    }
    const int lastRow = List1.currentRow();
    {
        const QSignalBlocker block(List3);
        List3.setCurrentRow(lastRow);
    }
    setCurrentSurah(rowSurahNumber(lastRow));
    Label4.setText(fromU16(citationName(currentSurah())));

    const SendPieces pieces{verseSize, citationSize, QStringLiteral("["), body, QStringLiteral("]. "),
                            u'{' + Label4.text() + QStringLiteral("}.")};
    if (!sendPieces(*this, pieces)) return;

    showNotice(kSentNotice, 500);
    if (checkValue(Check1) == 1) endProgram();
}

}  // namespace versend
