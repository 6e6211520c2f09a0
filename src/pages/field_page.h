#pragma once

#include <QComboBox>
#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "framework/button.h"
#include "framework/data_exchange.h"
#include "pages/command_page.h"
#include "pages/model/page_model.h"
#include "pages/model/setup_file.h"

namespace valdrix::gui {

// A page whose fields are its model's field table: the table binds each control to a member of
// the page's settings, so the exchange, the defaults shown at start and the sequence agree.
template <typename Settings>
class FieldPage : public CommandPage {
public:
    FieldPage(unsigned templateId, const valdrix::model::PageModel<Settings>& model)
        : CommandPage(templateId), m_model(model) {}

    const valdrix::model::PageModel<Settings>& Model() const { return m_model; }

    // What the fields held at the last exchange; the page's defaults until then.
    Settings m_settings{};

    // The fields text for text as the page shows them, or will show them once its window is
    // made: what the next start and a setup keep.
    valdrix::model::FieldTexts ShownTexts() const {
        valdrix::model::FieldTexts texts;
        for (const auto& field : m_model.fields) texts.emplace_back(field.option, ShownText(field));
        return texts;
    }

    // Shows the texts as they stand, numbers that do not parse included: the page's checks
    // refuse them when they are sent, not now. A field not named shows its default; a radio
    // field can show its choices only, and says so. Returns what could not be shown.
    std::vector<std::string> ShowTexts(const valdrix::model::FieldTexts& texts) {
        std::vector<std::string> notShown;
        m_settings = Settings{};
        m_pendingTexts.clear();
        for (const auto& field : m_model.fields) {
            std::string text = valdrix::model::FieldText(field, m_settings);
            if (const std::string* given = valdrix::model::FindText(texts, field.option)) {
                if (auto refusal = valdrix::model::TakeFieldText(field, m_settings, *given);
                    refusal && field.kind == valdrix::model::FieldKind::Radio) {
                    notShown.push_back(fmt::format("{} {}: {}; the default is shown", m_model.name,
                                                   field.option, *refusal));
                } else {
                    text = *given;
                }
            }
            m_pendingTexts.emplace_back(field.option, text);
        }
        if (GetSafeHwnd() != nullptr) ShowPendingTexts();
        return notShown;
    }

    bool OnInitDialog() override {
        CommandPage::OnInitDialog();
        DescribeNumberFields();
        ShowPendingTexts();
        return true;
    }

protected:
    // Runs when the fields were given new texts from outside: a setup, the last run, defaults.
    virtual void OnTextsShown() {}

    // The settings the shown texts make, or the first field the page would refuse, as
    // "freq \"abc\": not a number"; nothing is shown or told.
    std::optional<std::string> SettingsOfShownTexts(Settings& settings) const {
        return valdrix::model::TakeTexts(m_model, settings, ShownTexts());
    }

    void DoDataExchange(CDataExchange* pDX) override {
        for (const auto& field : m_model.fields) ExchangeField(pDX, field);
    }
    valdrix::model::CommandSequence ComposeSequence() override {
        return m_model.sequence(m_settings);
    }
    valdrix::model::LineEnds CommandLineEnds() const override { return m_model.lineEnds; }

private:
    // A screen reader tells what a number field takes before the page refuses it.
    void DescribeNumberFields() {
        using valdrix::model::FieldKind;
        for (const auto& field : m_model.fields) {
            if (field.kind != FieldKind::Number && field.kind != FieldKind::WholeNumber) continue;
            GetDlgItem(field.Control())
                ->setAccessibleDescription(QString::fromStdString(
                    valdrix::model::RangeText(field.kind == FieldKind::WholeNumber, field.range)));
        }
    }

    std::string ShownText(const valdrix::model::Field<Settings>& field) const {
        if (const std::string* pending = valdrix::model::FindText(m_pendingTexts, field.option)) {
            return *pending;
        }
        if (GetSafeHwnd() == nullptr) return valdrix::model::FieldText(field, m_settings);
        if (field.kind != valdrix::model::FieldKind::Radio) {
            return CWnd(GetDlgItem(field.Control())).GetWindowText();
        }
        for (std::size_t i = 0; i < field.controls.size(); ++i) {
            if (CButton(GetDlgItem(field.controls[i])).GetCheck() == BST_CHECKED) {
                return field.choices[i];
            }
        }
        return valdrix::model::FieldText(field, m_settings);
    }

    void ShowPendingTexts() {
        if (m_pendingTexts.empty()) return;
        for (const auto& field : m_model.fields) {
            ShowText(field, *valdrix::model::FindText(m_pendingTexts, field.option));
        }
        m_pendingTexts.clear();
        OnTextsShown();
    }

    // A combo box selects the item that is exactly the text, so the list opens on it.
    void ShowText(const valdrix::model::Field<Settings>& field, const std::string& text) {
        using valdrix::model::FieldKind;
        QWidget* control = GetDlgItem(field.Control());
        if (field.kind == FieldKind::Radio) {
            const auto chosen = std::find(field.choices.begin(), field.choices.end(), text);
            for (std::size_t i = 0; i < field.controls.size(); ++i) {
                CButton(GetDlgItem(field.controls[i]))
                    .SetCheck(field.choices.begin() + static_cast<long>(i) == chosen
                                  ? BST_CHECKED
                                  : BST_UNCHECKED);
            }
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            const QString shown = QString::fromStdString(text);
            const int item = combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (item >= 0) combo->setCurrentIndex(item);
            combo->setEditText(shown);
        } else {
            CWnd(control).SetWindowText(text);
        }
    }

    void ExchangeField(CDataExchange* pDX, const valdrix::model::Field<Settings>& field) {
        using valdrix::model::FieldKind;
        switch (field.kind) {
            case FieldKind::Number: {
                double& value = m_settings.*std::get<double Settings::*>(field.member);
                DDX_Text(pDX, field.Control(), value);
                if (field.range)
                    DDV_MinMaxDouble(pDX, value, field.range->minimum, field.range->maximum);
                break;
            }
            case FieldKind::WholeNumber: {
                int& value = m_settings.*std::get<int Settings::*>(field.member);
                DDX_Text(pDX, field.Control(), value);
                if (field.range) {
                    DDV_MinMaxInt(pDX, value, static_cast<int>(field.range->minimum),
                                  static_cast<int>(field.range->maximum));
                }
                break;
            }
            case FieldKind::Text:
                DDX_CBString(pDX, field.Control(),
                             m_settings.*std::get<std::string Settings::*>(field.member));
                break;
            case FieldKind::Radio: ExchangeRadio(pDX, field); break;
        }
    }

    void ExchangeRadio(CDataExchange* pDX, const valdrix::model::Field<Settings>& field) {
        std::string& value = m_settings.*std::get<std::string Settings::*>(field.member);
        const auto chosen = std::find(field.choices.begin(), field.choices.end(), value);
        int index = chosen == field.choices.end()
                        ? -1
                        : static_cast<int>(std::distance(field.choices.begin(), chosen));
        DDX_Radio(pDX, field.controls, index);
        if (pDX->m_bSaveAndValidate && index >= 0) {
            value = field.choices[static_cast<std::size_t>(index)];
        }
    }

    const valdrix::model::PageModel<Settings>& m_model;
    // Texts given while the page had no window, shown when it is made.
    valdrix::model::FieldTexts m_pendingTexts;
};

}  // namespace valdrix::gui
