#include "comparer/tips/TipLayout.h"

#include <algorithm>

namespace FormattedTextViewControl {

namespace {

int lineHeightOf(std::span<const Segment> words, std::span<const StyleMetrics> styles) {
    int height = 0;
    for (const Segment& word : words)
        height = std::max(height, styles[std::size_t(word.style)].lineHeight);
    return height;
}

// Each of these places one visual line or container at y and returns the y below it.
int layOutLine(std::span<Segment> pieces, std::span<const StyleMetrics> styles, int y) {
    int x = 0;
    for (Segment& piece : pieces) {
        piece.x = x;
        piece.y = y;
        x += piece.width;
    }
    return y + lineHeightOf(pieces, styles);
}

// The spare width is shared out in whole pixels, each word at the truncated sum of the
// real gaps before it; integer arithmetic keeps the last word's right edge exactly at width.
int placeJustified(std::span<Segment> words, std::span<const StyleMetrics> styles, int width,
                   int y) {
    long total = 0;
    for (const Segment& word : words)
        total += word.width;
    long spare = width - total;
    long gaps = long(words.size()) - 1;
    long before = 0;
    for (std::size_t k = 0; k < words.size(); ++k) {
        words[k].x = k == 0 ? 0 : int(before + long(k) * spare / gaps);
        words[k].y = y;
        before += words[k].width;
    }
    return y + lineHeightOf(words, styles);
}

int placeNatural(std::span<Segment> words, std::span<const StyleMetrics> styles, int y) {
    int x = 0;
    for (Segment& word : words) {
        word.x = x;
        word.y = y;
        x += word.width + styles[std::size_t(word.style)].wordGap;
    }
    return y + lineHeightOf(words, styles);
}

int layOutParagraph(std::span<Segment> words, std::span<const StyleMetrics> styles, int width,
                    int y) {
    std::size_t lineStart = 0;
    int running = 0;
    for (std::size_t k = 0; k < words.size(); ++k) {
        int gap = styles[std::size_t(words[k].style)].wordGap;
        bool lineEmpty = k == lineStart;
        if (!lineEmpty && running + gap + words[k].width > width) {
            y = placeJustified(words.subspan(lineStart, k - lineStart), styles, width, y);
            lineStart = k;
            running = words[k].width;
            continue;
        }
        running += (lineEmpty ? 0 : gap) + words[k].width;
    }
    return placeNatural(words.subspan(lineStart), styles, y);
}

} // namespace

int minimumWidth(const Tip& tip) {
    int widest = 0;
    for (const auto& container : tip.containers()) {
        const auto& segments = container->segments;
        if (dynamic_cast<const Line*>(container.get())) {
            int sum = 0;
            for (const Segment& piece : segments)
                sum += piece.width;
            widest = std::max(widest, sum);
            continue;
        }
        for (const Segment& word : segments)
            widest = std::max(widest, word.width);
    }
    return widest;
}

int layOut(Tip& tip, std::span<const StyleMetrics> styles, int width) {
    int y = 0;
    for (auto& container : tip.containers()) {
        std::span<Segment> segments(container->segments);
        if (dynamic_cast<const Line*>(container.get()))
            y = layOutLine(segments, styles, y);
        else
            y = layOutParagraph(segments, styles, width, y);
    }
    return y;
}

} // namespace FormattedTextViewControl
