#include "comparer/ui/ElementImages.h"

#include <QFont>
#include <QPainter>

namespace {

struct Badge {
    const char* label;
    QRgb fill;
};

// One short label on a coloured badge per element kind, in index order: wide enough for
// the label, small enough to leave the type column uncluttered.
constexpr Badge kBadges[ElementImageCount] = {
    {"TBL", 0x3B6EA5}, {"FLD", 0x5A8F3C}, {"FK", 0x8E5BB0},  {"IDX", 0x2E8B8B}, {"PK", 0xC8961E},
    {"UK", 0xB5651D},  {"CHK", 0x7A7A2A}, {"VW", 0x2F7FC8},  {"PRC", 0x9B3B3B}, {"FRM", 0x4F6D8F},
    {"MCR", 0xA0522D}, {"MOD", 0x556B2F}, {"RPT", 0x6A5ACD}, {"TDM", 0x8B4513},
};

QPixmap drawBadge(const Badge& badge) {
    QPixmap pixmap(kElementImageWidth, kElementImageHeight);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill(badge.fill);
    painter.setPen(fill.darker(130));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(2.5, 1.5, 30, 13), 3, 3);
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(2, 1, 31, 14), Qt::AlignCenter, QString::fromLatin1(badge.label));
    return pixmap;
}

} // namespace

std::vector<QPixmap> drawElementImages() {
    std::vector<QPixmap> images;
    images.reserve(ElementImageCount);
    for (const Badge& badge : kBadges)
        images.push_back(drawBadge(badge));
    return images;
}
