#include "versend/result_rows.h"

#include "versend/code_page.h"
#include "versend/letter_folding.h"

#include <algorithm>

namespace versend {

void ResultTable::clear() {
    rows_.clear();
    sources_.clear();
    ownTexts_.clear();
}

void ResultTable::keep(const std::shared_ptr<const VerseTexts>& texts) {
    if (std::find(sources_.begin(), sources_.end(), texts) == sources_.end()) sources_.push_back(texts);
}

void ResultTable::appendCurrent(const VerseScan& scan) {
    if (sources_.empty() || sources_.back() != scan.texts()) keep(scan.texts());
    const std::string_view line = scan.searchLine();
    const std::size_t code = std::min<std::size_t>(3, line.size());
    rows_.push_back({line.substr(code), scan.vocalisedLine(), line.substr(0, code)});
}

void ResultTable::appendTexts(const QString& visible, const QString& vocalised, const QString& code) {
    const auto own = [this](const QString& text) -> std::string_view {
        return *ownTexts_.emplace_back(std::make_shared<const std::string>(encodeArabicCodePageLossy(text)));
    };
    rows_.push_back({own(visible), own(vocalised), own(code)});
}

void ResultTable::append(const ResultTable& other) {
    for (const auto& texts : other.sources_) keep(texts);
    ownTexts_.insert(ownTexts_.end(), other.ownTexts_.begin(), other.ownTexts_.end());
    rows_.insert(rows_.end(), other.rows_.begin(), other.rows_.end());
}

std::string_view ResultTable::bytes(int row, Column column) const {
    if (row < 0 || row >= count()) return {};
    const Row& r = rows_[static_cast<std::size_t>(row)];
    switch (column) {
        case Column::Visible: return r.visible;
        case Column::Vocalised: return r.vocalised;
        case Column::Code: return r.code;
    }
    return {};
}

QString ResultTable::text(int row, Column column) const { return decodeArabicCodePage(bytes(row, column)); }

namespace {

int collect(const std::shared_ptr<const VerseTexts>& texts, const std::optional<std::string>& needle, SearchForm form,
            ResultTable& rows) {
    VerseScan scan(texts);
    if (needle) {
        while (scan.nextContaining(*needle, form)) rows.appendCurrent(scan);
    } else {
        scan.skipToEnd();
    }
    return scan.lineCount();
}

}  // namespace

int collectContaining(const std::shared_ptr<const VerseTexts>& texts, const QString& query, ResultTable& rows) {
    return collect(texts, encodeArabicCodePage(query), SearchForm::Exact, rows);
}

WordSearchOutcome collectWordSearch(const std::shared_ptr<const VerseTexts>& texts, const QString& query,
                                    ResultTable& rows) {
    const int before = rows.count();
    const auto exact = encodeArabicCodePage(query);
    WordSearchOutcome outcome{collect(texts, exact, SearchForm::Exact, rows)};
    if (rows.count() > before) return outcome;
    const auto folded = foldedQuery(query);
    if (!folded || folded->find_first_not_of(' ') == std::string::npos) return outcome;
    outcome.linesRead = collect(texts, folded, SearchForm::Folded, rows);
    outcome.folded = rows.count() > before;
    return outcome;
}

}  // namespace versend
