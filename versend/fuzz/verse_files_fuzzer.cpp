// The verse files under libFuzzer: any bytes as the two files, read into the store's texts and
// passed over both ways (line by line, and by the byte search of the word search), into the
// result table and decoded. The two ways must give the same rows, the same line count and the
// same failure.
//
// Input: one byte n, then n % 16 bytes of needle, then the search file up to the first NUL
// byte, then the vocalised file.
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

Pass lineByLine(const std::shared_ptr<const versend::VerseTexts>& texts, std::string_view needle) {
    Pass pass;
    versend::VerseScan scan(texts);
    try {
        while (scan.next()) {
            check(scan.searchLine().find('\n') == std::string_view::npos);
            check(scan.vocalisedLine().find('\n') == std::string_view::npos);
            if (scan.searchLine().find(needle) != std::string_view::npos)
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
                versend::ResultTable& table) {
    Pass pass;
    versend::VerseScan scan(texts);
    try {
        while (scan.nextContaining(needle)) {
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

    const Pass slow = lineByLine(texts, needle);
    versend::ResultTable table;
    const Pass fast = byteSearch(texts, needle, table);
    // The byte search stops at its last hit when nothing fails; the line-by-line pass reads on.
    check(slow.pairs == fast.pairs);
    check(slow.tooShort == fast.tooShort);
    if (fast.tooShort) check(slow.lines == fast.lines);

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
