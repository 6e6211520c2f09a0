#pragma once

#include "framework/cstring.h"
#include "pages/field_page.h"
#include "pages/model/continuous.h"

namespace valdrix::gui {

// The continuous output, configured either by one combined line or by one command a setting.
// Its two boxes show what each way sends.
class CContinous : public FieldPage<valdrix::model::ContinuousSettings> {
public:
    CContinous();

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
};

}  // namespace valdrix::gui
