#include "comparer/ui/tips/FormattedTextView.h"

#include "foundation/platform/qt/QtText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace FormattedTextViewControl {

namespace {

constexpr int fontHeight = 16;

QFont styleFont(int weight) {
    QFont font(QApplication::font().family());
    font.setPixelSize(fontHeight);
    font.setWeight(QFont::Weight(weight));
    return font;
}

QString textOf(const Tip& tip, const Segment& segment) {
    return platform::qt::toQString(tip.textOf(segment));
}

} // namespace

FormattedTextView::FormattedTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    styles_.push_back({styleFont(QApplication::font().weight()), QColor(0, 0, 0)});
    styles_.push_back({styleFont(QFont::DemiBold), QColor(55, 55, 55)});
    metrics_.resize(styles_.size(), StyleMetrics{0, fontHeight + 4});
    // The text is never taller than the view; only a wide word needs scrolling.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
}

void FormattedTextView::setTip(Tip* tip) {
    tip_ = tip;
    needsMeasuring_ = true;
    needsLayout_ = true;
    minimumTextWidth_ = 0;
    viewport()->update();
}

void FormattedTextView::measure() {
    for (std::size_t i = 0; i < styles_.size(); ++i)
        metrics_[i].wordGap = QFontMetrics(styles_[i].font).horizontalAdvance(QLatin1Char('x'));
    for (auto& container : tip_->containers()) {
        for (Segment& segment : container->segments) {
            QFontMetrics metrics(styles_[std::size_t(segment.style)].font);
            segment.width = metrics.horizontalAdvance(textOf(*tip_, segment));
        }
    }
    minimumTextWidth_ = FormattedTextViewControl::minimumWidth(*tip_);
    needsMeasuring_ = false;
}

void FormattedTextView::layOut() {
    QRect client = viewport()->rect();
    int width = std::max(client.width() - 2 * margin, minimumTextWidth_);
    FormattedTextViewControl::layOut(*tip_, metrics_, width);
    textRect_ = QRect(margin, margin, width, client.height() - 2 * margin);
    // The extent takes in both margins, so that the scroll bar appears exactly when the
    // text is wider than the area between them and the whole word can be scrolled to.
    QScrollBar* bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, width + 2 * margin - client.width()));
    bar->setPageStep(client.width());
    bar->setSingleStep(metrics_.front().lineHeight);
    bar->setValue(0);
    needsLayout_ = false;
}

void FormattedTextView::ensureLayout() {
    if (!tip_)
        return;
    if (needsMeasuring_)
        measure();
    if (needsLayout_)
        layOut();
}

void FormattedTextView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
    if (!tip_)
        return;
    ensureLayout();
    QPoint shift(-horizontalScrollBar()->value(), 0);
    painter.setClipRect(textRect_.translated(shift));
    for (const auto& container : tip_->containers()) {
        for (const Segment& segment : container->segments) {
            const Style& style = styles_[std::size_t(segment.style)];
            painter.setFont(style.font);
            painter.setPen(style.colour);
            QPoint top = QPoint(segment.x + margin, segment.y + margin) + shift;
            painter.drawText(top + QPoint(0, QFontMetrics(style.font).ascent()),
                             textOf(*tip_, segment));
        }
    }
}

void FormattedTextView::resizeEvent(QResizeEvent* event) {
    needsLayout_ = true;
    QAbstractScrollArea::resizeEvent(event);
}

// With no vertical scrolling, the wheel moves the text sideways.
void FormattedTextView::wheelEvent(QWheelEvent* event) {
    QApplication::sendEvent(horizontalScrollBar(), event);
}

void FormattedTextView::scrollContentsBy(int, int) {
    viewport()->update();
}

} // namespace FormattedTextViewControl
