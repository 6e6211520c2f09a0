#pragma once

#include <string>

#include "framework/cstring.h"
#include "pages/field_page.h"

namespace valdrix::gui {

// The continuous output, configured either by one combined line or by one command a setting.
// Its two boxes show what each way sends.
class CContinous : public FieldPage {
public:
    using FieldPage::FieldPage;

    CString m_strOutputCmd;
    CString m_strDirectCmd;

    bool OnInitDialog() override;
    void OnRadioDirect();
    void OnRadioOutput();

protected:
    void MessageMap() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSent() override;
    void OnTextsShown() override;

private:
    void CheckMode(const char* mode);
    void ComposePreview();
    // The lines the shown texts would send in that mode.
    std::string PreviewOf(const valdrix::model::FieldTexts& shown, const char* mode,
                          valdrix::model::LineEnds ends) const;
};

}  // namespace valdrix::gui
