#include "res/template_parts.h"

namespace {

using Items = std::vector<std::string>;

const Items kWaveforms = {"SINusoid", "SQUare", "RAMP",  "NOISe", "PPULS", "NPULS",
                          "STAIR",    "HSINE",  "LSINE", "REXP",  "RLOG",  "TANG",
                          "SINC",     "ROUND",  "CARD",  "QUAKE"};
const Items kOnOff = {"ON", "OFF"};
const Items kFrequencyUnits = {"MHz", "kHz", "Hz", "mHz"};
const Items kModulationUnits = {"kHz", "Hz", "mHz"};
const Items kTimeUnits = {"s", "ms"};
const Items kTriggerSources = {"IMMediate", "EXTernal"};

DialogTemplate Continous() {
    return Page(129, 284, 205, {
        Label(1001, "Freq", 25, 11, 32, 10, kStyleCentered, Buddy{1002}),
        Edit(1002, 23, 21, 44, 12),
        Label(IDC_STATIC, "Freq Unit", 78, 10, 37, 8, Buddy{1008}),
        Combo(1008, 78, 21, 35, 54, {"MHz", "KHz", "Hz", "mHz"}),
        Label(IDC_STATIC, "Amplitude", 25, 37, 42, 12, Buddy{1003}),
        Edit(1003, 23, 49, 44, 12),
        Edit(1004, 23, 78, 44, 12),
        Label(IDC_STATIC, "DC Offset", 24, 66, 42, 12, Buddy{1004}),
        Edit(1005, 23, 108, 44, 12),
        Label(IDC_STATIC, "Duty", 23, 96, 42, 12, Buddy{1005}),
        Label(IDC_STATIC, "Waveform", 24, 125, 37, 8, Buddy{1009}),
        Combo(1009, 23, 136, 47, 54, kWaveforms),
        Label(IDC_STATIC, "Amp Unit", 76, 37, 37, 8, Buddy{1010}),
        Combo(1010, 78, 49, 35, 54, {"Vpp", "mVpp"}),
        Label(IDC_STATIC, "Offset Unit", 76, 67, 48, 8, Buddy{1011}),
        Combo(1011, 78, 78, 35, 54, {"Vdc", "mVdc"}),
        Label(IDC_STATIC, "POLarity", 77, 96, 37, 8, Buddy{1012}),
        Combo(1012, 78, 108, 35, 54, {"NORMal", "INVerted"}),
        Label(IDC_STATIC, "ATTenuation", 73, 126, 47, 8, Buddy{1013}),
        Combo(1013, 74, 135, 39, 54, {"AUTO", "0dB", "20dB", "40dB", "60dB"}),
        Label(IDC_STATIC, "OutPut State", 22, 151, 56, 8, Buddy{1014}),
        Combo(1014, 23, 162, 35, 54, kOnOff),
        Label(IDC_STATIC, "%", 69, 110, 8, 8),
        Edit(1054, 121, 112, 156, 72, kStyleMultiLine,
             AccessibleName{"Output configuration commands"}),
        Radio(1055, "Direct configuration command", 123, 14, 128, 10),
        Radio(1056, "Output configuration command", 123, 100, 128, 10),
        Edit(1057, 121, 28, 156, 58, kStyleMultiLine,
             AccessibleName{"Direct configuration commands"}),
    });
}

// AM, PM and PWM share one layout; they differ in ids, the amount's label and unit, and size.
struct ModulationIds {
    int amount, amountLabel, modFreq, waveform, freqUnit, state;
};

DialogTemplate ModulationPage(unsigned id, int cx, int cy, const ModulationIds& ids,
                              const std::string& amountLabel, ControlTemplate amountUnit) {
    return Page(id, cx, cy, {
        Edit(ids.amount, 71, 36, 44, 12),
        Label(ids.amountLabel, amountLabel, 72, 24, 42, 12, Buddy{ids.amount}),
        Edit(ids.modFreq, 71, 66, 44, 12),
        Label(IDC_STATIC, "Mode Freq", 71, 54, 50, 12, Buddy{ids.modFreq}),
        Label(IDC_STATIC, "Waveform", 72, 83, 37, 8, Buddy{ids.waveform}),
        Combo(ids.waveform, 71, 94, 43, 54, kWaveforms),
        Label(IDC_STATIC, "Freq Unit", 125, 54, 62, 8, Buddy{ids.freqUnit}),
        Combo(ids.freqUnit, 126, 66, 35, 54, kModulationUnits),
        Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{ids.state}),
        Combo(ids.state, 127, 93, 35, 54, kOnOff),
        std::move(amountUnit),
    });
}

DialogTemplate Fm() {
    return Page(137, 285, 145, {
        Edit(1014, 71, 36, 44, 12),
        Label(1008, "DEViation", 72, 24, 42, 12, Buddy{1014}),
        Edit(1016, 71, 66, 44, 12),
        Label(IDC_STATIC, "Mode Freq", 71, 54, 50, 12, Buddy{1016}),
        Label(IDC_STATIC, "Waveform", 72, 83, 37, 8, Buddy{1018}),
        Combo(1018, 71, 94, 43, 54, kWaveforms),
        Combo(1015, 126, 36, 35, 54, kFrequencyUnits),
        Label(IDC_STATIC, "Freq Unit", 125, 54, 62, 8, Buddy{1017}),
        Combo(1017, 126, 66, 35, 54, kModulationUnits),
        Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{1019}),
        Combo(1019, 127, 93, 35, 54, kOnOff),
        Label(1010, "DEViation Unit", 125, 24, 59, 12, Buddy{1015}),
    });
}

DialogTemplate Fsk() {
    return Page(134, 257, 185, {
        Edit(1036, 71, 36, 44, 12),
        Label(1008, "Freq", 72, 24, 42, 12, Buddy{1036}),
        Edit(1038, 71, 66, 44, 12),
        Label(IDC_STATIC, "Rate", 71, 54, 50, 12, Buddy{1038}),
        Label(IDC_STATIC, "Source", 72, 83, 37, 8, Buddy{1040}),
        Combo(1040, 71, 94, 43, 54, {"INTernal", "EXTernal"}),
        Combo(1037, 126, 36, 35, 54, kFrequencyUnits),
        Label(IDC_STATIC, "Rate Unit", 125, 55, 62, 8, Buddy{1039}),
        Combo(1039, 126, 66, 35, 54, kModulationUnits),
        Label(IDC_STATIC, "STATe", 126, 82, 56, 8, Buddy{1041}),
        Combo(1041, 127, 93, 35, 54, kOnOff),
        Label(1010, "Freq Unit", 125, 24, 59, 12, Buddy{1037}),
    });
}

DialogTemplate Sweep() {
    return Page(136, 297, 183, {
        Edit(1044, 71, 36, 44, 12),
        Label(1008, "Start Freq", 72, 24, 42, 12, Buddy{1044}),
        Combo(1045, 126, 36, 35, 54, kFrequencyUnits),
        Label(1010, "Freq Unit", 125, 24, 59, 12, Buddy{1045}),
        Edit(1038, 71, 69, 44, 12),
        Label(1009, "Stop Freq", 72, 57, 42, 12, Buddy{1038}),
        Combo(1039, 126, 69, 35, 54, kFrequencyUnits),
        Label(1011, "Freq Unit", 125, 57, 59, 12, Buddy{1039}),
        Edit(1040, 72, 103, 44, 12),
        Label(1012, "Time", 73, 91, 42, 12, Buddy{1040}),
        Combo(1041, 127, 103, 35, 54, kTimeUnits),
        Label(1013, "Time Unit", 126, 91, 59, 12, Buddy{1041}),
        Label(IDC_STATIC, "Source", 72, 124, 37, 8, Buddy{1042}),
        Combo(1042, 72, 135, 43, 54, kTriggerSources),
        Label(IDC_STATIC, "STATe", 126, 123, 56, 8, Buddy{1043}),
        Combo(1043, 127, 134, 35, 54, kOnOff),
        Label(IDC_STATIC, "Sweep Mode", 72, 150, 37, 8, Buddy{1046}),
        Combo(1046, 72, 161, 43, 54, {"LINear", "LOGarithmic"}),
        Button(1047, "Burst Once", 228, 155, 50, 14),
    });
}

DialogTemplate Burst() {
    return Page(135, 265, 166, {
        Edit(1049, 72, 37, 44, 12),
        Label(1012, "Period", 73, 25, 42, 12, Buddy{1049}),
        Combo(1048, 127, 37, 35, 54, kTimeUnits),
        Label(1013, "Period Unit", 126, 25, 59, 12, Buddy{1048}),
        Edit(1050, 72, 71, 44, 12),
        Label(1014, "NCYCles ", 73, 59, 42, 12, Buddy{1050}),
        Edit(1051, 126, 71, 44, 12),
        Label(1015, "PHASe ", 127, 59, 42, 12, Buddy{1051}),
        Label(IDC_STATIC, "deg", 171, 73, 15, 10),
        Label(IDC_STATIC, "Source", 72, 93, 37, 8, Buddy{1052}),
        Combo(1052, 72, 104, 43, 54, kTriggerSources),
        Label(IDC_STATIC, "STATe", 126, 92, 56, 8, Buddy{1053}),
        Combo(1053, 127, 103, 35, 54, kOnOff),
        Button(1047, "Burst Once", 199, 134, 50, 14),
    });
}

}  // namespace

std::vector<DialogTemplate> PageTemplates() {
    return {
        Continous(),
        ModulationPage(131, 304, 170, {1020, 1008, 1021, 1023, 1022, 1024}, "DEPTh ",
                       Label(IDC_STATIC, "%", 117, 39, 8, 8)),
        ModulationPage(132, 303, 174, {1030, 1025, 1026, 1028, 1027, 1029}, "DEViation ",
                       Label(IDC_STATIC, "deg", 117, 38, 28, 11)),
        ModulationPage(133, 356, 215, {1031, 1008, 1032, 1034, 1033, 1035}, "DEViation",
                       Label(IDC_STATIC, "%", 117, 39, 8, 8)),
        Fsk(),
        Burst(),
        Sweep(),
        Fm(),
    };
}
