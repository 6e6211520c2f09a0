#include "framework/screen_fit.h"

#include <QFont>
#include <QRect>

#include "framework/dialog_units.h"
#include "framework/template_fonts.h"

namespace valdrix::gui {

namespace {

constexpr QSize kSmallestSupportedScreen(1366, 768 - 40);
constexpr int kTitleBar = 30;
constexpr double kStep = 0.5;
constexpr double kSmallestPointSize = 6;

QSize SizeAt(const DialogTemplate& dialogTemplate, double pointSize) {
    const DialogBaseUnits units = BaseUnitsOf(TemplateFont(dialogTemplate.fontFace, pointSize));
    return MapDialogRect(units, 0, 0, dialogTemplate.cx, dialogTemplate.cy).size();
}

}  // namespace

QSize RoomForWindow(const QSize& availableArea) {
    return availableArea.boundedTo(kSmallestSupportedScreen) - QSize(0, kTitleBar);
}

double FittingPointSize(const DialogTemplate& dialogTemplate, const QSize& room) {
    double pointSize = dialogTemplate.pointSize;
    while (pointSize - kStep >= kSmallestPointSize) {
        const QSize size = SizeAt(dialogTemplate, pointSize);
        if (size.width() <= room.width() && size.height() <= room.height()) break;
        pointSize -= kStep;
    }
    return pointSize;
}

}  // namespace valdrix::gui
