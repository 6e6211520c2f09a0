#include "res/app_icon.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace valdrix::gui {

namespace {

QPixmap IconPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x3a, 0x5f));
    painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 6.0, size / 6.0);
    QPainterPath wave;
    const double margin = size / 8.0;
    const double width = size - 2 * margin;
    for (int step = 0; step <= 48; ++step) {
        const double x = margin + width * step / 48.0;
        const double y = size / 2.0 - (size / 4.0) * std::sin(2 * std::numbers::pi * step / 48.0);
        if (step == 0) {
            wave.moveTo(x, y);
        } else {
            wave.lineTo(x, y);
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xff, 0xd1, 0x4a), size / 12.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(wave);
    return picture;
}

}  // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    icon.addPixmap(IconPicture(32));
    icon.addPixmap(IconPicture(16));
    return icon;
}

}  // namespace valdrix::gui
