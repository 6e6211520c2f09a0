#include "framework/screen_fit.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QRect>
#include <QWidget>
#include <QtMath>
#include <algorithm>
#include <vector>

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

// Every size a window may be drawn at, largest first; the last is taken when none fits.
std::vector<double> SizesToTry(double pointSize, double devicePixelRatio) {
    std::vector<double> sizes{pointSize};
    while (CanShrink(sizes.back(), devicePixelRatio)) {
        sizes.push_back(SmallerPointSize(sizes.back()));
    }
    return sizes;
}

bool FitsRoom(const QSize& size, const QSize& room) {
    return size.width() <= room.width() && size.height() <= room.height();
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

// Each size tried loads the font at that size, the costliest step of the window's start: rather
// than try every half point from the template's size down, the search starts where the size at
// the template's font, scaled to the room, puts the fit, and steps from there. Drawn sizes grow
// with the font, so the largest size that fits is the same either way.
double FittingPointSize(const DialogTemplate& dialogTemplate, const QSize& room,
                        double devicePixelRatio) {
    const std::vector<double> sizes = SizesToTry(dialogTemplate.pointSize, devicePixelRatio);
    const std::size_t last = sizes.size() - 1;
    const auto fits = [&](std::size_t index) {
        return index == last || FitsRoom(SizeAt(dialogTemplate, sizes[index]), room);
    };
    if (last == 0) return sizes.front();
    const QSize atTemplateSize = SizeAt(dialogTemplate, sizes.front());
    if (FitsRoom(atTemplateSize, room)) return sizes.front();
    const double scale = std::min(double(room.width()) / atTemplateSize.width(),
                                  double(room.height()) / atTemplateSize.height());
    std::size_t index = 1;
    while (index < last && sizes[index] > sizes.front() * scale) ++index;
    if (!fits(index)) {
        do ++index;
        while (!fits(index));
        return sizes[index];
    }
    while (index > 1 && fits(index - 1)) --index;
    return sizes[index];
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
