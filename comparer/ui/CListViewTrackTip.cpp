#include "comparer/ui/CListViewTrackTip.h"

#include "comparer/ui/ResultRow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>

namespace {

constexpr int kOffset = 15;
constexpr int kMaximumWidth = 300;

} // namespace

CListViewTrackTip::CListViewTrackTip(QAbstractItemView& list, TextOf textOf)
    : QObject(&list), list_(list), textOf_(std::move(textOf)),
      tip_(new QLabel(&list, Qt::ToolTip | Qt::WindowStaysOnTopHint)) {
    tip_->setWordWrap(true);
    tip_->setMaximumWidth(kMaximumWidth);
    tip_->setTextFormat(Qt::PlainText);
    tip_->setMargin(3);
    tip_->setFrameShape(QFrame::Box);
    tip_->setPalette(QToolTip::palette());
    tip_->setAutoFillBackground(true);
    tip_->setFont(QToolTip::font());

    timer_.setSingleShot(true);
    timer_.setInterval(list.style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
    connect(&timer_, &QTimer::timeout, this, &CListViewTrackTip::showTip);

    list.viewport()->setMouseTracking(true);
    list.viewport()->installEventFilter(this);
}

CListViewTrackTip::~CListViewTrackTip() = default;

bool CListViewTrackTip::isShown() const {
    return tip_->isVisible();
}

QString CListViewTrackTip::shownText() const {
    return isShown() ? tip_->text() : QString();
}

const QWidget& CListViewTrackTip::tipWindow() const {
    return *tip_;
}

bool CListViewTrackTip::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        globalPointer_ = move->globalPosition().toPoint();
        track(move->position().toPoint());
        break;
    }
    case QEvent::Leave:
    case QEvent::Hide:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        hide();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CListViewTrackTip::track(const QPoint& position) {
    QModelIndex index = list_.indexAt(position);
    if (!index.isValid()) {
        hide();
        return;
    }
    pointer_ = {index.row(), index.column() > FirstInfoColumn};
    if (isShown()) {
        // Hidden here; the next movement arms the timer again.
        if (pointer_ != shown_)
            hide();
        return;
    }
    if (!timer_.isActive())
        timer_.start();
}

void CListViewTrackTip::showTip() {
    if (pointer_.row < 0)
        return;
    QString text = textOf_(pointer_.row, pointer_.secondSide);
    if (text.isEmpty())
        return;
    shown_ = pointer_;
    tip_->setText(text);
    tip_->adjustSize();
    tip_->move(globalPointer_ + QPoint(kOffset, kOffset));
    tip_->show();
}

void CListViewTrackTip::hide() {
    timer_.stop();
    tip_->hide();
    pointer_ = {};
}
