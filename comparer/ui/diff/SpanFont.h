#pragma once

// A font of the diff view with the measuring and drawing helpers the view needs for long
// texts: the width of a span from a table of character advances filled as characters first
// appear, the part of a long span that falls into view, and the characters as they are
// drawn (a carriage return as nothing, other control characters and lone surrogates as
// visible placeholders, so that nothing depends on how a font treats them).

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <string_view>
#include <vector>

namespace TextViewControl {

class SpanFont {
public:
    // `family` with the largest pixel size up to `height` whose lines are at most `height`
    // pixels high, struck out when asked.
    SpanFont(const QString& family, int height, bool struckOut);

    const QFont& font() const { return font_; }
    double ascent() const { return metrics_.ascent(); }

    // The width of the characters as they are drawn.
    double width(std::u16string_view text) const;

    // The characters of `text` that lie (partly) between `left` and `right` when the text
    // starts at `x`: their index range, and the x where the first of them starts. Long
    // lines are thus drawn in pieces no wider than the view.
    struct Piece {
        std::size_t begin;
        std::size_t end;
        double x;
    };
    Piece visiblePiece(std::u16string_view text, double x, double left, double right) const;

    // The characters as they are drawn.
    static QString displayText(std::u16string_view text);

private:
    // The advance of one character as drawn; negative when the font's shaping of the
    // character depends on its neighbours, so that only whole texts measure it.
    double advance(char16_t c) const;

    QFont font_;
    QFontMetricsF metrics_;
    mutable std::vector<float> advances_; // by character; NaN until first asked
};

} // namespace TextViewControl
