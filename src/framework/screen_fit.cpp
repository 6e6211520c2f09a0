#include "framework/screen_fit.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QRect>
#include <QWidget>
#include <QtMath>

#include "framework/dialog_units.h"
#include "framework/template_fonts.h"

namespace valdrix::gui {

namespace {

constexpr int kTitleBar = 30;
// The window is never drawn larger than fits the smallest common screen, 1366 x 768 less a
// 40-pixel desktop panel: a panel that reserves no space of its own would otherwise hide the
// status line.
constexpr QSize kLargestRoom(1366, 768 - 40);
constexpr double kStep = 0.5;
constexpr double kSmallestPointSize = 6;

QSize SizeAt(const DialogTemplate& dialogTemplate, double pointSize) {
    const DialogBaseUnits units = BaseUnitsOf(TemplateFont(dialogTemplate.fontFace, pointSize));
    return MapDialogRect(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size();
}

// The part of a control that must lie inside the room.
QRect NeededPlace(const QWidget& control) {
    QRect place = control.geometry();
    if (qobject_cast<const QAbstractScrollArea*>(&control) != nullptr) {
        place.setSize(place.size() / 2);
    }
    return place;
}

}  // namespace

QSize RoomForWindow(const QSize& availableArea, double devicePixelRatio) {
    return availableArea.boundedTo(kLargestRoom) - QSize(0, qCeil(kTitleBar / devicePixelRatio));
}

double FittingPointSize(const DialogTemplate& dialogTemplate, const QSize& room,
                        double devicePixelRatio) {
    double pointSize = dialogTemplate.pointSize;
    while (CanShrink(pointSize, devicePixelRatio)) {
        const QSize size = SizeAt(dialogTemplate, pointSize);
        if (size.width() <= room.width() && size.height() <= room.height()) break;
        pointSize = SmallerPointSize(pointSize);
    }
    return pointSize;
}

double SmallerPointSize(double pointSize) {
    return pointSize - kStep;
}

bool CanShrink(double pointSize, double devicePixelRatio) {
    return SmallerPointSize(pointSize) * devicePixelRatio >= kSmallestPointSize;
}

bool ControlsFitRoom(const QWidget& window, const QSize& room) {
    const QRect inside(QPoint(0, 0), room - QSize(0, kRoomMargin));
    for (const QWidget* control : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!inside.contains(NeededPlace(*control))) return false;
    }
    return true;
}

}  // namespace valdrix::gui
