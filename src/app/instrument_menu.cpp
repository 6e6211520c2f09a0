#include "app/instrument_menu.h"

#include <fmt/format.h>

#include <QFileDialog>
#include <QMenu>

namespace valdrix::gui {

using namespace valdrix::link;

namespace {

bool SameLink(const LinkChoice& a, const LinkChoice& b) {
    return LinkSpelling(a) == LinkSpelling(b);
}

}  // namespace

std::vector<std::pair<std::string, LinkChoice>> UsbChoices(const UsbSurvey& survey,
                                                           const LinkChoice& inUse) {
    std::vector<std::pair<std::string, LinkChoice>> choices;
    for (const SurveyedInstrument& instrument : survey.instruments) {
        const LinkChoice link{LinkChoice::Kind::Usb, static_cast<ULONG>(instrument.index), {}};
        std::string text =
            fmt::format("usb:{}  {}  {}", instrument.index, instrument.location, instrument.ids);
        if (!instrument.whyNot.empty() && !SameLink(link, inUse)) {
            text += "  (cannot be opened: " + instrument.whyNot + ")";
        }
        choices.emplace_back(std::move(text), link);
    }
    return choices;
}

namespace {

void AddChoice(QMenu& menu, const std::string& text, const LinkChoice& link,
               const LinkChoice& inUse, const std::function<void(const LinkChoice&)>& choose) {
    QAction* action = menu.addAction(QString::fromStdString(text));
    action->setCheckable(true);
    action->setChecked(SameLink(link, inUse));
    QObject::connect(action, &QAction::triggered, &menu, [choose, link] { choose(link); });
}

}  // namespace

void AddInstrumentMenu(QMenu& menu, const LinkChoice& inUse,
                       std::function<void(const LinkChoice&)> choose) {
    QMenu* instruments = menu.addMenu("&Instrument");
    // Surveyed when the menu is opened: instruments come and go while the window stays.
    const UsbSurvey survey = SurveyUsbInstruments();
    for (const auto& [text, link] : UsbChoices(survey, inUse))
        AddChoice(*instruments, text, link, inUse, choose);
    if (!survey.error.empty()) {
        instruments->addAction(QString::fromStdString("No USB list: " + survey.error))
            ->setEnabled(false);
    } else if (survey.instruments.empty()) {
        instruments->addAction("No instrument on USB")->setEnabled(false);
    }
    instruments->addSeparator();
    AddChoice(*instruments, "&Simulated instrument", {LinkChoice::Kind::Simulated, 0, {}}, inUse,
              choose);
    QAction* file = instruments->addAction("Write to a &file…");
    file->setCheckable(true);
    file->setChecked(inUse.kind == LinkChoice::Kind::File);
    QWidget* window = menu.parentWidget();
    QObject::connect(file, &QAction::triggered, instruments, [window, choose] {
        // The file link appends: a file that exists is written on, not replaced.
        const QString path = QFileDialog::getSaveFileName(
            window, "Write to a file", {}, {}, nullptr, QFileDialog::DontConfirmOverwrite);
        if (!path.isEmpty()) choose({LinkChoice::Kind::File, 0, path.toStdString()});
    });
}

}  // namespace valdrix::gui
