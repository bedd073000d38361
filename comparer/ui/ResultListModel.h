#pragma once

// The rows of the results list for Qt's views. Rows are replaced as a whole; a table row's
// names are bold, every cell has black text on the row's colour.

#include "comparer/ui/ResultRow.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QPixmap>

#include <vector>

class ResultListModel : public QAbstractTableModel {
public:
    explicit ResultListModel(QObject* parent = nullptr);

    // Takes the rows over; the rows held before and their row objects are deleted.
    void setRows(ResultRows rows);
    void clear() { setRows({}); }
    const ResultRows& rows() const { return rows_; }
    // The row object of a row, or none outside the rows.
    const ElementData* elementData(int row) const;

    // Column widths in pixels when the list is created.
    static int initialWidth(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    ResultRows rows_;
    std::vector<QPixmap> images_;
    QFont nameFont_;
};
