// The results list filled by a real comparison of two embedded databases.

#include "comparer/ui/CListViewTrackTip.h"
#include "comparer/ui/ElementImages.h"
#include "tests/comparer_ui/MainWindowFixture.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>

namespace {

class ResultListTest : public MainWindowFixture {
protected:
    // Moves the pointer over a cell, the way the mouse reports it to the list.
    void moveTo(int row, int column) {
        QRect cell = window.list().visualRect(rows().index(row, column));
        QWidget* viewport = window.list().viewport();
        QPointF local = cell.center();
        QMouseEvent move(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }

    // Press, release, double click, release: what a double click sends.
    void doubleClick(QPoint local) {
        QWidget* viewport = window.list().viewport();
        QPointF global = viewport->mapToGlobal(QPointF(local));
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(local), global, Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        }
    }

    void compareAtStart() {
        giveDatabases(true);
        showWindow();
        QTRY_COMPARE(rows().rowCount(), 7);
    }
};

TEST_F(ResultListTest, StartWithTwoDatabasesFillsTheListAfterTheFirstPaint) {
    giveDatabases(true);
    EXPECT_EQ(rows().rowCount(), 0);
    showWindow();
    QTRY_COMPARE(rows().rowCount(), 7);
    EXPECT_EQ(window.firstName().text().toStdString(), first.string());
    EXPECT_EQ(window.secondName().text().toStdString(), second.string());

    using Row = std::vector<QString>;
    const QString length50 = "TEXT; length=50; nullable; allow zero length=false";
    const QString length80 = "TEXT; length=80; nullable; allow zero length=false";
    const QString length100 = "TEXT; length=100; nullable; allow zero length=false";
    const QString id = "LONG; length=4; nullable";
    const std::vector<Row> expected = {
        {"", "Customers", "", "", "Customers", "", "changed"},
        {"", "Name", length50, "", "Name", length80, "changed"},
        {"", "", "", "", "Email", length100, "added"},
        {"", "Orders", "", "", "", "", "deleted"},
        {"", "Id", id, "", "", "", "deleted"},
        {"", "", "", "", "Invoices", "", "added"},
        {"", "", "", "", "Id", id, "added"},
    };
    const std::vector<int> images = {TableImage, FieldImage, FieldImage, TableImage,
                                     FieldImage, TableImage, FieldImage};
    const std::vector<QRgb> colours = {0xFFE8DE, 0xFFE8DE, 0xFFFBCC, 0xD9E4EC,
                                       0xD9E4EC, 0xFFFBCC, 0xFFFBCC};
    const QColor buttonFace = QApplication::palette().button().color();
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(texts(row), expected[size_t(row)]);
        EXPECT_EQ(rows().rows()[size_t(row)].image, images[size_t(row)]);
        EXPECT_FALSE(rows().index(row, TypeColumn).data(Qt::DecorationRole).isNull());
        bool isTable = images[size_t(row)] == TableImage;
        EXPECT_EQ(rows().elementData(row)->isTable, isTable);
        for (int column = 0; column < ResultColumnCount; ++column) {
            QModelIndex cell = rows().index(row, column);
            EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
            QColor background = cell.data(Qt::BackgroundRole).value<QBrush>().color();
            EXPECT_EQ(background,
                      column == SeparatorColumn ? buttonFace : QColor(colours[size_t(row)]));
            bool bold = cell.data(Qt::FontRole).value<QFont>().weight() == QFont::DemiBold;
            EXPECT_EQ(bold, isTable && (column == FirstNameColumn || column == SecondNameColumn))
                << column;
        }
    }
    // Tooltips: the changed length on both sides; nothing on the missing side of an addition.
    EXPECT_EQ(rows().elementData(1)->firstTooltip, u"length=50");
    EXPECT_EQ(rows().elementData(1)->secondTooltip, u"length=80");
    EXPECT_EQ(rows().elementData(2)->firstTooltip, u"");
    EXPECT_EQ(rows().elementData(2)->secondTooltip,
              u"type=TEXT\r\nlength=100\r\nnot autoincrement\r\nnullable\r\n"
              u"default value=null\r\nnumeric scale=0\r\nprecision=0");
}

TEST_F(ResultListTest, WithoutDatabasesAtStartNothingIsCompared) {
    giveDatabases(false);
    showWindow();
    QTest::qWait(100);
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(window.firstName().text(), " ");
    EXPECT_EQ(window.secondName().text(), " ");
}

TEST_F(ResultListTest, AHeaderClickDoesNotSort) {
    compareAtStart();
    std::vector<QString> before;
    for (int row = 0; row < rows().rowCount(); ++row)
        before.push_back(texts(row)[FirstNameColumn]);
    QHeaderView* header = window.list().horizontalHeader();
    for (int section : {FirstNameColumn, ActionColumn}) {
        QPoint centre(header->sectionViewportPosition(section) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    for (int row = 0; row < rows().rowCount(); ++row)
        EXPECT_EQ(texts(row)[FirstNameColumn], before[size_t(row)]);
    EXPECT_FALSE(window.list().isSortingEnabled());
}

TEST_F(ResultListTest, ResizingKeepsTheHalvesEqualAndTheSecondCaptionAtTheMiddle) {
    compareAtStart();
    QHeaderView* header = window.list().horizontalHeader();
    for (QSize size : {QSize(800, 500), QSize(1300, 760)}) {
        window.resize(size);
        QTRY_COMPARE(window.size(), size);
        QCoreApplication::processEvents();
        int middle = window.width() / 2;
        EXPECT_EQ(window.secondCaption().mapTo(&window, QPoint()).x(), middle);
        EXPECT_EQ(window.secondName().mapTo(&window, QPoint()).x(), middle);
        int left = header->sectionSize(0) + header->sectionSize(1) + header->sectionSize(2);
        int right = header->sectionSize(4) + header->sectionSize(5) + header->sectionSize(6);
        EXPECT_EQ(left, right);
        EXPECT_EQ(left, window.list().width() / 2 - header->sectionSize(SeparatorColumn) - 9);
    }
    EXPECT_EQ(header->sectionResizeMode(SeparatorColumn), QHeaderView::Fixed);
}

TEST_F(ResultListTest, ADoubleClickAsksForThatRowsDifference) {
    struct Recorder {
        void record(const ElementData* row) { rows.push_back(row); }
        std::vector<const ElementData*> rows;
    } recorder;
    compareAtStart();
    window.onShowDifference.bind(recorder, &Recorder::record);
    QRect cell = window.list().visualRect(rows().index(1, SecondInfoColumn));
    doubleClick(cell.center());
    ASSERT_EQ(recorder.rows.size(), 1u);
    EXPECT_EQ(recorder.rows[0], rows().elementData(1));
    // Below the rows there is nothing to show.
    doubleClick(QPoint(20, window.list().viewport()->height() - 3));
    EXPECT_EQ(recorder.rows.size(), 1u);
}

TEST_F(ResultListTest, TheTrackTipShowsTheTextOfTheSideUnderThePointer) {
    compareAtStart();
    CListViewTrackTip& tip = window.trackTip();
    tip.setDelay(1);
    moveTo(1, SecondInfoColumn);
    QTRY_VERIFY(tip.isShown());
    EXPECT_EQ(tip.shownText(), "length=80");
    QRect cell = window.list().visualRect(rows().index(1, SecondInfoColumn));
    QPoint pointer = window.list().viewport()->mapToGlobal(cell.center());
    EXPECT_EQ(tip.tipWindow().pos(), pointer + QPoint(15, 15));
    EXPECT_LE(tip.tipWindow().width(), 300);
    // The other side hides it; the next movement shows that side's text.
    moveTo(1, FirstNameColumn);
    EXPECT_FALSE(tip.isShown());
    moveTo(1, FirstNameColumn);
    QTRY_VERIFY(tip.isShown());
    EXPECT_EQ(tip.shownText(), "length=50");
    // Another row hides it too; a row side without text shows nothing.
    moveTo(2, TypeColumn);
    EXPECT_FALSE(tip.isShown());
    moveTo(2, FirstInfoColumn);
    QTest::qWait(30);
    EXPECT_FALSE(tip.isShown());
    moveTo(2, SecondNameColumn);
    QTRY_VERIFY(tip.isShown());
    EXPECT_TRUE(tip.shownText().startsWith("type=TEXT\nlength=100\n"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(window.list().viewport(), &leave);
    EXPECT_FALSE(tip.isShown());
}

} // namespace
