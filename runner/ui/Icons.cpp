#include "runner/ui/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace runner::ui::icons {

namespace {

// Drawn on a 32 by 32 grid and scaled to each size the toolbar and the window may ask for.
QIcon drawn(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon themed(const char* name, const std::function<void(QPainter&)>& draw) {
    return QIcon::fromTheme(QString::fromLatin1(name), drawn(draw));
}

void drawCylinder(QPainter& p, const QColor& body) {
    p.setPen(QPen(body.darker(160), 1.5));
    p.setBrush(body);
    QPainterPath path;
    path.moveTo(5, 8);
    path.lineTo(5, 24);
    path.arcTo(5, 20, 22, 8, 180, 180);
    path.lineTo(27, 8);
    path.closeSubpath();
    p.drawPath(path);
    p.setBrush(body.lighter(130));
    p.drawEllipse(QRectF(5, 4, 22, 8));
}

void drawPage(QPainter& p) {
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1.5));
    p.setBrush(Qt::white);
    QPolygonF page({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}});
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF({{20, 3}, {20, 9}, {26, 9}}));
    p.setPen(QPen(QColor(0x30, 0x60, 0xb0), 1.5));
    for (int y = 13; y <= 25; y += 4)
        p.drawLine(QPointF(10, y), QPointF(23, y));
}

void drawRunArrow(QPainter& p) {
    p.setPen(QPen(QColor(0x1b, 0x6e, 0x1b), 1.5));
    p.setBrush(QColor(0x3c, 0xb0, 0x3c));
    p.drawPolygon(QPolygonF({{9, 5}, {27, 16}, {9, 27}}));
}

} // namespace

QIcon program() {
    return drawn([](QPainter& p) {
        drawPage(p);
        p.scale(0.6, 0.6);
        p.translate(20, 22);
        drawRunArrow(p);
    });
}

QIcon openDatabase() {
    return themed("network-server-database",
                  [](QPainter& p) { drawCylinder(p, QColor(0xd8, 0xa0, 0x30)); });
}

QIcon openScript() {
    return themed("document-open", drawPage);
}

QIcon run() {
    return themed("media-playback-start", drawRunArrow);
}

} // namespace runner::ui::icons
