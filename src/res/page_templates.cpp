#include "pages/model/choices.h"
#include "pages/model/continuous.h"
#include "res/resource_ids.h"
#include "res/template_parts.h"

namespace valdrix::gui {

namespace {

using namespace valdrix::model;

DialogTemplate Continous() {
    return Page(
        IDD_CONTINOUS, "continuous", 284, 205,
        {
            Label(IDC_CONT_FREQ_LABEL, "Freq", 25, 11, 32, 10, kStyleCentered,
                  Buddy{IDC_CONT_FREQ}),
            Shows("freq", Edit(IDC_CONT_FREQ, 23, 21, 44, 12)),
            Label(IDC_STATIC, "Freq Unit", 78, 10, 37, 8, Buddy{IDC_CONT_FREQ_UNIT}),
            Shows("freq-unit", Combo(IDC_CONT_FREQ_UNIT, 78, 21, 35, 54, kContinuousFreqUnits)),
            Label(IDC_STATIC, "Amplitude", 25, 37, 42, 12, Buddy{IDC_CONT_AMPLITUDE}),
            Shows("amplitude", Edit(IDC_CONT_AMPLITUDE, 23, 49, 44, 12)),
            Shows("offset", Edit(IDC_CONT_OFFSET, 23, 78, 44, 12)),
            Label(IDC_STATIC, "DC Offset", 24, 66, 42, 12, Buddy{IDC_CONT_OFFSET}),
            Shows("duty", Edit(IDC_CONT_DUTY, 23, 108, 44, 12)),
            Label(IDC_STATIC, "Duty", 23, 96, 42, 12, Buddy{IDC_CONT_DUTY}),
            Label(IDC_STATIC, "Waveform", 24, 125, 37, 8, Buddy{IDC_CONT_WAVEFORM}),
            Shows("waveform", Combo(IDC_CONT_WAVEFORM, 23, 136, 47, 54, kWaveforms)),
            Label(IDC_STATIC, "Amp Unit", 76, 37, 37, 8, Buddy{IDC_CONT_AMP_UNIT}),
            Shows("amp-unit", Combo(IDC_CONT_AMP_UNIT, 78, 49, 35, 54, kAmplitudeUnits)),
            Label(IDC_STATIC, "Offset Unit", 76, 67, 48, 8, Buddy{IDC_CONT_OFFSET_UNIT}),
            Shows("offset-unit", Combo(IDC_CONT_OFFSET_UNIT, 78, 78, 35, 54, kOffsetUnits)),
            Label(IDC_STATIC, "POLarity", 77, 96, 37, 8, Buddy{IDC_CONT_POLARITY}),
            Shows("polarity", Combo(IDC_CONT_POLARITY, 78, 108, 35, 54, kPolarities)),
            Label(IDC_STATIC, "ATTenuation", 73, 126, 47, 8, Buddy{IDC_CONT_ATTENUATION}),
            Shows("attenuation", Combo(IDC_CONT_ATTENUATION, 74, 135, 39, 54, kAttenuations)),
            Label(IDC_STATIC, "OutPut State", 22, 151, 56, 8, Buddy{IDC_CONT_OUTPUT}),
            Shows("output", Combo(IDC_CONT_OUTPUT, 23, 162, 35, 54, kOnOff)),
            Label(IDC_STATIC, "%", 69, 110, 8, 8, Buddy{IDC_CONT_DUTY}),
            Edit(IDC_CONT_OUTPUT_CMD, 121, 112, 156, 72, kStyleMultiLine,
                 AccessibleName{"Output configuration commands"}),
            Chooses(kModeOption, kDirectMode,
                    Radio(IDC_CONT_RADIO_DIRECT, "Direct configuration command", 123, 14, 128, 10)),
            Chooses(
                kModeOption, kOutputMode,
                Radio(IDC_CONT_RADIO_OUTPUT, "Output configuration command", 123, 100, 128, 10)),
            Edit(IDC_CONT_DIRECT_CMD, 121, 28, 156, 58, kStyleMultiLine,
                 AccessibleName{"Direct configuration commands"}),
        });
}

// AM, PM and PWM share one layout; they differ in page, ids, the amount's label and unit, and size.
struct ModulationIds {
    std::string page, amountField;
    int amount, amountLabel, modFreq, waveform, freqUnit, state;
};

DialogTemplate ModulationPage(unsigned id, int cx, int cy, const ModulationIds& ids,
                              const std::string& amountLabel, ControlTemplate amountUnit) {
    amountUnit.buddy = ids.amount;
    return Page(id, ids.page, cx, cy,
                {
                    Shows(ids.amountField, Edit(ids.amount, 71, 36, 44, 12)),
                    Label(ids.amountLabel, amountLabel, 72, 24, 42, 12, Buddy{ids.amount}),
                    Shows("freq", Edit(ids.modFreq, 71, 66, 44, 12)),
                    Label(IDC_STATIC, "Mode Freq", 71, 54, 50, 12, Buddy{ids.modFreq}),
                    Label(IDC_STATIC, "Waveform", 72, 83, 37, 8, Buddy{ids.waveform}),
                    Shows("waveform", Combo(ids.waveform, 71, 94, 43, 54, kWaveforms)),
                    Label(IDC_STATIC, "Freq Unit", 125, 54, 62, 8, Buddy{ids.freqUnit}),
                    Shows("freq-unit", Combo(ids.freqUnit, 126, 66, 35, 54, kModulationUnits)),
                    Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{ids.state}),
                    Shows("state", Combo(ids.state, 127, 93, 35, 54, kOnOff)),
                    std::move(amountUnit),
                });
}

DialogTemplate Fm() {
    return Page(
        IDD_FM, "fm", 285, 145,
        {
            Shows("deviation", Edit(IDC_FM_DEVIATION, 71, 36, 44, 12)),
            Label(IDC_FM_DEVIATION_LABEL, "DEViation", 72, 24, 42, 12, Buddy{IDC_FM_DEVIATION}),
            Shows("freq", Edit(IDC_FM_MOD_FREQ, 71, 66, 44, 12)),
            Label(IDC_STATIC, "Mode Freq", 71, 54, 50, 12, Buddy{IDC_FM_MOD_FREQ}),
            Label(IDC_STATIC, "Waveform", 72, 83, 37, 8, Buddy{IDC_FM_WAVEFORM}),
            Shows("waveform", Combo(IDC_FM_WAVEFORM, 71, 94, 43, 54, kWaveforms)),
            Shows("dev-unit", Combo(IDC_FM_DEV_UNIT, 126, 36, 35, 54, kFrequencyUnits)),
            Label(IDC_STATIC, "Freq Unit", 125, 54, 62, 8, Buddy{IDC_FM_FREQ_UNIT}),
            Shows("freq-unit", Combo(IDC_FM_FREQ_UNIT, 126, 66, 35, 54, kModulationUnits)),
            Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{IDC_FM_STATE}),
            Shows("state", Combo(IDC_FM_STATE, 127, 93, 35, 54, kOnOff)),
            Label(IDC_FM_DEV_UNIT_LABEL, "DEViation Unit", 125, 24, 59, 12, Buddy{IDC_FM_DEV_UNIT}),
        });
}

DialogTemplate Fsk() {
    return Page(
        IDD_FSK, "fsk", 257, 185,
        {
            Shows("freq", Edit(IDC_FSK_FREQ, 71, 36, 44, 12)),
            Label(IDC_FSK_FREQ_LABEL, "Freq", 72, 24, 42, 12, Buddy{IDC_FSK_FREQ}),
            Shows("rate", Edit(IDC_FSK_RATE, 71, 66, 44, 12)),
            Label(IDC_STATIC, "Rate", 71, 54, 50, 12, Buddy{IDC_FSK_RATE}),
            Label(IDC_STATIC, "Source", 72, 83, 37, 8, Buddy{IDC_FSK_SOURCE}),
            Shows("source", Combo(IDC_FSK_SOURCE, 71, 94, 43, 54, kFskSources)),
            Shows("freq-unit", Combo(IDC_FSK_FREQ_UNIT, 126, 36, 35, 54, kFrequencyUnits)),
            Label(IDC_STATIC, "Rate Unit", 125, 55, 62, 8, Buddy{IDC_FSK_RATE_UNIT}),
            Shows("rate-unit", Combo(IDC_FSK_RATE_UNIT, 126, 66, 35, 54, kModulationUnits)),
            Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{IDC_FSK_STATE}),
            Shows("state", Combo(IDC_FSK_STATE, 127, 93, 35, 54, kOnOff)),
            Label(IDC_FSK_FREQ_UNIT_LABEL, "Freq Unit", 125, 24, 59, 12, Buddy{IDC_FSK_FREQ_UNIT}),
        });
}

DialogTemplate Sweep() {
    return Page(
        IDD_SWEEP, "sweep", 297, 183,
        {
            Shows("start", Edit(IDC_SWEEP_START, 71, 36, 44, 12)),
            Label(IDC_SWEEP_START_LABEL, "Start Freq", 72, 24, 42, 12, Buddy{IDC_SWEEP_START}),
            Shows("start-unit", Combo(IDC_SWEEP_START_UNIT, 126, 36, 35, 54, kFrequencyUnits,
                                      AccessibleName{"Start Freq Unit"})),
            Label(IDC_SWEEP_START_UNIT_LABEL, "Freq Unit", 125, 24, 59, 12,
                  Buddy{IDC_SWEEP_START_UNIT}),
            Shows("stop", Edit(IDC_SWEEP_STOP, 71, 69, 44, 12)),
            Label(IDC_SWEEP_STOP_LABEL, "Stop Freq", 72, 57, 42, 12, Buddy{IDC_SWEEP_STOP}),
            Shows("stop-unit", Combo(IDC_SWEEP_STOP_UNIT, 126, 69, 35, 54, kFrequencyUnits,
                                     AccessibleName{"Stop Freq Unit"})),
            Label(IDC_SWEEP_STOP_UNIT_LABEL, "Freq Unit", 125, 57, 59, 12,
                  Buddy{IDC_SWEEP_STOP_UNIT}),
            Shows("time", Edit(IDC_SWEEP_TIME, 72, 103, 44, 12)),
            Label(IDC_SWEEP_TIME_LABEL, "Time", 73, 91, 42, 12, Buddy{IDC_SWEEP_TIME}),
            Shows("time-unit", Combo(IDC_SWEEP_TIME_UNIT, 127, 103, 35, 54, kTimeUnits)),
            Label(IDC_SWEEP_TIME_UNIT_LABEL, "Time Unit", 126, 91, 59, 12,
                  Buddy{IDC_SWEEP_TIME_UNIT}),
            Label(IDC_STATIC, "Source", 72, 124, 37, 8, Buddy{IDC_SWEEP_SOURCE}),
            Shows("source", Combo(IDC_SWEEP_SOURCE, 72, 135, 43, 54, kTriggerSources)),
            Label(IDC_STATIC, "STATe", 126, 123, 56, 8, Buddy{IDC_SWEEP_STATE}),
            Shows("state", Combo(IDC_SWEEP_STATE, 127, 134, 35, 54, kOnOff)),
            Label(IDC_STATIC, "Sweep Mode", 72, 150, 37, 8, Buddy{IDC_SWEEP_MODE}),
            Shows("mode", Combo(IDC_SWEEP_MODE, 72, 161, 43, 54, kSweepSpacings)),
            Button(IDC_BURST_ONCE, "Burst Once", 228, 155, 50, 14),
        });
}

DialogTemplate Burst() {
    return Page(
        IDD_BURST, "burst", 265, 166,
        {
            Shows("period", Edit(IDC_BURST_PERIOD, 72, 37, 44, 12)),
            Label(IDC_BURST_PERIOD_LABEL, "Period", 73, 25, 42, 12, Buddy{IDC_BURST_PERIOD}),
            Shows("period-unit", Combo(IDC_BURST_PERIOD_UNIT, 127, 37, 35, 54, kTimeUnits)),
            Label(IDC_BURST_PERIOD_UNIT_LABEL, "Period Unit", 126, 25, 59, 12,
                  Buddy{IDC_BURST_PERIOD_UNIT}),
            Shows("cycles", Edit(IDC_BURST_CYCLES, 72, 71, 44, 12)),
            Label(IDC_BURST_CYCLES_LABEL, "NCYCles ", 73, 59, 42, 12, Buddy{IDC_BURST_CYCLES}),
            Shows("phase", Edit(IDC_BURST_PHASE, 126, 71, 44, 12)),
            Label(IDC_BURST_PHASE_LABEL, "PHASe ", 127, 59, 42, 12, Buddy{IDC_BURST_PHASE}),
            Label(IDC_STATIC, "deg", 171, 73, 15, 10, Buddy{IDC_BURST_PHASE}),
            Label(IDC_STATIC, "Source", 72, 93, 37, 8, Buddy{IDC_BURST_SOURCE}),
            Shows("source", Combo(IDC_BURST_SOURCE, 72, 104, 43, 54, kTriggerSources)),
            Label(IDC_STATIC, "STATe", 126, 92, 56, 8, Buddy{IDC_BURST_STATE}),
            Shows("state", Combo(IDC_BURST_STATE, 127, 103, 35, 54, kOnOff)),
            Button(IDC_BURST_ONCE, "Burst Once", 199, 134, 50, 14),
        });
}

}  // namespace

std::vector<DialogTemplate> PageTemplates() {
    return {
        Continous(),
        ModulationPage(IDD_AM, 304, 170,
                       {"am", "depth", IDC_AM_DEPTH, IDC_AM_DEPTH_LABEL, IDC_AM_MOD_FREQ,
                        IDC_AM_WAVEFORM, IDC_AM_FREQ_UNIT, IDC_AM_STATE},
                       "DEPTh ", Label(IDC_STATIC, "%", 117, 39, 8, 8)),
        ModulationPage(IDD_PM, 303, 174,
                       {"pm", "deviation", IDC_PM_DEVIATION, IDC_PM_DEVIATION_LABEL,
                        IDC_PM_MOD_FREQ, IDC_PM_WAVEFORM, IDC_PM_FREQ_UNIT, IDC_PM_STATE},
                       "DEViation ", Label(IDC_STATIC, "deg", 117, 38, 28, 11)),
        ModulationPage(IDD_PWM, 356, 215,
                       {"pwm", "duty", IDC_PWM_DUTY, IDC_PWM_DUTY_LABEL, IDC_PWM_MOD_FREQ,
                        IDC_PWM_WAVEFORM, IDC_PWM_FREQ_UNIT, IDC_PWM_STATE},
                       "DEViation", Label(IDC_STATIC, "%", 117, 39, 8, 8)),
        Fsk(),
        Burst(),
        Sweep(),
        Fm(),
    };
}

}  // namespace valdrix::gui
