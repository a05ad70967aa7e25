#include "versend/result_lists.h"

#include <QAbstractListModel>
#include <QStringListModel>

namespace versend {

class ResultList::Model final : public QAbstractListModel {
public:
    Model(const ResultTable& table, QObject* parent) : QAbstractListModel(parent), table_(table) {}

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : shown_; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= shown_) return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return table_.text(index.row(), ResultTable::Column::Visible);
        return {};
    }
    void reset() {
        beginResetModel();
        shown_ = table_.count();
        endResetModel();
    }
    void appended() {
        if (table_.count() < shown_) return reset();
        if (table_.count() == shown_) return;
        beginInsertRows({}, shown_, table_.count() - 1);
        shown_ = table_.count();
        endInsertRows();
    }

private:
    const ResultTable& table_;
    int shown_ = 0;
};

ResultList::ResultList(const ResultTable& table, QWidget* parent) : QListView(parent), model_(new Model(table, this)) {
    setModel(model_);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { emit currentRowChanged(current.isValid() ? current.row() : -1); });
    connect(this, &QListView::clicked, this, [this] { emit rowClicked(); });
}

ResultList::~ResultList() = default;

int ResultList::count() const { return model_->rowCount(); }

int ResultList::currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void ResultList::setCurrentRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    selectionModel()->setCurrentIndex(
        index, index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::Clear);
}

QString ResultList::text(int row) const { return model_->data(model_->index(row, 0), Qt::DisplayRole).toString(); }

QRect ResultList::rowRect(int row) const { return visualRect(model_->index(row, 0)); }

int ResultList::rowHeight() const {
    QStringListModel sample(QStringList{QStringLiteral("بسم 1")});
    QListView probe;
    probe.setFont(font());
    probe.setStyle(style());
    probe.setUniformItemSizes(true);
    probe.setModel(&sample);
    return probe.sizeHintForRow(0);
}

void ResultList::resetRows() { model_->reset(); }

void ResultList::rowsAppended() { model_->appended(); }

}  // namespace versend
