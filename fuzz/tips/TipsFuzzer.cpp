// libFuzzer target: any bytes as the tips document. Loading never fails; every segment is a
// non-empty piece of its tip's text (a paragraph's words hold no blank); laid out at the
// narrowest width and at a wider one, no wrapped line leaves the text area, no words overlap, every
// wrapped line of two or more words ends exactly at the width, and lines go downwards; stepping
// through the tips comes back to the first.

#include "comparer/tips/TipLayout.h"
#include "comparer/tips/Tips.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace FormattedTextViewControl;

namespace {

constexpr StyleMetrics kStyles[] = {{5, 20}, {6, 21}};

void check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// A measurement that depends on the characters, so words differ in width.
void measure(Tip& tip) {
    for (auto& container : tip.containers())
        for (Segment& segment : container->segments) {
            check(segment.length > 0 && segment.start + segment.length <= tip.text().size(),
                  "a segment is a non-empty piece of the text");
            int width = 0;
            for (char16_t c : tip.textOf(segment))
                width += 3 + c % 7 + segment.style;
            segment.width = width;
            if (dynamic_cast<Paragraph*>(container.get()))
                for (char16_t c : tip.textOf(segment))
                    check(!isBlank(c), "a word holds no blank");
        }
}

void checkLayout(Tip& tip, int width) {
    int height = layOut(tip, kStyles, width);
    int lastY = -1;
    for (const auto& container : tip.containers()) {
        const auto& segments = container->segments;
        bool isParagraph = dynamic_cast<const Paragraph*>(container.get()) != nullptr;
        std::size_t lineStart = 0;
        for (std::size_t k = 0; k < segments.size(); ++k) {
            const Segment& segment = segments[k];
            if (segment.y != segments[lineStart].y)
                lineStart = k;
            // A paragraph's last line is set with each word's own gap after it while wrapping
            // counts the gap of the word that follows, so with mixed styles it may run past
            // the width by the difference of the gaps.
            bool lastLine = isParagraph && segments.back().y == segment.y;
            check(segment.x >= 0 && (lastLine || segment.x + segment.width <= width),
                  "a segment lies inside the width");
            check(k == lineStart || segment.x >= segments[k - 1].x + segments[k - 1].width,
                  "words of a line do not overlap");
            check(segment.y >= lastY && segment.y < height, "lines go downwards");
            lastY = segment.y;
            bool wraps = k + 1 < segments.size() && segments[k + 1].y != segment.y;
            if (isParagraph && wraps && k > lineStart)
                check(segment.x + segment.width == width, "a wrapped line is justified");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Tips tips = Tips::load(data, size);
    for (std::size_t k = 0; k < tips.count(); ++k) {
        Tip* tip = tips.current();
        check(tip != nullptr, "every index below the count has a tip");
        measure(*tip);
        int narrowest = minimumWidth(*tip);
        checkLayout(*tip, narrowest);
        checkLayout(*tip, narrowest + int(size % 97));
        tips.next();
    }
    check(tips.count() == 0 || tips.index() == 0, "stepping through every tip comes back");
    tips.previous();
    check(tips.count() == 0 ? tips.current() == nullptr : tips.index() == int(tips.count()) - 1,
          "stepping back from the first tip reaches the last");
    return 0;
}
