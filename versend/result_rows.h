#pragma once
// The result table as plain data: per row, the visible line (search line without its surah
// code), the vocalised line and the surah code, held as views into the verse texts that the
// scan read (kept alive by the table) and decoded only when a row is shown or selected.

#include "versend/verse_scan.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace versend {

class ResultTable {
public:
    enum class Column { Visible, Vocalised, Code };

    int count() const { return static_cast<int>(rows_.size()); }
    void clear();
    // Appends the row of the scan's current line pair.
    void appendCurrent(const VerseScan& scan);
    // Appends a row given as text; a character outside the verse files' code page becomes "?".
    void appendTexts(const QString& visible, const QString& vocalised, const QString& code);
    // Appends every row of another table.
    void append(const ResultTable& other);
    // The text of a row's column; empty outside the table.
    QString text(int row, Column column) const;
    std::string_view bytes(int row, Column column) const;

private:
    struct Row {
        std::string_view visible;
        std::string_view vocalised;
        std::string_view code;
    };
    void keep(const std::shared_ptr<const VerseTexts>& texts);

    std::vector<Row> rows_;
    std::vector<std::shared_ptr<const VerseTexts>> sources_;
    std::vector<std::shared_ptr<const std::string>> ownTexts_;
};

// Appends to `rows` the line pairs whose search line contains the query, code unit by code
// unit, in file order. A query with a character outside the verse files' code page matches
// nothing. Returns the lines of the search file examined. Throws VerseFileError (a short
// vocalised file: the rows before the failure are in `rows`).
int collectContaining(const std::shared_ptr<const VerseTexts>& texts, const QString& query, ResultTable& rows);

struct WordSearchOutcome {
    int linesRead = 0;    // lines of the search file examined by the last pass
    bool folded = false;  // the rows were found by the forgiving search
};

// The word search: the exact search of collectContaining first. Only when that finds no line,
// the same query again with the query and the search lines both folded (letter_folding.h), so
// that exact and folded rows are never mixed. A query that folds to nothing but blanks (one of
// marks or tatweel alone) gets no second pass. Throws VerseFileError.
WordSearchOutcome collectWordSearch(const std::shared_ptr<const VerseTexts>& texts, const QString& query,
                                    ResultTable& rows);

}  // namespace versend
