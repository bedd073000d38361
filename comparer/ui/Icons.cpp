#include "comparer/ui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace {

constexpr int kSize = 32;

QPixmap canvas(int size = kSize) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void sheet(QPainter& painter, const QRectF& rect, QColor lines) {
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(rect);
    painter.setPen(QPen(lines, 1.5));
    for (qreal y = rect.top() + 5; y < rect.bottom() - 3; y += 4)
        painter.drawLine(QPointF(rect.left() + 3, y), QPointF(rect.right() - 3, y));
}

void arrow(QPainter& painter, QPointF from, QPointF to, QColor colour) {
    painter.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    QPointF side(-direction.y(), direction.x());
    painter.drawLine(to, to - direction * 5 + side * 4);
    painter.drawLine(to, to - direction * 5 - side * 4);
}

QPixmap drawOpen() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x8A, 0x6D, 0x1E));
    painter.setBrush(QColor(0xE8, 0xC1, 0x5A));
    painter.drawRect(QRectF(3.5, 8.5, 24, 18));
    painter.drawRect(QRectF(3.5, 5.5, 10, 4));
    painter.setBrush(QColor(0xF6, 0xD8, 0x7C));
    QPolygonF front(
        {QPointF(7.5, 13.5), QPointF(30.5, 13.5), QPointF(26.5, 26.5), QPointF(3.5, 26.5)});
    painter.drawPolygon(front);
    return pixmap;
}

QPixmap drawCompare() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    sheet(painter, QRectF(2.5, 4.5, 12, 20), QColor(0x3B, 0x6E, 0xA5));
    sheet(painter, QRectF(17.5, 4.5, 12, 20), QColor(0xC0, 0x50, 0x30));
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    painter.drawLine(QPointF(11, 28.5), QPointF(21, 28.5));
    return pixmap;
}

QPixmap drawShuffle() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    arrow(painter, QPointF(4, 10), QPointF(28, 10), QColor(0x3B, 0x6E, 0xA5));
    arrow(painter, QPointF(28, 22), QPointF(4, 22), QColor(0xC0, 0x50, 0x30));
    return pixmap;
}

QPixmap drawScript() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    sheet(painter, QRectF(6.5, 2.5, 19, 27), QColor(0x5A, 0x8F, 0x3C));
    return pixmap;
}

QPixmap drawHelp() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 1));
    painter.setBrush(QColor(0x3B, 0x7E, 0xD0));
    painter.drawEllipse(QRectF(2.5, 2.5, 27, 27));
    QFont font;
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

QPixmap drawExit() {
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x6B, 0x3E, 0x1E));
    painter.setBrush(QColor(0xA8, 0x6B, 0x3C));
    painter.drawRect(QRectF(5.5, 3.5, 14, 25));
    painter.setBrush(QColor(0xF0, 0xD0, 0x40));
    painter.drawEllipse(QRectF(15, 15, 3, 3));
    arrow(painter, QPointF(17, 16), QPointF(30, 16), QColor(0xC0, 0x30, 0x30));
    return pixmap;
}

QPixmap drawToolbarImage(ToolbarImage image) {
    switch (image) {
    case ToolbarImage::Open:
        return drawOpen();
    case ToolbarImage::Compare:
        return drawCompare();
    case ToolbarImage::Shuffle:
        return drawShuffle();
    case ToolbarImage::Script:
        return drawScript();
    case ToolbarImage::Help:
        return drawHelp();
    case ToolbarImage::Exit:
        break;
    }
    return drawExit();
}

const char* themeName(ToolbarImage image) {
    switch (image) {
    case ToolbarImage::Open:
        return "document-open";
    case ToolbarImage::Compare:
        return "view-refresh";
    case ToolbarImage::Shuffle:
        return "media-playlist-shuffle";
    case ToolbarImage::Script:
        return "text-x-script";
    case ToolbarImage::Help:
        return "help-contents";
    case ToolbarImage::Exit:
        break;
    }
    return "application-exit";
}

// Two database cylinders, blue and orange, side by side.
QPixmap drawKelvor(int size) {
    QPixmap pixmap = canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    auto cylinder = [&painter](qreal x, QColor colour) {
        painter.setPen(QPen(colour.darker(150), 1));
        painter.setBrush(colour);
        QPainterPath body;
        body.moveTo(x, 8);
        body.lineTo(x, 25);
        body.arcTo(QRectF(x, 22, 14, 6), 180, 180);
        body.lineTo(x + 14, 8);
        body.closeSubpath();
        painter.drawPath(body);
        painter.setBrush(colour.lighter(130));
        painter.drawEllipse(QRectF(x, 5, 14, 6));
    };
    cylinder(2, QColor(0x3B, 0x6E, 0xA5));
    cylinder(16, QColor(0xE0, 0x82, 0x2E));
    return pixmap;
}

} // namespace

QIcon toolbarIcon(ToolbarImage image) {
    return QIcon::fromTheme(QString::fromLatin1(themeName(image)), QIcon(drawToolbarImage(image)));
}

QIcon kelvorIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(drawKelvor(size));
    return icon;
}
