#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

namespace {

constexpr int kPeriodField = 1049;
constexpr int kPhaseField = 1051;
constexpr int kCyclesField = 1050;

// A dialog on the burst template with a double, two ints and a range, in that order.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_BURST) {}
    double period = 0.1;
    int phase = 0;
    int cycles = 3;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kPeriodField, period);
        DDX_Text(pDX, kPhaseField, phase);
        DDX_Text(pDX, kCyclesField, cycles);
        DDV_MinMaxInt(pDX, cycles, 1, 9);
    }
};

class DataExchangeTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        dialog.Create(IDD_BURST, &host);
        host.show();
        dialog.ShowWindow(SW_SHOW);
    }

    void Type(int id, const char* text) { CWnd(dialog.GetDlgItem(id)).SetWindowText(text); }
    std::string Shown(int id) const { return CWnd(dialog.GetDlgItem(id)).GetWindowText(); }

    QWidget host;
    ExchangeDialog dialog;
};

TEST_F(DataExchangeTest, ShowsMembersInTheirShortestForm) {
    EXPECT_EQ(Shown(kPeriodField), "0.1");
    EXPECT_EQ(Shown(kPhaseField), "0");
    EXPECT_EQ(Shown(kCyclesField), "3");
}

TEST_F(DataExchangeTest, ReadsEveryFieldWhenAllParse) {
    Type(kPeriodField, " 0.25 ");
    Type(kPhaseField, "-90");
    Type(kCyclesField, "9");
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.period, 0.25);
    EXPECT_EQ(dialog.phase, -90);
    EXPECT_EQ(dialog.cycles, 9);
    EXPECT_TRUE(messages.empty());
}

TEST_F(DataExchangeTest, StopsAtTheFirstFieldThatDoesNotParse) {
    Type(kPeriodField, "0.5");
    Type(kPhaseField, "12.5");
    Type(kCyclesField, "7");
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.period, 0.5) << "fields before the bad one take their new values";
    EXPECT_EQ(dialog.phase, 0);
    EXPECT_EQ(dialog.cycles, 3) << "fields after the bad one keep their old values";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Please enter an integer.");
    EXPECT_EQ(host.focusWidget(), dialog.GetDlgItem(kPhaseField));
}

TEST_F(DataExchangeTest, RangeFailureNamesBothBoundsAndFocusesTheField) {
    Type(kCyclesField, "10");
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.cycles, 10) << "the value is stored before its range is checked";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Please enter an integer between 1 and 9.");
    EXPECT_EQ(host.focusWidget(), dialog.GetDlgItem(kCyclesField));
}

TEST_F(DataExchangeTest, NumbersFollowTheCLocaleWhateverTheOperatorsLocale) {
    Type(kPeriodField, "0,5");
    EXPECT_FALSE(dialog.UpdateData(true));
    EXPECT_EQ(messages.at(0).text, "Please enter a number.");
}

}  // namespace
