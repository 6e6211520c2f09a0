#pragma once

#include <string>
#include <vector>

#include "pages/command_page.h"
#include "pages/model/page_catalogue.h"

class QWidget;

namespace valdrix::gui {

// A page of the catalogue: its template names each field's control by the field's option, and
// the page takes what the controls show by the fields' own rules, as valdrix-cli and setups do.
class FieldPage : public CommandPage {
public:
    explicit FieldPage(const valdrix::model::CataloguePage& page);

    const valdrix::model::CataloguePage& Model() const { return m_page; }

    // The fields text for text as the page shows them, or will show them once its window is
    // made: what the next start and a setup keep.
    valdrix::model::FieldTexts ShownTexts() const;

    // Shows the texts as they stand, numbers that do not parse included: the page's checks
    // refuse them when they are sent, not now. A field not named shows its default; a radio
    // field can show its choices only, and says so. Returns what could not be shown.
    std::vector<std::string> ShowTexts(const valdrix::model::FieldTexts& texts);

    bool OnInitDialog() override;

protected:
    // Runs when the fields were given new texts from outside: a setup, the last run, defaults.
    virtual void OnTextsShown() {}

    // What the fields held at the last exchange, as they show it; the page's defaults until then.
    const valdrix::model::FieldTexts& TakenTexts() const { return m_taken; }

    // Reading stops at the first field the rules refuse: the operator is told why, and that
    // field has the focus.
    void DoDataExchange(CDataExchange* pDX) override;
    valdrix::model::CommandSequence ComposeSequence() override;
    valdrix::model::LineEnds CommandLineEnds() const override { return m_page.lineEnds; }

private:
    // The id of the field's control in the page's template; of a radio field, the id of the
    // button of that choice.
    int IdOf(const valdrix::model::FieldRow& field, const std::string& choice = {}) const;
    QWidget* ControlOf(const valdrix::model::FieldRow& field, const std::string& choice = {}) const;
    void DescribeNumberFields();
    std::string ShownText(const valdrix::model::FieldRow& field) const;
    void ShowPendingTexts();
    void ShowText(const valdrix::model::FieldRow& field, const std::string& text);

    const valdrix::model::CataloguePage& m_page;
    valdrix::model::FieldTexts m_taken;
    // Texts given while the page had no window, shown when it is made.
    valdrix::model::FieldTexts m_pendingTexts;
};

}  // namespace valdrix::gui
