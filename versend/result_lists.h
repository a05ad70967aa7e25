#pragma once
// The three lists of the result table over its plain rows: the visible list (a list view whose
// rows are decoded only when drawn) and the two hidden lists, which are a current row over a
// column of the table.

#include "versend/result_rows.h"

#include <QListView>

#include <memory>

namespace versend {

class ResultList : public QListView {
    Q_OBJECT
public:
    ResultList(const ResultTable& table, QWidget* parent);
    ~ResultList() override;

    // Rows shown: the table's rows as of the last reset or append.
    int count() const;
    int currentRow() const;
    // Selects a row (-1: none), emitting currentRowChanged.
    void setCurrentRow(int row);
    QString text(int row) const;
    QRect rowRect(int row) const;
    // The height of one row in this list's font and style.
    int rowHeight() const;
    // After the table was emptied or replaced.
    void resetRows();
    // After rows were appended at the table's end.
    void rowsAppended();

signals:
    void currentRowChanged(int row);
    // A row was clicked with the mouse.
    void rowClicked();

private:
    class Model;
    Model* model_;  // a child object
};

class HiddenList {
public:
    HiddenList(const ResultTable& table, ResultTable::Column column) : table_(table), column_(column) {}
    int count() const { return table_.count(); }
    int currentRow() const { return current_ < count() ? current_ : -1; }
    void setCurrentRow(int row) { current_ = row >= 0 && row < count() ? row : -1; }
    QString text(int row) const { return table_.text(row, column_); }
    QString currentText() const { return text(currentRow()); }

private:
    const ResultTable& table_;
    ResultTable::Column column_;
    int current_ = -1;
};

}  // namespace versend
