// Images that the program draws itself: the application icon and the arrow icons.
#include "widgets/Artwork.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tabulon {

// A sheet of paper with a green grid and a folded corner.
QImage applicationIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    QPainterPath sheet;
    sheet.moveTo(10, 4);
    sheet.lineTo(42, 4);
    sheet.lineTo(56, 18);
    sheet.lineTo(56, 60);
    sheet.lineTo(10, 60);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(40, 90, 50), 2.5));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    painter.setBrush(QColor(200, 230, 205));
    painter.drawPolygon(QPolygonF({QPointF(42, 4), QPointF(42, 18), QPointF(56, 18)}));
    painter.setPen(QPen(QColor(30, 130, 60), 3));
    for (int y = 26; y <= 52; y += 9) painter.drawLine(16, y, 50, y);
    for (int x = 16; x <= 50; x += 17) painter.drawLine(x, 26, x, 53);
    painter.end();
    return image;
}

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(applicationIconImage(size)));
    return icon;
}

QIcon arrowIcon(ArrowDirection direction) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (direction == ArrowDirection::Down) {
        painter.translate(0, 32);
        painter.scale(1, -1);
    }
    const QPolygonF arrow({QPointF(16, 2), QPointF(30, 16), QPointF(21, 16), QPointF(21, 30),
                           QPointF(11, 30), QPointF(11, 16), QPointF(2, 16)});
    painter.setPen(QPen(QColor(10, 40, 130), 1.5));
    painter.setBrush(QColor(40, 100, 220));
    painter.drawPolygon(arrow);
    return QIcon(pixmap);
}

}  // namespace tabulon
