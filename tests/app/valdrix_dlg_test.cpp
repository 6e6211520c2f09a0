#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include "link/ch375.h"
#include "main_dialog_fixture.h"

namespace {

constexpr int kValidate = 1003;
constexpr int kReset = 1004;
constexpr int kLocal = 1005;

const ShownMessage kNotOpen{"Please first open the USB devices", "ERROR"};

// --- Start-up ---------------------------------------------------------------------------------

TEST_F(MainDialogTest, ConnectedStartShowsEightTabsAndTheContinuousPage) {
    Start();
    EXPECT_TRUE(dlg->m_bUsbOpen);
    EXPECT_TRUE(messages.empty());
    const char* labels[] = {"Continous", "   FM  ", "  AM  ",    "  PM  ",
                            "  PWM  ",   "  FSK  ", "  Sweep  ", "  Burst  "};
    ASSERT_EQ(dlg->m_tab.GetItemCount(), kPageCount);
    for (int tab = 0; tab < kPageCount; ++tab) EXPECT_EQ(dlg->m_tab.GetItemText(tab), labels[tab]);
    EXPECT_EQ(dlg->m_tab.GetCurSel(), 0);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageContinous);
    EXPECT_TRUE(Frames().empty()) << "nothing is written at start-up";
    EXPECT_EQ(LogText(), "");
}

TEST_F(MainDialogTest, NoDeviceStillShowsEveryPageButRefusesEveryAction) {
    script->openFails = true;
    Start();
    EXPECT_EQ(messages, (std::vector<ShownMessage>{{"Open CH372 failure", "ERROR"}}));
    EXPECT_FALSE(dlg->m_bUsbOpen);
    EXPECT_EQ(dlg->m_tab.GetItemCount(), kPageCount);
    EXPECT_EQ(VisiblePage(), &dlg->m_pageContinous);
    TypeIntoLog("kept");
    messages.clear();

    ClickTab(2);
    EXPECT_EQ(dlg->m_tab.GetCurSel(), 2) << "the tab shows selected";
    EXPECT_EQ(VisiblePage(), &dlg->m_pageContinous) << "but the old page stays";
    Click(kValidate);
    Click(kReset);
    Click(kLocal);
    EXPECT_EQ(messages, (std::vector<ShownMessage>(4, kNotOpen)));
    EXPECT_EQ(LogText(), "kept");
    EXPECT_EQ(script->writes, 0);
}

TEST_F(MainDialogTest, TimeoutFailureLeavesAnEmptyTabControlAndNoRetry) {
    script->timeoutFails = true;
    Start();
    EXPECT_EQ(messages, (std::vector<ShownMessage>{{"Connection CH375 overtime", ""}}));
    EXPECT_EQ(dlg->m_tab.GetItemCount(), 0);
    for (int tab = 0; tab < kPageCount; ++tab) {
        EXPECT_EQ(dlg->PageOfTab(tab)->GetSafeHwnd(), nullptr) << "no page window, tab " << tab;
    }
    EXPECT_TRUE(CH375IsDeviceOpen(0)) << "the device that was opened is left open";
    messages.clear();
    script->timeoutFails = false;
    Click(kValidate);
    Click(kReset);
    Click(kLocal);
    EXPECT_EQ(messages, (std::vector<ShownMessage>(3, kNotOpen)));
    EXPECT_EQ(script->opens, 1);
    EXPECT_EQ(script->writes, 0);
}

TEST_F(MainDialogTest, PagesAreMadeInTheirOwnOrderButFoundByTab) {
    Start();
    const CommandPage* byTab[] = {&dlg->m_pageContinous, &dlg->m_pageFm,    &dlg->m_pageAm,
                                  &dlg->m_pagePm,        &dlg->m_pagePwm,   &dlg->m_pageFsk,
                                  &dlg->m_pageSweep,     &dlg->m_pageBurst};
    const char* firstLine[] = {"Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc",
                               "FM:STATe ON",   "AM:STATe ON",    "PM:STATe ON",
                               "PWM:STATe ON",  "FSKey:STATe ON", "SWEep:STATe ON",
                               "BURSt:STATe ON"};
    // The windows were made Continuous, FM, AM, PM, PWM, FSK, Burst, Sweep: siblings in that order.
    const QObjectList children = dlg->GetDlgItem(1000)->children();
    EXPECT_LT(children.indexOf(dlg->m_pageBurst.GetSafeHwnd()),
              children.indexOf(dlg->m_pageSweep.GetSafeHwnd()));
    for (int tab = 0; tab < kPageCount; ++tab) {
        ClickTab(tab);
        EXPECT_EQ(VisiblePage(), byTab[tab]) << "tab " << tab;
        timeline->events.clear();
        Click(kValidate);
        ASSERT_FALSE(Frames().empty()) << "tab " << tab;
        EXPECT_EQ(Frames().front(), Frame(firstLine[tab])) << "tab " << tab;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainDialogTest, PagesFillTheTabControlBelowItsTabs) {
    EXPECT_EQ(PageRectangle({0, 0, 400, 300}), (CRect{1, 30, 398, 280}));
    Start();
    const CRect expected = PageRectangle(dlg->m_tab.GetClientRect());
    for (int tab = 0; tab < kPageCount; ++tab) {
        const QRect placed = dlg->PageOfTab(tab)->GetSafeHwnd()->geometry();
        EXPECT_EQ(placed, QRect(expected.left, expected.top, expected.Width(), expected.Height()));
    }
}

// --- Reset, Local and the log -----------------------------------------------------------------

TEST_F(MainDialogTest, ResetAndLocalWriteOneLineAndReplaceTheLog) {
    Start();
    TypeIntoLog("typed by the operator");
    Click(kReset);
    EXPECT_EQ(Frames(), (std::vector<std::string>{std::string("\x2A\x52\x53\x54\x0A")}));
    EXPECT_EQ(LogText(), "*RST");
    Click(kLocal);
    EXPECT_EQ(Frames().back(), "*SYSTem:LOCal\n");
    EXPECT_EQ(script->lengths, (std::vector<ULONG>{5, 14}));
    EXPECT_EQ(LogText(), "*SYSTem:LOCal") << "replaced, not appended";
    EXPECT_TRUE(Pauses().empty());
}

TEST_F(MainDialogTest, ValidateShowsThePagesCommandTextInTheLog) {
    Start();
    ClickTab(2);
    Click(kValidate);
    const std::string amLines =
        "AM:STATe ON\r\nAM:INTernal:FREQuency 1000.000000Hz\r\nAM:DEPTh 100%\r\n"
        "AM:INTernal:FUNCtion SINusoid\r\n";
    EXPECT_EQ(LogText(), amLines);
    TypeIntoLog("never sent");
    Click(kValidate);
    EXPECT_EQ(LogText(), amLines) << "two presses send and show the same";
    EXPECT_EQ(Frames().size(), 8u);
    for (const std::string& frame : Frames()) EXPECT_EQ(frame.find("never sent"), std::string::npos);
}

// --- Failures that the operator must hear of ------------------------------------------------

TEST_F(MainDialogTest, AFailedWriteStopsTheSendAndSaysWhichLineWasNotSent) {
    Start();
    ClickTab(2);
    script->failWrite = 2;
    Click(kValidate);
    EXPECT_EQ(Frames(), FramesOf({"AM:STATe ON"})) << "nothing after the failed line";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "ERROR");
    EXPECT_NE(messages[0].text.find("AM:INTernal:FREQuency 1000.000000Hz"), std::string::npos);
    EXPECT_NE(messages[0].text.find("the instrument was unplugged"), std::string::npos);
    EXPECT_EQ(LogText(),
              "AM:STATe ON\r\nAM:INTernal:FREQuency 1000.000000Hz    <-- NOT SENT: the instrument "
              "was unplugged\r\n");
    EXPECT_FALSE(CH375IsDeviceOpen(0)) << "the link drops";
}

TEST_F(MainDialogTest, AfterAFailedWriteTheNextPressOpensTheInstrumentAgain) {
    Start();
    script->failWrite = 1;
    Click(kReset);
    EXPECT_EQ(LogText(), "*RST    <-- NOT SENT: the instrument was unplugged");
    messages.clear();
    Click(kLocal);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(script->opens, 2);
    EXPECT_EQ(Frames(), FramesOf({"*SYSTem:LOCal"}));
    EXPECT_EQ(LogText(), "*SYSTem:LOCal");
}

TEST_F(MainDialogTest, AnInstrumentSwitchedOnLaterNeedsNoRestart) {
    script->openFails = true;
    Start();
    messages.clear();
    script->openFails = false;
    ClickTab(7);
    EXPECT_TRUE(messages.empty()) << "the open is retried silently";
    EXPECT_EQ(VisiblePage(), &dlg->m_pageBurst);
    Click(kReset);
    EXPECT_TRUE(dlg->m_bUsbOpen);
    EXPECT_EQ(Frames(), FramesOf({"*RST"}));
}

TEST_F(MainDialogTest, ALineThatCannotBeSentRefusesTheWholeSend) {
    Start();
    ClickTab(2);
    Click(kReset);
    dlg->m_pageAm.m_cbWaveform.SetWindowText("SIN\x01usoid");
    timeline->events.clear();
    Click(kValidate);
    EXPECT_TRUE(Frames().empty()) << "not even the lines before it";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("AM:INTernal:FUNCtion SIN<0x01>usoid"), std::string::npos)
        << messages[0].text;
    EXPECT_EQ(LogText(), "*RST");
}

// --- About ------------------------------------------------------------------------------------

// Runs a system command and tells whether an About box came up (it is closed at once).
std::string AboutCaptionShownBy(CValdrixDlg& dlg, unsigned command) {
    std::string caption;
    QTimer::singleShot(0, [&caption] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            caption = box->windowTitle().toStdString();
            box->close();
        }
    });
    dlg.OnSysCommand(command, 0);
    QApplication::processEvents();
    return caption;
}

TEST_F(MainDialogTest, TheAboutItemOpensTheAboutBox) {
    Start();
    const CMenu* menu = dlg->GetSystemMenu(false);
    ASSERT_EQ(menu->Items().size(), 2u);
    EXPECT_EQ(menu->Items()[0].flags, MF_SEPARATOR);
    EXPECT_EQ(menu->Items()[1].id, 16u);
    EXPECT_EQ(menu->Items()[1].text, "关于 Valdrix(&A)...");
    for (unsigned command : {16u, 23u, 31u}) {
        EXPECT_EQ(AboutCaptionShownBy(*dlg, command), "关于 Valdrix") << command;
    }
    EXPECT_EQ(AboutCaptionShownBy(*dlg, 32), "");
    EXPECT_TRUE(dlg->GetSafeHwnd()->isVisible());
    EXPECT_EQ(AboutCaptionShownBy(*dlg, 0xF060), "");
    EXPECT_FALSE(dlg->GetSafeHwnd()->isVisible()) << "Close goes to the framework and ends the dialog";
    EXPECT_TRUE(Frames().empty()) << "closing writes nothing";
}

}  // namespace
