#include "pages/command_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <memory>
#include <string>
#include <vector>

#include "page_driver.h"
#include "pages/burst.h"
#include "pages/sweep.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

constexpr int kBurstOnce = 1047;

// The pages with a "Burst Once" button, and their tabs.
struct TriggerPage {
    const char* name;
    std::unique_ptr<CommandPage> (*make)();
    int tab;
};

void PrintTo(const TriggerPage& page, std::ostream* out) {
    *out << page.name;
}

const TriggerPage kTriggerPages[] = {{"Sweep", MakePage<CSweep>, 6},
                                     {"Burst", MakePage<CBurst>, 7}};

class TriggerPageTest : public PageTest, public ::testing::WithParamInterface<TriggerPage> {
protected:
    CommandPage& ThePage() override { return *page; }

    // Types the same text into every edit field of the page and every combo box.
    void FillEveryField(const std::string& text) {
        for (QLineEdit* field : page->GetSafeHwnd()->findChildren<QLineEdit*>()) {
            auto* combo = qobject_cast<QComboBox*>(field->parentWidget());
            TypeInto(combo != nullptr ? static_cast<QWidget*>(combo) : field, text);
        }
    }

    std::unique_ptr<CommandPage> page = GetParam().make();
};

TEST_P(TriggerPageTest, BurstOnceSendsOnlyTheTriggerWhateverTheFieldsHold) {
    page->SendCommands();
    const std::string commandBefore = page->m_strCommand;
    // "10" is out of range as a cycle count, "0" too; the others are no numbers at all.
    for (const std::string text : {"10", "0", "abc", ""}) {
        SCOPED_TRACE(text);
        FillEveryField(text);
        timeline->events.clear();

        Click(Control(kBurstOnce));

        EXPECT_THAT(timeline->events, ElementsAre("*TRG\n"));
        EXPECT_EQ(page->m_strCommand, commandBefore);
        EXPECT_THAT(messages, IsEmpty());
    }
}

TEST_P(TriggerPageTest, BurstOnceThatFailsToReachTheInstrumentIsReported) {
    script->failWrite = 1;

    Click(Control(kBurstOnce));

    EXPECT_THAT(timeline->events, IsEmpty());
    EXPECT_EQ(page->m_strCommand, "");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "ERROR");
    EXPECT_THAT(messages[0].text, HasSubstr("\"*TRG\""));
}

TEST_P(TriggerPageTest, SendCommandsTellsTheMainDialogHowTheSendWent) {
    EXPECT_EQ(page->SendCommands(), SendOutcome::Sent);

    script->failWrite = script->writes + 2;
    EXPECT_EQ(page->SendCommands(), SendOutcome::Failed);

    FillEveryField("abc");
    const int writesBefore = script->writes;
    EXPECT_EQ(page->SendCommands(), SendOutcome::Refused);
    EXPECT_EQ(script->writes, writesBefore);
}

INSTANTIATE_TEST_SUITE_P(Pages, TriggerPageTest, ::testing::ValuesIn(kTriggerPages));

class TriggerInProgramWindowTest : public ProgramWindowTest,
                                   public ::testing::WithParamInterface<TriggerPage> {};

TEST_P(TriggerInProgramWindowTest, BurstOnceLeavesTheLogAsItWas) {
    SelectTab(GetParam().tab);
    PressValidate();
    const std::string logBefore = Log();
    timeline->events.clear();

    Click(dialog.PageOfTab(GetParam().tab)->GetDlgItem(kBurstOnce));

    EXPECT_THAT(timeline->events, ElementsAre("*TRG\n"));
    EXPECT_EQ(Log(), logBefore);
}

INSTANTIATE_TEST_SUITE_P(Pages, TriggerInProgramWindowTest, ::testing::ValuesIn(kTriggerPages));

}  // namespace
