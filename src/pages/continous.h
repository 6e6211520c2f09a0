#pragma once

#include <string>

#include "framework/button.h"
#include "framework/combo_box.h"
#include "pages/command_page.h"

// The instrument's output frequency range, in the unit chosen.
inline constexpr double kMinContinuousFreq = 0.0;
inline constexpr double kMaxContinuousFreq = 2000000.0;

struct ContinuousSettings {
    std::string waveform = "SINusoid";
    std::string freqUnit = "Hz";
    std::string ampUnit = "Vpp";
    std::string offsetUnit = "Vdc";
    std::string attenuation = "AUTO";
    std::string polarity = "NORMal";
    std::string output = "ON";
    double freq = 1000.0;
    double amplitude = 1.0;
    double offset = 0.0;
    int duty = 50;  // percent: duty cycle of SQUare, symmetry of RAMP
};

// One command per setting, paced; the duty or symmetry only for exactly SQUare or RAMP.
CommandSequence ContinuousOutputSequence(const ContinuousSettings& settings);
// The one combined line: waveform, frequency, amplitude and offset, with no pause.
CommandSequence ContinuousDirectSequence(const ContinuousSettings& settings);

// The continuous output, configured either by one combined line or by one command a setting.
class CContinous : public CommandPage {
public:
    CContinous();

    CButton m_radioDirect;
    CButton m_radioOutput;
    CComboBox m_cbOutput;
    CComboBox m_cbWaveform;
    CComboBox m_cbAttenuation;
    CComboBox m_cbPolarity;
    CComboBox m_cbOffsetUnit;
    CComboBox m_cbAmpUnit;
    CComboBox m_cbFreqUnit;
    double m_dFreq = ContinuousSettings{}.freq;
    double m_dOffset = ContinuousSettings{}.offset;
    double m_dAmplitude = ContinuousSettings{}.amplitude;
    int m_nDuty = ContinuousSettings{}.duty;
    CString m_strOutputCmd;
    CString m_strDirectCmd;

    bool OnInitDialog() override;
    void OnRadioDirect();
    void OnRadioOutput();

protected:
    void MessageMap() override;
    void DoDataExchange(CDataExchange* pDX) override;
    CommandSequence ComposeSequence() override;
    LineEnds CommandLineEnds() const override { return LineEnds::BetweenLines; }
    void OnSent() override;

private:
    ContinuousSettings ReadSettings() const;
    void ComposePreview();
};
