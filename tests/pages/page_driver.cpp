#include "page_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <regex>

#include "framework/wnd.h"

namespace {

// The operator's window is the active one, so that the focus moves between controls as it does
// under the operator's hands, with every focus-in and focus-out that goes with it.
void ShowActive(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &window);
}

// Selects everything the control shows, so that the next key replaces it.
QWidget* SelectAllOf(QWidget* control) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) control = combo->lineEdit();
    if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->selectAll();
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
        box->selectAll();
    } else {
        ADD_FAILURE() << "the control takes no typing";
    }
    return control;
}

}  // namespace

void TypeInto(QWidget* control, const std::string& text) {
    ASSERT_NE(control, nullptr);
    QWidget* field = SelectAllOf(control);
    if (text.empty()) {
        QTest::keyClick(field, Qt::Key_Delete);
    } else {
        QTest::keyClicks(field, QString::fromStdString(text));
    }
}

void ChooseItem(QWidget* comboBox, const std::string& item) {
    auto* combo = qobject_cast<QComboBox*>(comboBox);
    ASSERT_NE(combo, nullptr);
    const int index =
        combo->findText(QString::fromStdString(item), Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_NE(index, -1) << "no item " << item;
    // The arrow keys walk the list one item at a time, as the operator can.
    for (int step = 0; step < combo->count() && combo->currentIndex() != index; ++step) {
        QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }
    ASSERT_EQ(combo->currentIndex(), index);
}

void Click(QWidget* button) {
    ASSERT_NE(qobject_cast<QAbstractButton*>(button), nullptr);
    // Near the left end, where a radio button has its circle and a push button its face.
    const int middle = button->height() / 2;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(middle, middle));
}

std::string TextOf(const QWidget* control) {
    return CWnd(const_cast<QWidget*>(control)).GetWindowText();
}

std::vector<std::string> ItemsOf(const QWidget* comboBox) {
    std::vector<std::string> items;
    if (const auto* combo = qobject_cast<const QComboBox*>(comboBox)) {
        for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i).toStdString());
    }
    return items;
}

bool IsChecked(const QWidget* button) {
    const auto* check = qobject_cast<const QAbstractButton*>(button);
    return check != nullptr && check->isChecked();
}

std::vector<std::string> NumbersIn(const std::string& text) {
    static const std::regex number(R"(-?\d+(\.\d+)?)");
    std::vector<std::string> numbers;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it) {
        numbers.push_back(it->str());
    }
    return numbers;
}

std::string EveryLineEnded(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::vector<std::string> Changed(std::vector<std::string> lines, const FieldChange& change) {
    for (const auto& [index, line] : change.sent) lines.at(index) = line;
    return lines;
}

std::vector<std::string> ChangedEvents(const std::vector<std::string>& events,
                                       const FieldChange& change) {
    const std::vector<std::string> lines = Changed(LinesOf(events), change);
    std::vector<std::string> changed;
    std::size_t line = 0;
    for (const std::string& event : events) {
        changed.push_back(event.ends_with('\n') ? Frame(lines.at(line++)) : event);
    }
    return changed;
}

void PrintTo(const FieldChange& change, std::ostream* out) {
    *out << change.what;
}

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.what;
}

std::vector<std::string> LinesOf(const std::vector<std::string>& events) {
    std::vector<std::string> lines;
    for (const std::string& event : events) {
        if (event.ends_with('\n')) lines.push_back(event.substr(0, event.size() - 1));
    }
    return lines;
}

std::string LinesBetween(const std::vector<std::string>& lines) {
    std::string text = EveryLineEnded(lines);
    if (!text.empty()) text.resize(text.size() - 2);
    return text;
}

void PageTest::SetUp() {
    InstrumentTest::SetUp();
    OpenDevice();
    CommandPage& page = ThePage();
    ASSERT_TRUE(page.Create(page.Template().id, &host));
    page.ShowWindow(SW_SHOW);
    ShowActive(host);
}

QWidget* PageTest::Control(int id) {
    QWidget* control = ThePage().GetDlgItem(id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

void PageTest::Enter(const std::vector<Entry>& entries) {
    for (const Entry& entry : entries) {
        if (entry.pick) {
            Choose(entry.id, entry.text);
        } else {
            Type(entry.id, entry.text);
        }
    }
}

void PageTest::ExpectLists(const std::vector<ComboList>& lists) {
    for (const ComboList& list : lists) {
        SCOPED_TRACE(list.id);
        EXPECT_EQ(ItemsOf(Control(list.id)), list.items);
        EXPECT_EQ(Text(list.id), list.shown);
    }
}

void PageTest::SendAgain() {
    timeline->events.clear();
    ThePage().SendCommands();
}

void PageTest::ExpectSent(const std::vector<std::string>& events) {
    EXPECT_EQ(timeline->events, events);
    EXPECT_EQ(ThePage().m_strCommand, EveryLineEnded(LinesOf(events)));
    EXPECT_TRUE(messages.empty());
}

void PageTest::PrepareRefusal(const Refusal& refusal, int elsewhere) {
    ThePage().SendCommands();
    m_commandBeforeRefusal = ThePage().m_strCommand;
    Control(elsewhere)->setFocus();
    Type(refusal.id, refusal.text);
    messages.clear();
}

void PageTest::ExpectRefused(const Refusal& refusal) {
    EXPECT_TRUE(timeline->events.empty());
    EXPECT_EQ(ThePage().m_strCommand, m_commandBeforeRefusal);
    EXPECT_EQ(Text(refusal.id), refusal.text);
    EXPECT_EQ(FocusedControl(), Control(refusal.id));
    ASSERT_EQ(messages.size(), 1u);
    if (!refusal.namedNumbers.empty()) {
        EXPECT_EQ(NumbersIn(messages[0].text), refusal.namedNumbers);
    }
}

void ProgramWindowTest::SetUp() {
    InstrumentTest::SetUp();
    ASSERT_TRUE(dialog.Create(dialog.Template().id, nullptr));
    ShowActive(*dialog.GetSafeHwnd());
    ASSERT_TRUE(dialog.m_bUsbOpen);
}

void ProgramWindowTest::SelectTab(int index) {
    QTabBar* bar = dialog.m_tab.Bar();
    ASSERT_NE(bar, nullptr);
    ASSERT_LT(index, bar->count());
    for (int step = 0; step < bar->count() && bar->currentIndex() != index; ++step) {
        QTest::keyClick(bar, bar->currentIndex() < index ? Qt::Key_Right : Qt::Key_Left);
    }
    ASSERT_EQ(bar->currentIndex(), index);
}

void ProgramWindowTest::ExpectValidateOnTabSends(int tab, const std::vector<std::string>& events) {
    SelectTab(tab);
    timeline->events.clear();

    PressValidate();

    EXPECT_EQ(timeline->events, events);
    EXPECT_EQ(Log(), EveryLineEnded(LinesOf(events)));
}

void ProgramWindowTest::ExpectRefusedValidateKeepsTheLog(int tab, const Refusal& refusal) {
    SelectTab(tab);
    PressValidate();
    const std::string logBefore = Log();
    TypeInto(dialog.PageOfTab(tab)->GetDlgItem(refusal.id), refusal.text);
    timeline->events.clear();

    PressValidate();

    EXPECT_TRUE(timeline->events.empty());
    EXPECT_EQ(Log(), logBefore);
    ASSERT_EQ(messages.size(), 1u);
    if (!refusal.namedNumbers.empty()) {
        EXPECT_EQ(NumbersIn(messages[0].text), refusal.namedNumbers);
    }
}
