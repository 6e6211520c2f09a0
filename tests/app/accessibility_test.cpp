#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/valdrix_dlg.h"
#include "res/resource_ids.h"
#include "support/test_fixture.h"

namespace {

constexpr int kReset = 1004;
constexpr int kLog = 1006;
constexpr int kContinuousFreq = 1002;
constexpr int kContinuousFreqUnit = 1008;
constexpr int kDirectMode = 1055;
constexpr int kOutputMode = 1056;

bool IsField(const ControlTemplate& control) {
    return control.kind == ControlKind::Edit || control.kind == ControlKind::ComboBox;
}

QAccessibleInterface* AccessibleOf(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

// The labels that a control is "labelled by", as assistive technology asks for them.
std::vector<QLabel*> LabelsOf(QWidget* control) {
    std::vector<QLabel*> labels;
    for (const auto& [label, relation] : AccessibleOf(control)->relations(QAccessible::Label)) {
        if (auto* widget = qobject_cast<QLabel*>(label->object())) labels.push_back(widget);
    }
    return labels;
}

// What a screen reader calls a field. A combo box's own name is its value on some platforms,
// so a combo box is called by the label it is labelled by.
std::string AnnouncedName(QWidget* field) {
    if (qobject_cast<QComboBox*>(field) != nullptr) {
        const std::vector<QLabel*> labels = LabelsOf(field);
        return labels.empty() ? std::string() : labels.front()->text().toStdString();
    }
    return AccessibleOf(field)->text(QAccessible::Name).toStdString();
}

// The real main dialog with all its pages, shown, with the recorder behind the link.
class AccessibilityTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        dlg->Create(IDD_VALDRIX_DIALOG, nullptr);
        Window()->show();
        Window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window()));
    }

    void TearDown() override {
        dlg.reset();
        InstrumentTest::TearDown();
    }

    QDialog* Window() const { return qobject_cast<QDialog*>(dlg->GetSafeHwnd()); }

    std::vector<const CDialog*> Dialogs() {
        std::vector<const CDialog*> dialogs{dlg.get()};
        for (int tab = 0; tab < kPageCount; ++tab) dialogs.push_back(dlg->PageOfTab(tab));
        return dialogs;
    }

    std::unique_ptr<CValdrixDlg> dlg = std::make_unique<CValdrixDlg>();
};

TEST_F(AccessibilityTest, EveryFieldOfEveryPageHasAName) {
    for (const CDialog* dialog : Dialogs()) {
        for (const ControlTemplate& control : dialog->Template().controls) {
            if (!IsField(control)) continue;
            EXPECT_NE(AnnouncedName(dialog->GetDlgItem(control.id)), "")
                << "template " << dialog->Template().id << ", control " << control.id;
        }
    }
}

// Which label names which field is given in the templates; where each label stands is given
// by their positions. The two must agree: the label that names a field is the nearest label
// above it.
TEST_F(AccessibilityTest, EachFieldIsNamedByTheLabelRightAboveIt) {
    for (const CDialog* dialog : Dialogs()) {
        const QList<QLabel*> allLabels = dialog->GetSafeHwnd()->findChildren<QLabel*>();
        for (const ControlTemplate& control : dialog->Template().controls) {
            QWidget* field = dialog->GetDlgItem(control.id);
            if (!IsField(control) || !control.accessibleName.empty()) continue;
            const QRect place = field->geometry();
            const QLabel* nearest = nullptr;
            int nearestDistance = 0;
            for (const QLabel* label : allLabels) {
                const QPoint offset = place.topLeft() - label->geometry().topLeft();
                if (offset.y() <= 0) continue;
                const int distance = offset.manhattanLength();
                if (nearest == nullptr || distance < nearestDistance) {
                    nearest = label;
                    nearestDistance = distance;
                }
            }
            const std::vector<QLabel*> labels = LabelsOf(field);
            if (labels.size() != 1) {
                ADD_FAILURE() << "template " << dialog->Template().id << ", control " << control.id
                              << " has " << labels.size() << " labels";
                continue;
            }
            EXPECT_EQ(labels.front(), nearest)
                << "template " << dialog->Template().id << ", control " << control.id
                << " is named " << labels.front()->text().toStdString()
                << ", the label above it is "
                << (nearest != nullptr ? nearest->text().toStdString() : "none");
        }
    }
}

TEST_F(AccessibilityTest, FieldsAreCalledWhatTheOperatorSeesBesideThem) {
    struct Case {
        int tab;  // -1: the main dialog
        int id;
        std::string name;
    };
    const Case cases[] = {
        {0, kContinuousFreq, "Freq"},
        {0, kContinuousFreqUnit, "Freq Unit"},
        {0, 1004, "DC Offset"},
        {0, 1054, "Output configuration commands"},
        {0, 1057, "Direct configuration commands"},
        {1, 1015, "DEViation Unit"},
        {2, 1020, "DEPTh "},
        {6, 1039, "Freq Unit"},
        {7, 1050, "NCYCles "},
        {-1, kLog, "Command log"},
    };
    for (const Case& c : cases) {
        const CDialog* dialog =
            c.tab < 0 ? static_cast<CDialog*>(dlg.get()) : dlg->PageOfTab(c.tab);
        EXPECT_EQ(AnnouncedName(dialog->GetDlgItem(c.id)), c.name) << "control " << c.id;
    }
}

TEST_F(AccessibilityTest, ButtonsAndRadioButtonsAreCalledByTheirTexts) {
    for (const CDialog* dialog : Dialogs()) {
        for (const ControlTemplate& control : dialog->Template().controls) {
            if (control.kind != ControlKind::PushButton &&
                control.kind != ControlKind::RadioButton) {
                continue;
            }
            EXPECT_EQ(AccessibleOf(dialog->GetDlgItem(control.id))->text(QAccessible::Name),
                      QString::fromStdString(control.text));
        }
    }
}

// The two mode buttons of the Continuous page are radio buttons to assistive technology, and
// choosing one through it leaves only that one checked, as a click does.
TEST_F(AccessibilityTest, ModeButtonsAreRadioButtonsThatAssistiveTechnologyCanChoose) {
    QAccessibleInterface* direct = AccessibleOf(dlg->m_pageContinous.GetDlgItem(kDirectMode));
    QAccessibleInterface* output = AccessibleOf(dlg->m_pageContinous.GetDlgItem(kOutputMode));
    EXPECT_EQ(direct->role(), QAccessible::RadioButton);
    EXPECT_EQ(output->role(), QAccessible::RadioButton);
    EXPECT_TRUE(direct->state().checked);
    EXPECT_FALSE(output->state().checked);

    QAccessibleActionInterface* choose = output->actionInterface();
    ASSERT_NE(choose, nullptr);
    ASSERT_FALSE(choose->actionNames().isEmpty());
    choose->doAction(choose->actionNames().front());
    EXPECT_TRUE(output->state().checked);
    EXPECT_FALSE(direct->state().checked);

    choose->doAction(choose->actionNames().front());
    EXPECT_TRUE(output->state().checked) << "choosing the chosen mode again keeps it";
    EXPECT_FALSE(direct->state().checked);
    EXPECT_TRUE(Frames().empty());
}

TEST_F(AccessibilityTest, TabOrderIsTheTemplateOrder) {
    for (const CDialog* dialog : Dialogs()) {
        std::vector<QWidget*> inTemplateOrder;
        for (const ControlTemplate& control : dialog->Template().controls) {
            QWidget* widget = dialog->GetDlgItem(control.id);
            if (widget != nullptr && (widget->focusPolicy() & Qt::TabFocus)) {
                inTemplateOrder.push_back(widget);
            }
        }
        ASSERT_FALSE(inTemplateOrder.empty());
        std::vector<QWidget*> inFocusChain;
        QWidget* widget = inTemplateOrder.front();
        do {
            if (std::ranges::find(inTemplateOrder, widget) != inTemplateOrder.end()) {
                inFocusChain.push_back(widget);
            }
            widget = widget->nextInFocusChain();
        } while (widget != inTemplateOrder.front());
        EXPECT_EQ(inFocusChain, inTemplateOrder) << "template " << dialog->Template().id;
    }
}

// --- Keys ---------------------------------------------------------------------------------------

struct KeyCase {
    std::string name;
    int control;  // on the Continuous page; or kReset, kLog of the main dialog
    bool onPage;
    Qt::Key key;
    bool closes;
    std::vector<std::string> frames;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.name;
}

class KeyTest : public AccessibilityTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTest, OnlyEscAndAFocusedButtonAnswerToTheKey) {
    const KeyCase& c = GetParam();
    QWidget* control =
        c.onPage ? dlg->m_pageContinous.GetDlgItem(c.control) : dlg->GetDlgItem(c.control);
    control->setFocus();
    // The key goes where the operator's keys go: to the focus, which in a combo box may be its
    // edit field.
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus == control || control->isAncestorOf(focus));
    QTest::keyClick(focus, c.key);
    EXPECT_EQ(!Window()->isVisible(), c.closes);
    if (c.closes) {
        EXPECT_EQ(Window()->result(), QDialog::Rejected);
    }
    EXPECT_EQ(Frames(), FramesOf(c.frames));
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    ::testing::Values(
        KeyCase{"ReturnInAField", kContinuousFreq, true, Qt::Key_Return, false, {}},
        KeyCase{"KeypadEnterInAField", kContinuousFreq, true, Qt::Key_Enter, false, {}},
        KeyCase{"ReturnInAComboBox", kContinuousFreqUnit, true, Qt::Key_Return, false, {}},
        KeyCase{"KeypadEnterInAComboBox", kContinuousFreqUnit, true, Qt::Key_Enter, false, {}},
        KeyCase{"ReturnInTheLog", kLog, false, Qt::Key_Return, false, {}},
        KeyCase{"ReturnOnAFocusedButtonPressesIt", kReset, false, Qt::Key_Return, false, {"*RST"}},
        KeyCase{"EscInAField", kContinuousFreq, true, Qt::Key_Escape, true, {}},
        KeyCase{"EscInAComboBox", kContinuousFreqUnit, true, Qt::Key_Escape, true, {}}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST_F(AccessibilityTest, ReturnKeepsWhatWasTypedAndSendsNothing) {
    auto* freq = qobject_cast<QLineEdit*>(dlg->m_pageContinous.GetDlgItem(kContinuousFreq));
    freq->setFocus();
    freq->clear();
    QTest::keyClicks(freq, "2500");
    QTest::keyClick(freq, Qt::Key_Return);
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_EQ(freq->text(), "2500");
    EXPECT_TRUE(Frames().empty());
}

TEST_F(AccessibilityTest, ClosingTheWindowEndsTheDialog) {
    Window()->close();
    EXPECT_FALSE(Window()->isVisible());
    EXPECT_EQ(Window()->result(), QDialog::Rejected);
    EXPECT_TRUE(Frames().empty());
}

}  // namespace
