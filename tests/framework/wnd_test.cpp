#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "framework/combo_box.h"
#include "framework/wnd.h"

namespace {

TEST(Wnd, MultiLineBoxesKeepTheirLinesJoinedByCrLf) {
    QPlainTextEdit box;
    CWnd wnd(&box);
    wnd.SetWindowText("FUNCtion SINusoid\r\nOUTPut ON\r\n");
    EXPECT_EQ(box.toPlainText(), "FUNCtion SINusoid\nOUTPut ON\n");
    box.setPlainText("typed\nby hand");
    EXPECT_EQ(wnd.GetWindowText(), "typed\r\nby hand");
}

TEST(Wnd, ComboTextIsWhatTheEditFieldShows) {
    QComboBox box;
    box.setEditable(true);
    CComboBox combo;
    combo.Attach(&box);
    combo.AddString("kHz");
    combo.AddString("Hz");
    EXPECT_EQ(combo.SetCurSel(1), 1);
    EXPECT_EQ(combo.GetWindowText(), "Hz");
    box.lineEdit()->setText(" GHz ");
    EXPECT_EQ(combo.GetWindowText(), " GHz ");
    EXPECT_EQ(combo.SetCurSel(1), 1) << "selecting the same item again shows it again";
    EXPECT_EQ(combo.GetWindowText(), "Hz");
    EXPECT_EQ(combo.SetCurSel(5), CB_ERR);
}

}  // namespace
