#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>

#include "framework/tab_control.h"
#include "framework/tab_ctrl.h"

namespace {

TEST(TabCtrl, OnlyTheOperatorsChoiceOfATabIsNotified) {
    TabControl control;
    control.resize(400, 300);
    control.show();
    CTabCtrl tab;
    tab.Attach(&control);
    int notifications = 0;
    QObject::connect(tab.Bar(), &QTabBar::currentChanged, [&] { ++notifications; });

    tab.InsertItem(0, "Continous");
    tab.InsertItem(1, "   FM  ");
    tab.InsertItem(2, "  AM  ");
    EXPECT_EQ(tab.SetCurSel(2), 0);
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_EQ(notifications, 0);

    QTest::mouseClick(tab.Bar(), Qt::LeftButton, {}, tab.Bar()->tabRect(1).center());
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(tab.GetItemText(1), "   FM  ");
}

TEST(TabCtrl, AnEmptyControlHasNoSelection) {
    TabControl control;
    CTabCtrl tab;
    tab.Attach(&control);
    EXPECT_EQ(tab.GetCurSel(), -1);
    EXPECT_EQ(tab.SetCurSel(0), -1);
    EXPECT_EQ(tab.GetItemCount(), 0);
}

}  // namespace
