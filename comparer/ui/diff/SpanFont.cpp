#include "comparer/ui/diff/SpanFont.h"

#include <QFontMetrics>

#include <cmath>
#include <limits>

namespace TextViewControl {

namespace {

constexpr int tabWidth = 4;

bool isSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Characters whose drawn width is their own advance, whatever stands next to them: the
// alphabetic scripts without joining or combining marks, punctuation and symbols, and CJK.
bool measuresAlone(char16_t c) {
    return c < 0x0300 || (c >= 0x0370 && c < 0x0483) || (c >= 0x048A && c < 0x0590) ||
           (c >= 0x1E00 && c < 0x2000) || (c >= 0x2010 && c < 0x2028) ||
           (c >= 0x2030 && c < 0x205F) || (c >= 0x20A0 && c < 0x20D0) ||
           (c >= 0x2100 && c < 0x2C00) || (c >= 0x3000 && c < 0xA000) ||
           (c >= 0xAC00 && c < 0xD7A4) || (c >= 0xFF01 && c < 0xFF61) || c == 0xFFFD;
}

// How one character is drawn when it cannot be drawn as itself.
void appendDisplay(QString& out, char16_t c) {
    if (c == u'\r')
        return;
    if (c == u'\t') {
        out.append(QString(tabWidth, QChar(u' ')));
        return;
    }
    if (c < 0x20) {
        out.append(QChar(char16_t(0x2400 + c))); // the control pictures
        return;
    }
    if (c == 0x7F) {
        out.append(QChar(char16_t(0x2421)));
        return;
    }
    out.append(QChar(isSurrogate(c) ? char16_t(0xFFFD) : c));
}

bool drawnAsItself(char16_t c) {
    return c >= 0x20 && c != 0x7F && !isSurrogate(c);
}

int fittingPixelSize(const QString& family, int height) {
    QFont font(family);
    for (int size = height; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= height)
            return size;
    }
    return 1;
}

} // namespace

SpanFont::SpanFont(const QString& family, int height, bool struckOut)
    : font_(family), metrics_(font_), advances_(0x10000, std::numeric_limits<float>::quiet_NaN()) {
    font_.setPixelSize(fittingPixelSize(family, height));
    font_.setStrikeOut(struckOut);
    // Drawn widths must be the sums of the measured advances.
    font_.setKerning(false);
    font_.setStyleStrategy(QFont::PreferNoShaping);
    metrics_ = QFontMetricsF(font_);
}

QString SpanFont::displayText(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && drawnAsItself(text[i]))
        ++i;
    // Pairs of surrogates stay as they are; only a lone one is replaced.
    QString out;
    out.reserve(qsizetype(text.size()));
    out.append(QStringView(text.data(), qsizetype(i)));
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.append(QChar(c));
            out.append(QChar(text[++i]));
            continue;
        }
        appendDisplay(out, c);
    }
    return out;
}

double SpanFont::advance(char16_t c) const {
    float& known = advances_[c];
    if (std::isnan(known)) {
        bool alone = measuresAlone(c) || !drawnAsItself(c);
        if (c >= 0xD800 && c <= 0xDBFF)
            alone = false; // may begin a pair
        known = alone ? float(metrics_.horizontalAdvance(displayText(std::u16string_view(&c, 1))))
                      : -1.0f;
    }
    return known;
}

double SpanFont::width(std::u16string_view text) const {
    double sum = 0;
    for (char16_t c : text) {
        double a = advance(c);
        if (a < 0)
            return metrics_.horizontalAdvance(displayText(text));
        sum += a;
    }
    return sum;
}

SpanFont::Piece SpanFont::visiblePiece(std::u16string_view text, double x, double left,
                                       double right) const {
    const Piece whole{0, text.size(), x};
    Piece piece = whole;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        double a = advance(text[i]);
        if (a < 0)
            return whole; // shaped as a whole: drawn whole
        if (x + a >= left)
            break;
        x += a;
    }
    piece.begin = i;
    piece.x = x;
    for (; i < text.size() && x <= right; ++i) {
        double a = advance(text[i]);
        if (a < 0)
            return whole;
        x += a;
    }
    piece.end = i;
    return piece;
}

} // namespace TextViewControl
