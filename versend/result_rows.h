#pragma once
// The rows of the result table that one verse scan yields, collected as text for the three
// lists: the visible line (search line without its surah code), the vocalised line, the code.

#include "versend/verse_scan.h"

#include <QString>
#include <QStringList>

namespace versend {

struct ResultRows {
    QStringList visible;
    QStringList vocalised;
    QStringList codes;
    int linesRead = 0;  // lines of the search file examined
};

// The line pairs whose search line contains the query, code unit by code unit, in file order.
// A query with a character outside the verse files' code page matches nothing. Throws
// VerseFileError.
ResultRows collectContaining(const VerseFiles& files, const QString& query);

// Appends the row of the scan's current line pair.
void appendCurrentRow(const VerseScan& scan, ResultRows& rows);

}  // namespace versend
