#include "comparer/ui/ResultListModel.h"

#include "comparer/ui/ElementImages.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace {

struct ColumnLook {
    const char* title;
    int width;
};

constexpr ColumnLook kColumns[ResultColumnCount] = {
    {"type", 43},  {"name", 200}, {"info", 220},  {"", 3},
    {"name", 200}, {"info", 220}, {"action", 56},
};

} // namespace

ResultListModel::ResultListModel(QObject* parent)
    : QAbstractTableModel(parent), images_(drawElementImages()), nameFont_(QApplication::font()) {
    nameFont_.setWeight(QFont::DemiBold); // 600
}

void ResultListModel::setRows(ResultRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

const ElementData* ResultListModel::elementData(int row) const {
    if (row < 0 || row >= int(rows_.size()))
        return nullptr;
    return rows_[size_t(row)].data.get();
}

int ResultListModel::initialWidth(int column) {
    return kColumns[column].width;
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ResultColumnCount;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const ResultRow& row = rows_[size_t(index.row())];
    int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return row.cells[size_t(column)];
    case Qt::DecorationRole:
        if (column == TypeColumn && row.image >= 0 && row.image < int(images_.size()))
            return images_[size_t(row.image)];
        return {};
    case Qt::FontRole:
        if (row.data && row.data->isTable &&
            (column == FirstNameColumn || column == SecondNameColumn))
            return nameFont_;
        return {};
    case Qt::BackgroundRole:
        if (column == SeparatorColumn)
            return QApplication::palette().button();
        if (row.data)
            return QColor(QRgb(row.data->colour));
        return {};
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    default:
        return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ResultColumnCount)
        return {};
    return QString::fromLatin1(kColumns[section].title);
}
