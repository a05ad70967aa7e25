// Sending a range of verses of one surah in one pair of brackets, each verse followed by its number.
#include "versend/form1.h"
#include "versend/send.h"
#include "versend/surah_names.h"

#include <cmath>

namespace versend {

void Form1::Command6_Click() {
    // A listing under way has not yet put all its rows into the table: the range is sent once
    // it (and any listing asked for during it) has ended.
    if (scanning_) {
        rangeSendWaiting_ = true;
        return;
    }
    if (Combo1.currentIndex() <= 0) {
        messageBox->show(QStringLiteral("حدد السورة"), kErrorCaption);
        return;
    }

    const double verseSize = leadingValue(ftx1.text());
    const double citationSize = leadingValue(ftx2.text());
    const double first = leadingValue(Text3.text());
    const double last = leadingValue(Text4.text());
    // A range has at least two whole verses, all of them listed. A first verse below 1 (an
    // empty box or 0) would read a row before the first one.
    if (last > List2.count() || first >= last || first < 1 || first != std::floor(first) || last != std::floor(last)) {
        messageBox->show(QStringLiteral("تحديد خطأ للآيات"), kErrorCaption);
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
    List3.setCurrentRow(lastRow);
    setCurrentSurah(rowSurahNumber(lastRow));
    Label4.setText(fromU16(citationName(currentSurah())));

    const SendPieces pieces{verseSize, citationSize,          QStringLiteral("["),
                            body,      QStringLiteral("]. "), u'{' + Label4.text() + QStringLiteral("}.")};
    if (!sendPieces(*this, pieces)) return;

    showNotice(kSentNotice, 500);
    if (checkValue(Check1) == 1) endAfterSend();
}

}  // namespace versend
