#pragma once

// The scrolling view of styled text that shows a merged diff: style 0 black, style 1 grey
// and struck out, style 2 blue, any other style drawn like the span before it. Lines are 18
// pixels high with 8-pixel margins. Everything is measured once, after the last append, and
// a paint draws only the lines in view, so texts of many thousands of lines scroll smoothly.

#include "comparer/ui/diff/SpanFont.h"
#include "comparer/ui/diff/StyledText.h"

#include <QAbstractScrollArea>
#include <QSize>

#include <string_view>

namespace TextViewControl {

class TextView : public QAbstractScrollArea {
public:
    static constexpr int lineHeight = 18;
    static constexpr int margin = 8;
    static constexpr int fontHeight = 14;

    explicit TextView(QWidget* parent = nullptr);

    void append(std::u16string_view text, int style);

    const StyledText& content() const { return content_; }
    // Widest line + 16 by lines x 18 + 16, measured when first asked.
    QSize contentSize();
    // How many lines the latest paint drew.
    int paintedLines() const { return paintedLines_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Style {
        const SpanFont* font;
        QColor colour;
    };
    // The style a span is drawn with: an unknown style keeps the one before.
    const Style& style(int id, const Style& previous) const;
    void measure();
    void updateScrollBars();
    // A click beside a thumb pages by a tenth of the content, not by Qt's one view.
    void pageBy(QScrollBar* bar, int action, int page);

    StyledText content_;
    SpanFont normalFont_;
    SpanFont struckOutFont_;
    Style styles_[3];
    bool measured_ = false;
    QSize contentSize_;
    int horizontalPage_ = 1;
    int verticalPage_ = 1;
    int paintedLines_ = 0;
};

} // namespace TextViewControl
