#pragma once

// Shows one tip: its paragraphs flowed and justified, its lines kept whole, inside 10-pixel
// margins. Measuring and layout wait for the next paint; a new tip measures again, a resize
// only lays out again. When a word or a line is wider than the text area, the area widens
// to it and a horizontal scroll bar appears.

#include "comparer/tips/TipLayout.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>

#include <vector>

namespace FormattedTextViewControl {

class FormattedTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit FormattedTextView(QWidget* parent = nullptr);

    // The tip is not owned and must outlive its display; none shows nothing.
    void setTip(Tip* tip);
    Tip* tip() const { return tip_; }

    // Measures and lays out now whatever the next paint would; then the tip's segments,
    // textRect() and minimumTextWidth() hold the result.
    void ensureLayout();
    // In content coordinates: 10 pixels in from the top left, as wide as the laid-out text.
    QRect textRect() const { return textRect_; }
    int minimumTextWidth() const { return minimumTextWidth_; }

    static constexpr int margin = 10;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Style {
        QFont font;
        QColor colour;
    };

    void measure();
    void layOut();

    Tip* tip_ = nullptr;
    std::vector<Style> styles_;
    std::vector<StyleMetrics> metrics_; // parallel to styles_
    QRect textRect_;
    int minimumTextWidth_ = 0;
    bool needsMeasuring_ = true;
    bool needsLayout_ = true;
};

} // namespace FormattedTextViewControl
