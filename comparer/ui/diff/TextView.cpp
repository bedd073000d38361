#include "comparer/ui/diff/TextView.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <cmath>

namespace TextViewControl {

namespace {

// Longer spans are drawn only where they are in view.
constexpr std::size_t longSpan = 256;

int clampToInt(double value) {
    return int(std::min(value, double(INT_MAX / 2)));
}

} // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent), normalFont_(QApplication::font().family(), fontHeight, false),
      struckOutFont_(QApplication::font().family(), fontHeight, true),
      styles_{{&normalFont_, QColor(0, 0, 0)},
              {&struckOutFont_, QColor(155, 155, 155)},
              {&normalFont_, QColor(50, 50, 255)}} {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
            pageBy(bar, action, bar == horizontalScrollBar() ? horizontalPage_ : verticalPage_);
        });
}

void TextView::append(std::u16string_view text, int style) {
    content_.append(text, style);
    measured_ = false;
}

const TextView::Style& TextView::style(int id, const Style& previous) const {
    return id >= 0 && id < 3 ? styles_[id] : previous;
}

void TextView::measure() {
    double widest = 0;
    const Style* current = &styles_[0];
    for (std::size_t line = 0; line < content_.lineCount(); ++line) {
        double width = 0;
        for (Span* span = content_.lineBegin(line); span != content_.lineEnd(line); ++span) {
            current = &style(span->style, *current);
            span->width = current->font->width(content_.spanText(*span));
            width += span->width;
        }
        widest = std::max(widest, width);
    }
    contentSize_ = QSize(clampToInt(std::ceil(widest) + 2 * margin),
                         clampToInt(double(content_.lineCount()) * lineHeight + 2 * margin));
    measured_ = true;
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

QSize TextView::contentSize() {
    if (!measured_)
        measure();
    return contentSize_;
}

void TextView::updateScrollBars() {
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, contentSize_.width() - view.width()));
    v->setRange(0, std::max(0, contentSize_.height() - view.height()));
    // The thumbs show how much is in view; a click beside them pages by a tenth.
    h->setPageStep(std::max(1, view.width()));
    v->setPageStep(std::max(1, view.height()));
    h->setSingleStep(std::max(1, contentSize_.width() / 100));
    v->setSingleStep(lineHeight);
    horizontalPage_ = std::max(1, contentSize_.width() / 10);
    verticalPage_ = std::max(1, contentSize_.height() / 10);
}

void TextView::pageBy(QScrollBar* bar, int action, int page) {
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(std::min(bar->maximum(), bar->value() + page));
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(std::max(bar->minimum(), bar->value() - page));
}

void TextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (measured_)
        updateScrollBars();
}

void TextView::showEvent(QShowEvent* event) {
    contentSize();
    QAbstractScrollArea::showEvent(event);
}

void TextView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TextView::paintEvent(QPaintEvent* event) {
    contentSize();
    QPainter painter(viewport());
    const int left = horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    const int height = viewport()->height();
    painter.translate(-left, -top);
    painter.setClipRect(event->rect().translated(left, top) & QRect(QPoint(0, 0), contentSize_));

    // A line is drawn when its top lies strictly between top - 18 and top + height + 18.
    const long long lines = (long long)content_.lineCount();
    long long first =
        top - lineHeight - margin < 0 ? 0 : (top - lineHeight - margin) / lineHeight + 1;
    long long end = std::min(
        lines, ((long long)top + height + lineHeight - margin + lineHeight - 1) / lineHeight);
    const double viewLeft = left;
    const double viewRight = left + viewport()->width();
    const Style* current = nullptr;
    paintedLines_ = 0;
    for (long long line = first; line < end; ++line) {
        const double lineTop = margin + lineHeight * line;
        double x = margin;
        for (const Span* span = content_.lineBegin(line); span != content_.lineEnd(line); ++span) {
            const Style& next = style(span->style, current ? *current : styles_[0]);
            if (&next != current) {
                current = &next;
                painter.setFont(current->font->font());
                painter.setPen(current->colour);
            }
            if (x <= viewRight && x + span->width >= viewLeft && span->length > 0) {
                std::u16string_view text = content_.spanText(*span);
                SpanFont::Piece piece{0, text.size(), x};
                if (text.size() > longSpan)
                    piece = current->font->visiblePiece(text, x, viewLeft, viewRight);
                painter.drawText(
                    QPointF(piece.x, lineTop + current->font->ascent()),
                    SpanFont::displayText(text.substr(piece.begin, piece.end - piece.begin)));
            }
            x += span->width;
        }
        ++paintedLines_;
    }
}

} // namespace TextViewControl
