#include "comparer/ui/diff/CDialogResizeRion.h"

#include <QEvent>

CDialogResizeRion::CDialogResizeRion(QDialog& dialog, bool addSizeGrip, bool useMinimumSize)
    : QObject(&dialog), dialog_(dialog), recordedSize_(dialog.size()) {
    // Qt's grip already hides itself while the window is maximised.
    dialog.setSizeGripEnabled(addSizeGrip);
    if (useMinimumSize)
        dialog.setMinimumSize(recordedSize_);
    dialog.installEventFilter(this);
}

void CDialogResizeRion::addControl(QWidget& control, Flags flags) {
    entries_.push_back(Entry{&control, flags, control.geometry()});
}

QRect CDialogResizeRion::placed(const QRect& recorded, Flags flags, const QSize& change) {
    QRect r = recorded;
    if (flags & SizeX)
        r.setWidth(r.width() + change.width());
    if (flags & SizeY)
        r.setHeight(r.height() + change.height());
    if (flags & MoveX)
        r.translate(change.width(), 0);
    if (flags & CenterX)
        r.translate(change.width() / 2, 0);
    if (flags & MoveY)
        r.translate(0, change.height());
    return r;
}

bool CDialogResizeRion::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &dialog_ && event->type() == QEvent::Resize) {
        const QSize change = dialog_.size() - recordedSize_;
        for (const Entry& entry : entries_)
            entry.control->setGeometry(placed(entry.recorded, entry.flags, change));
    }
    return QObject::eventFilter(watched, event);
}
