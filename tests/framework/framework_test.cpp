#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>
#include <QTest>
#include <chrono>

#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "framework/screen_fit.h"
#include "framework/tab_control.h"
#include "framework/tab_ctrl.h"
#include "framework/template_fonts.h"
#include "pages/model/number_text.h"
#include "pages/model/pause.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

using namespace valdrix::gui;

using namespace valdrix::model;

namespace {

// Numbers follow the C locale whatever the operator's: "." only, blanks around, nothing else.
TEST(NumberText, ParsesOnlyWholeFiniteNumbersInTheCLocale) {
    const std::pair<const char*, double> doubles[] = {
        {" -20\t", -20}, {"12.5", 12.5}, {"1e3", 1000}, {"2147483648", 2147483648.0}};
    for (const auto& [text, value] : doubles) EXPECT_EQ(ParseDouble(text), value) << text;
    EXPECT_EQ(ParseInt(" -20\t"), -20);
    EXPECT_EQ(ParseInt("2147483647"), 2147483647);
    for (const char* text : {"12.5", "1e3", "2147483648"}) EXPECT_FALSE(ParseInt(text)) << text;
    for (const char* text : {"1,5", "12.5 Hz", "   ", "inf", "nan", "1e999", "0x10"}) {
        EXPECT_FALSE(ParseDouble(text) || ParseInt(text)) << '"' << text << '"';
    }
    // Fifteen digits where they read back as the same value, seventeen where they would not.
    const std::pair<double, const char*> shown[] = {{1000, "1000"},
                                                    {0.1, "0.1"},
                                                    {1.0 / 3, "0.33333333333333331"},
                                                    {1234567890.1234567, "1234567890.1234567"}};
    for (const auto& [value, text] : shown) EXPECT_EQ(FormatDouble(value), text);
}

// Only the operator's choice of a tab is announced; the program's own selection sends nothing.
TEST(TabCtrl, OnlyTheOperatorsChoiceOfATabIsAnnounced) {
    TabControl control;
    CTabCtrl tab;
    tab.Attach(&control);
    int announced = 0;
    QObject::connect(tab.Bar(), &QTabBar::currentChanged, [&] { ++announced; });
    for (const char* label : {"Continous", "   FM  ", "  AM  "})
        tab.InsertItem(tab.GetItemCount(), label);
    EXPECT_EQ(tab.SetCurSel(2), 0);
    QTest::mouseClick(tab.Bar(), Qt::LeftButton, {}, tab.Bar()->tabRect(1).center());
    EXPECT_EQ(std::make_pair(tab.GetCurSel(), announced), std::make_pair(1, 1));  // the click only
}

// A combo box's text is what its edit field shows, so that a typed unit goes out as typed.
TEST(ComboBox, TextIsWhatTheEditFieldShows) {
    QComboBox box;
    box.setEditable(true);
    box.addItems({"kHz", "Hz"});
    CComboBox combo;
    combo.Attach(&box);
    combo.SetCurSel(1);
    box.setEditText(" GHz ");
    EXPECT_EQ(combo.GetWindowText(), " GHz ");
    EXPECT_EQ(combo.SetCurSel(1), 1);  // picking the same item again shows it again
    EXPECT_EQ(combo.GetWindowText(), "Hz");
    EXPECT_EQ(combo.SetCurSel(2), CB_ERR);
}

// With a 30-pixel title bar the main dialog fits 1366 x 768 less a 40-pixel panel, on a larger
// screen too (its panel may reserve nothing), and at scales 1.5 and 2 (the available area in
// the window's pixels): drawn smaller, font and dialog units in proportion.
TEST(DialogUnits, TheMainDialogFitsASmallScreen) {
    const DialogTemplate& main = LoadDialogTemplate(IDD_VALDRIX_DIALOG);
    const struct {
        QSize available;
        double ratio;
        int highest;
    } screens[] = {{{1920, 1050}, 1, 698},
                   {{1366, 728}, 1, 698},
                   {{911, 485}, 1.5, 465},
                   {{683, 364}, 2, 349}};
    for (const auto& screen : screens) {
        const QSize room = RoomForWindow(screen.available, screen.ratio);
        const double points = FittingPointSize(main, room, screen.ratio);
        const QRect size =
            MapDialogRect(BaseUnitsOf(TemplateFont(main.fontFace, points)), 0, 0, main.cx, main.cy);
        EXPECT_TRUE(size.width() <= room.width() && size.height() <= screen.highest)
            << size.width() << 'x' << size.height() << " at " << points << " points";
        EXPECT_NEAR(double(size.width()) / size.height(), 1034.0 / 727, 0.1) << "in proportion";
        // As large as fits: half a point larger would not.
        const QSize larger = MapDialogRect(BaseUnitsOf(TemplateFont(main.fontFace, points + 0.5)),
                                           0, 0, main.cx, main.cy)
                                 .size();
        const bool largerFits = larger.width() <= room.width() && larger.height() <= room.height();
        EXPECT_TRUE(points == main.pointSize || !largerFits) << points;
    }
}

// The real clock, not the virtual one that the other tests install, so this test waits. A pause
// is never short; on a loaded machine it may end late, so the upper bound is loose.
TEST(Pause, TheRealPauseLastsAtLeastAsLongAsAskedAndNotMuchLonger) {
    using namespace std::chrono;
    for (const unsigned asked : {1u, 5u, 20u, 1u, 5u, 20u}) {
        const auto start = steady_clock::now();
        Pause(asked);
        const auto took = steady_clock::now() - start;
        EXPECT_GE(took, milliseconds(asked));
        EXPECT_LT(took, milliseconds(asked + 250));
    }
}

}  // namespace
