#include "comparer/ui/tips/LightBulb.h"

#include <QBitmap>

namespace {

// Our own light bulb, 18 x 26 pixels, on white.
// clang-format off
const char* const bulb[] = {
    "18 26 7 1",
    ". c #FFFFFF",
    "k c #4A4A4A",
    "y c #FFE14D",
    "h c #FFF8C8",
    "o c #E8B21E",
    "l c #C8C8C8",
    "d c #7A7A7A",
    "......kkkkkk......",
    "....kkyyyyyykk....",
    "...kyyhhyyyyyyk...",
    "..kyhhyyyyyyyyyk..",
    "..kyhyyyyyyyyyok..",
    ".kyhyyyyyyyyyyyok.",
    ".kyhyyyyyyyyyyyok.",
    ".kyyyyyyyyyyyyyok.",
    ".kyyyyyyyyyyyyyok.",
    ".kyyyyyyyyyyyyook.",
    "..kyyyyyyyyyyyok..",
    "..kyyyyyyyyyyook..",
    "...kyyyyyyyyyok...",
    "...kyyyyyyyyook...",
    "....kyyyyyyook....",
    "....kyyyyyyyok....",
    "....kyyyyyyook....",
    "....kkkkkkkkkk....",
    "....kllllllllk....",
    "....kddddddddk....",
    "....kllllllllk....",
    "....kddddddddk....",
    "....kllllllllk....",
    ".....kddddddk.....",
    "......kddddk......",
    ".......kkkk......."};
// clang-format on

} // namespace

QPixmap lightBulb() {
    QPixmap pixmap(bulb);
    pixmap.setMask(pixmap.createMaskFromColor(Qt::white));
    return pixmap;
}
