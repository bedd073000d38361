#include "comparer/ui/CSplitterListViewCtrl.h"

#include "comparer/ui/ElementImages.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>

CSplitterListViewCtrl::CSplitterListViewCtrl(QWidget* parent) : QTableView(parent) {
    setModel(&model_);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setSortingEnabled(false);
    setIconSize(QSize(kElementImageWidth, kElementImageHeight));
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);

    // Fixed row heights keep a list of tens of thousands of rows as fast as a short one.
    QHeaderView* rowsHeader = verticalHeader();
    rowsHeader->hide();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setMinimumSectionSize(kElementImageHeight + 2);
    rowsHeader->setDefaultSectionSize(qMax(kElementImageHeight + 2, fontMetrics().height() + 4));

    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(false);
    header->setSortIndicatorShown(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(0);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < ResultColumnCount; ++column)
        header->resizeSection(column, ResultListModel::initialWidth(column));
    header->setSectionResizeMode(SeparatorColumn, QHeaderView::Fixed);
}

const ElementData* CSplitterListViewCtrl::elementData(const QModelIndex& index) const {
    return index.isValid() ? model_.elementData(index.row()) : nullptr;
}

void CSplitterListViewCtrl::balanceColumns() {
    // The outer width, frame and scroll bar included: the columns then end at the scroll
    // bar and the separator sits under the middle line.
    QHeaderView* header = horizontalHeader();
    int half = width() / 2 - header->sectionSize(SeparatorColumn) -
               header->sectionSize(FirstNameColumn) - 9;
    header->resizeSection(FirstInfoColumn, qMax(0, half - header->sectionSize(TypeColumn)));
    header->resizeSection(SecondInfoColumn, qMax(0, half - header->sectionSize(ActionColumn)));
}

void CSplitterListViewCtrl::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    int rows = model_.rowCount();
    if (rows == 0)
        return;
    // The line runs over the rows only, not over the empty space below them.
    int bottom = rowViewportPosition(rows - 1) + rowHeight(rows - 1);
    if (bottom <= 0)
        return;
    int middle = viewport()->width() / 2;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawLine(middle, 0, middle, qMin(bottom, viewport()->height()) - 1);
}

void CSplitterListViewCtrl::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    balanceColumns();
}
