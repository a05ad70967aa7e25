// The verse files under libFuzzer: any bytes as the two files, read into the store's texts and
// passed over both ways (line by line, and by the byte search of the word search), into the
// result table and decoded. The two ways must give the same rows, the same line count and the
// same failure; so must they over the folded search lines with the folded needle, where a folded
// line may be shorter than its line. The whole word search on the needle must give the exact
// rows when there are any, else the folded ones, never both.
//
// Input: one byte n, then n % 16 bytes of needle, then the search file up to the first NUL
// byte, then the vocalised file.
#include "versend/code_page.h"
#include "versend/letter_folding.h"
#include "versend/result_rows.h"
#include "versend/verse_scan.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Pass {
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    int lines = 0;
    bool tooShort = false;
};

void check(bool condition) {
    if (!condition) std::abort();
}

std::string folded(std::string_view bytes) {
    std::string out;
    versend::appendFoldedBytes(bytes, out);
    return out;
}

// The lines whose search line contains the needle, or whose folded search line contains it.
Pass lineByLine(const std::shared_ptr<const versend::VerseTexts>& texts, std::string_view needle,
                versend::SearchForm form) {
    Pass pass;
    versend::VerseScan scan(texts);
    try {
        while (scan.next()) {
            check(scan.searchLine().find('\n') == std::string_view::npos);
            check(scan.vocalisedLine().find('\n') == std::string_view::npos);
            const std::string line(form == versend::SearchForm::Folded ? folded(scan.searchLine()) : scan.searchLine());
            if (line.find(needle) != std::string_view::npos)
                pass.pairs.emplace_back(scan.searchLine(), scan.vocalisedLine());
        }
    } catch (const versend::VerseFileError& error) {
        check(error.kind() == versend::VerseFileError::Kind::TooShort);
        pass.tooShort = true;
    }
    pass.lines = scan.lineCount();
    return pass;
}

Pass byteSearch(const std::shared_ptr<const versend::VerseTexts>& texts, std::string_view needle,
                versend::SearchForm form, versend::ResultTable& table) {
    Pass pass;
    versend::VerseScan scan(texts);
    try {
        while (scan.nextContaining(needle, form)) {
            pass.pairs.emplace_back(scan.searchLine(), scan.vocalisedLine());
            table.appendCurrent(scan);
        }
    } catch (const versend::VerseFileError& error) {
        check(error.kind() == versend::VerseFileError::Kind::TooShort);
        pass.tooShort = true;
    }
    pass.lines = scan.lineCount();
    return pass;
}

// Both ways over one form of the search lines, which must agree; the byte search's pass.
Pass bothWays(const std::shared_ptr<const versend::VerseTexts>& texts, std::string_view needle,
              versend::SearchForm form, versend::ResultTable& table) {
    const Pass slow = lineByLine(texts, needle, form);
    const Pass fast = byteSearch(texts, needle, form, table);
    // The byte search stops at its last hit when nothing fails; the line-by-line pass reads on.
    check(slow.pairs == fast.pairs);
    check(slow.tooShort == fast.tooShort);
    if (fast.tooShort) check(slow.lines == fast.lines);
    return fast;
}

// The word search on the needle as typed text: the exact rows when there are any, else the
// folded ones (unless the fold left nothing but blanks).
void checkWordSearch(const std::shared_ptr<const versend::VerseTexts>& texts, std::string_view needle,
                     const Pass& exact, const Pass& foldedPass) {
    versend::ResultTable rows;
    const auto outcome = versend::collectWordSearch(texts, versend::decodeArabicCodePage(needle), rows);
    const std::string foldedNeedle = folded(needle);
    const bool foldedRuns = exact.pairs.empty() && foldedNeedle.find_first_not_of(' ') != std::string::npos;
    const auto& expected = foldedRuns ? foldedPass.pairs : exact.pairs;
    check(outcome.folded == (foldedRuns && !expected.empty()));
    check(rows.count() == static_cast<int>(expected.size()));
    for (std::size_t row = 0; row < expected.size(); ++row) {
        check(rows.bytes(static_cast<int>(row), versend::ResultTable::Column::Vocalised) == expected[row].second);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t needleLength = std::min<std::size_t>(static_cast<std::uint8_t>(input[0]) % 16, input.size() - 1);
    const std::string_view needle = input.substr(1, needleLength);
    const std::string_view files = input.substr(1 + needleLength);
    const std::size_t nul = files.find('\0');
    const std::string search(files.substr(0, nul));
    const std::string vocalised(nul == std::string_view::npos ? std::string_view() : files.substr(nul + 1));

    const auto texts = versend::VerseTexts::fromBytes(search, vocalised);
    check(texts->search.lineCount() <= versend::kVerseLineLimit);

    versend::ResultTable table;
    const Pass fast = bothWays(texts, needle, versend::SearchForm::Exact, table);

    // The folded form: line for line the folded search lines, searched for the folded needle.
    const auto& foldedLines = texts->foldedSearch();
    check(foldedLines.lineCount() == texts->search.lineCount());
    for (int i = 0; i < foldedLines.lineCount(); ++i) check(foldedLines.line(i) == folded(texts->search.line(i)));
    versend::ResultTable foldedTable;
    const Pass fastFolded = bothWays(texts, folded(needle), versend::SearchForm::Folded, foldedTable);

    if (!fast.tooShort && !fastFolded.tooShort) checkWordSearch(texts, needle, fast, fastFolded);

    // The rows as the window shows them: each column decodes to one character per byte.
    check(table.count() == static_cast<int>(fast.pairs.size()));
    for (int row = 0; row < table.count(); ++row) {
        for (const auto column : {versend::ResultTable::Column::Visible, versend::ResultTable::Column::Vocalised,
                                  versend::ResultTable::Column::Code}) {
            check(table.text(row, column).size() == static_cast<qsizetype>(table.bytes(row, column).size()));
        }
    }
    versend::ResultTable copy;
    copy.append(table);
    table.clear();
    check(copy.count() == static_cast<int>(fast.pairs.size()));
    if (copy.count() > 0) check(copy.bytes(0, versend::ResultTable::Column::Vocalised) == fast.pairs[0].second);
    return 0;
}
