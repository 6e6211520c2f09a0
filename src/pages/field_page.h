#pragma once

#include <algorithm>
#include <iterator>
#include <variant>

#include "framework/data_exchange.h"
#include "pages/command_page.h"
#include "pages/model/page_model.h"

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

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        for (const auto& field : m_model.fields) ExchangeField(pDX, field);
    }
    valdrix::model::CommandSequence ComposeSequence() override {
        return m_model.sequence(m_settings);
    }
    valdrix::model::LineEnds CommandLineEnds() const override { return m_model.lineEnds; }

private:
    void ExchangeField(CDataExchange* pDX, const valdrix::model::Field<Settings>& field) {
        using valdrix::model::FieldKind;
        switch (field.kind) {
            case FieldKind::Number: {
                double& value = m_settings.*std::get<double Settings::*>(field.member);
                DDX_Text(pDX, field.Control(), value);
                if (field.range) DDV_MinMaxDouble(pDX, value, field.range->minimum, field.range->maximum);
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
};
