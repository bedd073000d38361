#pragma once

// The results list's tracking tooltip: after the tooltip delay it shows the tooltip text of
// the row under the pointer, 15 pixels right of and below the pointer, at most 300 pixels
// wide. Columns 0 to 2 show the first element's text, the others the second's. Moving to
// another row or to the other side, leaving the rows or leaving the list hides it.

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <functional>

class QAbstractItemView;
class QLabel;
class QWidget;

class CListViewTrackTip : public QObject {
public:
    // The text of a row's side (false: first element, true: second).
    using TextOf = std::function<QString(int row, bool secondSide)>;

    // Follows the pointer over the list's rows; the tooltip window belongs to the list.
    CListViewTrackTip(QAbstractItemView& list, TextOf textOf);
    ~CListViewTrackTip() override;

    bool isShown() const;
    QString shownText() const;
    // The tooltip's own window.
    const QWidget& tipWindow() const;
    // The delay before the tooltip shows; the style's tooltip delay until set.
    void setDelay(int milliseconds) { timer_.setInterval(milliseconds); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Place {
        int row = -1;
        bool secondSide = false;
        bool operator==(const Place&) const = default;
    };

    void track(const QPoint& position);
    void showTip();
    void hide();

    QAbstractItemView& list_;
    TextOf textOf_;
    QLabel* tip_;
    QTimer timer_;
    Place shown_;   // where the shown tooltip belongs
    Place pointer_; // where the pointer is
    QPoint globalPointer_;
};
