#include "versend/result_rows.h"

#include "versend/code_page.h"

#include <algorithm>

namespace versend {

void appendCurrentRow(const VerseScan& scan, ResultRows& rows) {
    const std::string_view line = scan.searchLine();
    rows.visible.append(decodeArabicCodePage(line.substr(std::min<std::size_t>(3, line.size()))));
    rows.vocalised.append(decodeArabicCodePage(scan.vocalisedLine()));
    rows.codes.append(decodeArabicCodePage(line.substr(0, 3)));
}

ResultRows collectContaining(const VerseFiles& files, const QString& query) {
    ResultRows rows;
    const auto needle = encodeArabicCodePage(query);
    VerseScan scan(files);
    if (needle) {
        while (scan.nextContaining(*needle)) appendCurrentRow(scan, rows);
    } else {
        scan.skipToEnd();
    }
    rows.linesRead = scan.lineCount();
    return rows;
}

}  // namespace versend
