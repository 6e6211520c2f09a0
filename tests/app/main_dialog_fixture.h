#pragma once

#include <memory>
#include <string>

#include "app/valdrix_dlg.h"
#include "support/test_fixture.h"

// The real main dialog on the offscreen platform, shown, with the recorder behind the link.
class MainDialogTest : public InstrumentTest {
protected:
    void TearDown() override;

    void Start();
    void Click(int buttonId);
    void ClickTab(int tab);
    std::string LogText() const;
    void TypeIntoLog(const std::string& text);
    // The page whose window the operator sees.
    const CommandPage* VisiblePage();

    std::unique_ptr<CValdrixDlg> dlg;
};
