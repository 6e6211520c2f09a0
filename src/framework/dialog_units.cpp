#include "framework/dialog_units.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <cmath>
#include <map>

namespace valdrix::gui {

namespace {

// Multiplies and divides with rounding to the nearest integer, as the layout of dialog
// templates has always done.
int MulDiv(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

DialogBaseUnits Measure(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

// What the measure depends on: the font with every face it may fall back to, and the resolution
// that turns its points into pixels.
QString MeasureKey(const QFont& font) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return QStringLiteral("%1|%2|%3")
        .arg(font.key(), font.families().join(QLatin1Char(',')))
        .arg(screen != nullptr ? screen->logicalDotsPerInchY() : 0.0);
}

}  // namespace

// The window's font is measured to find its size, again for its controls and again for each
// page: laying out the alphabet is done once a font.
DialogBaseUnits BaseUnitsOf(const QFont& font) {
    static std::map<QString, DialogBaseUnits> measured;
    const QString key = MeasureKey(font);
    const auto found = measured.find(key);
    if (found != measured.end()) return found->second;
    return measured.emplace(key, Measure(font)).first->second;
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return QRect(MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(cx, units.cx, 4),
                 MulDiv(cy, units.cy, 8));
}

}  // namespace valdrix::gui
