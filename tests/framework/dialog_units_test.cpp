#include <gtest/gtest.h>

#include <QFont>

#include "framework/dialog_units.h"
#include "framework/template_fonts.h"

namespace {

TEST(DialogUnits, MapsQuartersOfWidthAndEighthsOfHeightWithRounding) {
    const DialogBaseUnits units{7, 15};
    // 376 * 7 / 4 = 658; 267 * 15 / 8 = 500.625 rounds to 501; 3 * 7 / 4 = 5.25 rounds to 5.
    EXPECT_EQ(MapDialogRect(units, 3, 1, 376, 267), QRect(5, 2, 658, 501));
}

TEST(DialogUnits, TemplateFontMakesTheMainDialogFitASmallScreen) {
    // The main dialog is 376 x 267 units; with a title bar it must fit 1366 x 768.
    const DialogBaseUnits units = BaseUnitsOf(TemplateFont("宋体", 14));
    const QRect size = MapDialogRect(units, 0, 0, 376, 267);
    EXPECT_GT(units.cx, 0);
    EXPECT_LE(size.width(), 1366);
    EXPECT_LE(size.height(), 768 - 40);
}

}  // namespace
