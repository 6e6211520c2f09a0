#include "res/app_icon.h"

#include <QIcon>
#include <QIconEngine>
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

QIcon DrawnIcon() {
    QIcon icon;
    icon.addPixmap(IconPicture(32));
    icon.addPixmap(IconPicture(16));
    return icon;
}

// Draws the pictures when something first asks for them (the window manager, the About box)
// rather than while the window is being made: the first drawing sets up the painter, which the
// window's start does not otherwise need.
class DrawnWhenAsked : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new DrawnWhenAsked; }

private:
    const QIcon& Icon() {
        if (m_icon.isNull()) m_icon = DrawnIcon();
        return m_icon;
    }

    QIcon m_icon;
};

}  // namespace

QIcon ApplicationIcon() {
    return QIcon(new DrawnWhenAsked);
}

}  // namespace valdrix::gui
