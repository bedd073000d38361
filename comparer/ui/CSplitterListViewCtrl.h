#pragma once

// The results list: both databases side by side over ResultListModel's rows, a line at the
// middle, and headers that never sort. Columns 2 and 5 share the width left over so that
// both halves stay equally wide.

#include "comparer/ui/ResultListModel.h"

#include <QTableView>

class CSplitterListViewCtrl : public QTableView {
public:
    explicit CSplitterListViewCtrl(QWidget* parent = nullptr);

    ResultListModel& rows() { return model_; }
    // The row object under a model index, or none.
    const ElementData* elementData(const QModelIndex& index) const;

    // Gives columns 2 and 5 the width that keeps both halves equal.
    void balanceColumns();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ResultListModel model_;
};
