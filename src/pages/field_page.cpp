#include "pages/field_page.h"

#include <fmt/format.h>

#include <QComboBox>
#include <algorithm>

#include "framework/button.h"
#include "framework/data_exchange.h"
#include "framework/resources.h"

namespace valdrix::gui {

using namespace valdrix::model;

FieldPage::FieldPage(const CataloguePage& page)
    : CommandPage(PageTemplateId(page.name)), m_page(page), m_taken(DefaultTexts(page)) {}

FieldTexts FieldPage::ShownTexts() const {
    FieldTexts texts;
    for (const FieldRow& field : m_page.fields) texts.emplace_back(field.option, ShownText(field));
    return texts;
}

std::vector<std::string> FieldPage::ShowTexts(const FieldTexts& texts) {
    std::vector<std::string> notShown;
    FieldTexts taken;
    m_pendingTexts.clear();
    for (const FieldRow& field : m_page.fields) {
        std::string text = field.defaultText;
        if (const std::string* given = FindText(texts, field.option)) {
            const auto refusal = FieldTextRefusal(field, *given);
            if (refusal && field.kind == FieldKind::Radio) {
                notShown.push_back(fmt::format("{} {}: {}; the default is shown", m_page.name,
                                               field.option, *refusal));
            } else {
                text = *given;
                if (!refusal) taken.emplace_back(field.option, text);
            }
        }
        m_pendingTexts.emplace_back(field.option, text);
    }
    m_taken = m_page.shownForm(taken);
    if (GetSafeHwnd() != nullptr) ShowPendingTexts();
    return notShown;
}

bool FieldPage::OnInitDialog() {
    CommandPage::OnInitDialog();
    DescribeNumberFields();
    ShowPendingTexts();
    return true;
}

void FieldPage::DoDataExchange(CDataExchange* pDX) {
    if (pDX->Failed()) return;
    if (!pDX->m_bSaveAndValidate) {
        for (const FieldRow& field : m_page.fields)
            ShowText(field, *FindText(m_taken, field.option));
        return;
    }
    FieldTexts texts;
    for (const FieldRow& field : m_page.fields) {
        std::string text = ShownText(field);
        if (const auto refusal = FieldTextRefusal(field, text)) {
            pDX->PrepareCtrl(
                IdOf(field, field.kind == FieldKind::Radio ? field.choices.front() : ""));
            pDX->Fail(*refusal);
            return;
        }
        texts.emplace_back(field.option, std::move(text));
    }
    m_taken = m_page.shownForm(texts);
}

CommandSequence FieldPage::ComposeSequence() {
    return m_page.sequence(m_taken);
}

int FieldPage::IdOf(const FieldRow& field, const std::string& choice) const {
    const auto& controls = Template().controls;
    const auto found = std::find_if(controls.begin(), controls.end(), [&](const auto& control) {
        return control.field == field.option && control.choice == choice;
    });
    return found == controls.end() ? IDC_STATIC : found->id;
}

QWidget* FieldPage::ControlOf(const FieldRow& field, const std::string& choice) const {
    return GetDlgItem(IdOf(field, choice));
}

// A screen reader tells what a number field takes before the page refuses it.
void FieldPage::DescribeNumberFields() {
    for (const FieldRow& field : m_page.fields) {
        if (field.kind != FieldKind::Number && field.kind != FieldKind::WholeNumber) continue;
        ControlOf(field)->setAccessibleDescription(
            QString::fromStdString(RangeText(field.kind == FieldKind::WholeNumber, field.range)));
    }
}

std::string FieldPage::ShownText(const FieldRow& field) const {
    if (const std::string* pending = FindText(m_pendingTexts, field.option)) return *pending;
    if (GetSafeHwnd() != nullptr && field.kind != FieldKind::Radio) {
        return CWnd(ControlOf(field)).GetWindowText();
    }
    if (GetSafeHwnd() != nullptr) {
        for (const std::string& choice : field.choices) {
            if (CButton(ControlOf(field, choice)).GetCheck() == BST_CHECKED) return choice;
        }
    }
    return *FindText(m_taken, field.option);
}

void FieldPage::ShowPendingTexts() {
    if (m_pendingTexts.empty()) return;
    const FieldTexts pending = std::move(m_pendingTexts);
    m_pendingTexts.clear();
    for (const FieldRow& field : m_page.fields) ShowText(field, *FindText(pending, field.option));
    OnTextsShown();
}

// A combo box selects the item that is exactly the text, so the list opens on it.
void FieldPage::ShowText(const FieldRow& field, const std::string& text) {
    if (field.kind == FieldKind::Radio) {
        for (const std::string& choice : field.choices) {
            CButton(ControlOf(field, choice))
                .SetCheck(choice == text ? BST_CHECKED : BST_UNCHECKED);
        }
        return;
    }
    QWidget* control = ControlOf(field);
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const QString shown = QString::fromStdString(text);
        const int item = combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (item >= 0) combo->setCurrentIndex(item);
        combo->setEditText(shown);
    } else {
        CWnd(control).SetWindowText(text);
    }
}

}  // namespace valdrix::gui
