#pragma once

#include <QWidget>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/valdrix_dlg.h"
#include "pages/command_page.h"
#include "support/test_fixture.h"

// The operator's hands on the controls. Typing replaces what a field or a combo box shows, as
// selecting it all and typing over it does; an empty text deletes it.
void TypeInto(QWidget* control, const std::string& text);
// Picks the combo box item whose text is exactly `item`; the test fails if the list lacks it.
void ChooseItem(QWidget* comboBox, const std::string& item);
void Click(QWidget* button);

std::string TextOf(const QWidget* control);
std::vector<std::string> ItemsOf(const QWidget* comboBox);
bool IsChecked(const QWidget* button);

// The numbers a message names, in order: "between 1 and 9" names "1" and "9".
std::vector<std::string> NumbersIn(const std::string& text);

// A command text in which every line is followed by "\r\n", the last one too.
std::string EveryLineEnded(const std::vector<std::string>& lines);
// A command text with "\r\n" between the lines and nothing after the last one.
std::string LinesBetween(const std::vector<std::string>& lines);

// The largest double, as typed, and its "%f" text: all 309 integer digits and six decimals.
inline constexpr char kLargestDoubleTyped[] = "1.7976931348623157e308";
inline const std::string kLargestDoubleFixed =
    "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558632"
    "766878171540458953514382464234321326889464182768467546703537516986049910576551282076245490090"
    "389328944075868508455133942304583236903222948165808559332123348274797826204144723168738177180"
    "919299881250404026184124858368.000000";

// The waveform list that every page with a Waveform box holds, in its stored order.
inline const std::vector<std::string> kWaveformItems = {
    "SINusoid", "SQUare", "RAMP", "NOISe", "PPULS", "NPULS", "STAIR", "HSINE",
    "LSINE",    "REXP",   "RLOG", "TANG",  "SINC",  "ROUND", "CARD",  "QUAKE"};

// What the operator does to one control: types a text, or picks an item of a combo box.
struct Entry {
    int id;
    std::string text;
    bool pick = false;
};

// A combo box's list in its stored order, and the text it shows when the page first shows.
struct ComboList {
    int id;
    std::vector<std::string> items;
    std::string shown;
};

// Fields changed from the defaults, and the lines of the send that then differ, by position.
struct FieldChange {
    const char* what;
    std::vector<Entry> entries;
    std::vector<std::pair<std::size_t, std::string>> sent;
};

// The default lines with the changed ones put in.
std::vector<std::string> Changed(std::vector<std::string> lines, const FieldChange& change);
// The default lines and pauses of a send with the changed lines put in.
std::vector<std::string> ChangedEvents(const std::vector<std::string>& events,
                                       const FieldChange& change);

// A field text that the exchange refuses; a range message names the bounds.
struct Refusal {
    const char* what;
    int id;
    std::string text;
    std::vector<std::string> namedNumbers = {};  // empty: the message for a text that is no number
};

void PrintTo(const FieldChange& change, std::ostream* out);
void PrintTo(const Refusal& refusal, std::ostream* out);

// The lines among a send's events, without their terminators.
std::vector<std::string> LinesOf(const std::vector<std::string>& events);

template <typename Page>
std::unique_ptr<CommandPage> MakePage() {
    return std::make_unique<Page>();
}

// One page window, made as the main dialog makes it, shown in an active host window, with the
// instrument open and every write and pause recorded.
class PageTest : public InstrumentTest {
protected:
    void SetUp() override;

    virtual CommandPage& ThePage() = 0;

    QWidget* Control(int id);
    void Type(int id, const std::string& text) { TypeInto(Control(id), text); }
    void Choose(int id, const std::string& item) { ChooseItem(Control(id), item); }
    std::string Text(int id) { return TextOf(Control(id)); }
    void Enter(const std::vector<Entry>& entries);
    void ExpectLists(const std::vector<ComboList>& lists);
    // Where the keyboard focus sits in the page's window.
    QWidget* FocusedControl() const { return host.focusWidget(); }
    // Sends, after forgetting what earlier sends wrote.
    void SendAgain();
    // The send wrote exactly these lines and pauses, the command text holds the lines each
    // followed by "\r\n", and the operator was told nothing.
    void ExpectSent(const std::vector<std::string>& events);

    // A first send, then the focus on another control and the refused text typed in.
    void PrepareRefusal(const Refusal& refusal, int elsewhere);
    // Nothing written, the command text of the first send kept, the message shown once, and
    // the field, still showing what was typed, has the focus.
    void ExpectRefused(const Refusal& refusal);

    QWidget host;

private:
    std::string m_commandBeforeRefusal;
};

// The whole program window, active, as the operator sees it after start-up with the instrument
// open.
class ProgramWindowTest : public InstrumentTest {
protected:
    void SetUp() override;

    // Moves to a tab with the arrow keys, as the operator can.
    void SelectTab(int index);
    void PressValidate() { Click(dialog.GetDlgItem(1003)); }
    // Validate on a tab wrote exactly these lines and pauses, and the log shows the lines.
    void ExpectValidateOnTabSends(int tab, const std::vector<std::string>& events);
    // Validate on a tab after a first one, with a refused field: nothing written, the message
    // shown once, and the log as the first Validate left it.
    void ExpectRefusedValidateKeepsTheLog(int tab, const Refusal& refusal);
    std::string Log() const { return TextOf(dialog.GetDlgItem(1006)); }

    CValdrixDlg dialog;
};
