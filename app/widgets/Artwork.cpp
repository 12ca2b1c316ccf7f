#include "app/widgets/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace qav {

namespace {

// The mark: a rounded blue square with "Q+" in white.
void drawMark(QPainter& painter, const QRectF& box, qreal opacity) {
    painter.save();
    painter.setOpacity(opacity);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(box.topLeft(), box.bottomRight());
    fill.setColorAt(0, QColor(38, 110, 190));
    fill.setColorAt(1, QColor(16, 58, 120));
    QPainterPath path;
    path.addRoundedRect(box, box.width() * 0.18, box.height() * 0.18);
    painter.fillPath(path, fill);
    QFont font(QStringLiteral("Sans Serif"));
    font.setBold(true);
    font.setPixelSize(qMax(6, static_cast<int>(box.height() * 0.52)));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("Q+"));
    painter.restore();
}

} // namespace

QIcon programIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        drawMark(painter, QRectF(0, 0, side, side), 1.0);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap backgroundPicture(const QSize& size) {
    QPixmap pixmap(size.expandedTo(QSize(1, 1)));
    QPainter painter(&pixmap);
    QLinearGradient sky(0, 0, 0, pixmap.height());
    sky.setColorAt(0, QColor(214, 228, 242));
    sky.setColorAt(1, QColor(150, 178, 210));
    painter.fillRect(pixmap.rect(), sky);
    const qreal side = qMin(pixmap.width(), pixmap.height()) * 0.28;
    const QRectF box((pixmap.width() - side) / 2, (pixmap.height() - side) / 2 - side * 0.15, side, side);
    drawMark(painter, box, 0.35);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(qMax(8, static_cast<int>(side * 0.16)));
    painter.setFont(font);
    painter.setPen(QColor(40, 70, 110, 120));
    painter.drawText(QRectF(0, box.bottom() + side * 0.05, pixmap.width(), side * 0.3),
                     Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Força de Vendas"));
    painter.end();
    return pixmap;
}

} // namespace qav
