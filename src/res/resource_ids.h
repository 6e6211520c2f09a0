#pragma once

// Templates, strings and icons.
inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDD_VALDRIX_DIALOG = 102;
inline constexpr unsigned IDR_MAINFRAME = 128;
inline constexpr unsigned IDD_CONTINOUS = 129;
inline constexpr unsigned IDD_AM = 131;
inline constexpr unsigned IDD_PM = 132;
inline constexpr unsigned IDD_PWM = 133;
inline constexpr unsigned IDD_FSK = 134;
inline constexpr unsigned IDD_BURST = 135;
inline constexpr unsigned IDD_SWEEP = 136;
inline constexpr unsigned IDD_FM = 137;

// Controls of the main dialog.
inline constexpr int IDC_TAB = 1000;
inline constexpr int IDC_VALIDATE = 1003;
inline constexpr int IDC_RESET = 1004;
inline constexpr int IDC_LOCAL = 1005;
inline constexpr int IDC_LOG = 1006;
inline constexpr int IDC_LINK_STATUS = 1007;
inline constexpr int IDC_CONSOLE = 1008;

// Controls of the pages. Each page numbers its own controls, so one number may name a field on
// one page and a label on another.
inline constexpr int IDC_CONT_FREQ_LABEL = 1001;
inline constexpr int IDC_CONT_FREQ = 1002;
inline constexpr int IDC_CONT_AMPLITUDE = 1003;
inline constexpr int IDC_CONT_OFFSET = 1004;
inline constexpr int IDC_CONT_DUTY = 1005;
inline constexpr int IDC_CONT_FREQ_UNIT = 1008;
inline constexpr int IDC_CONT_WAVEFORM = 1009;
inline constexpr int IDC_CONT_AMP_UNIT = 1010;
inline constexpr int IDC_CONT_OFFSET_UNIT = 1011;
inline constexpr int IDC_CONT_POLARITY = 1012;
inline constexpr int IDC_CONT_ATTENUATION = 1013;
inline constexpr int IDC_CONT_OUTPUT = 1014;
inline constexpr int IDC_CONT_OUTPUT_CMD = 1054;
inline constexpr int IDC_CONT_RADIO_DIRECT = 1055;
inline constexpr int IDC_CONT_RADIO_OUTPUT = 1056;
inline constexpr int IDC_CONT_DIRECT_CMD = 1057;

inline constexpr int IDC_FM_DEVIATION = 1014;
inline constexpr int IDC_FM_DEVIATION_LABEL = 1008;
inline constexpr int IDC_FM_DEV_UNIT = 1015;
inline constexpr int IDC_FM_DEV_UNIT_LABEL = 1010;
inline constexpr int IDC_FM_MOD_FREQ = 1016;
inline constexpr int IDC_FM_FREQ_UNIT = 1017;
inline constexpr int IDC_FM_WAVEFORM = 1018;
inline constexpr int IDC_FM_STATE = 1019;

inline constexpr int IDC_AM_DEPTH_LABEL = 1008;
inline constexpr int IDC_AM_DEPTH = 1020;
inline constexpr int IDC_AM_MOD_FREQ = 1021;
inline constexpr int IDC_AM_FREQ_UNIT = 1022;
inline constexpr int IDC_AM_WAVEFORM = 1023;
inline constexpr int IDC_AM_STATE = 1024;

inline constexpr int IDC_PM_DEVIATION_LABEL = 1025;
inline constexpr int IDC_PM_MOD_FREQ = 1026;
inline constexpr int IDC_PM_FREQ_UNIT = 1027;
inline constexpr int IDC_PM_WAVEFORM = 1028;
inline constexpr int IDC_PM_STATE = 1029;
inline constexpr int IDC_PM_DEVIATION = 1030;

inline constexpr int IDC_PWM_DUTY_LABEL = 1008;
inline constexpr int IDC_PWM_DUTY = 1031;
inline constexpr int IDC_PWM_MOD_FREQ = 1032;
inline constexpr int IDC_PWM_FREQ_UNIT = 1033;
inline constexpr int IDC_PWM_WAVEFORM = 1034;
inline constexpr int IDC_PWM_STATE = 1035;

inline constexpr int IDC_FSK_FREQ_LABEL = 1008;
inline constexpr int IDC_FSK_FREQ_UNIT_LABEL = 1010;
inline constexpr int IDC_FSK_FREQ = 1036;
inline constexpr int IDC_FSK_FREQ_UNIT = 1037;
inline constexpr int IDC_FSK_RATE = 1038;
inline constexpr int IDC_FSK_RATE_UNIT = 1039;
inline constexpr int IDC_FSK_SOURCE = 1040;
inline constexpr int IDC_FSK_STATE = 1041;

inline constexpr int IDC_SWEEP_START_LABEL = 1008;
inline constexpr int IDC_SWEEP_STOP_LABEL = 1009;
inline constexpr int IDC_SWEEP_START_UNIT_LABEL = 1010;
inline constexpr int IDC_SWEEP_STOP_UNIT_LABEL = 1011;
inline constexpr int IDC_SWEEP_TIME_LABEL = 1012;
inline constexpr int IDC_SWEEP_TIME_UNIT_LABEL = 1013;
inline constexpr int IDC_SWEEP_STOP = 1038;
inline constexpr int IDC_SWEEP_STOP_UNIT = 1039;
inline constexpr int IDC_SWEEP_TIME = 1040;
inline constexpr int IDC_SWEEP_TIME_UNIT = 1041;
inline constexpr int IDC_SWEEP_SOURCE = 1042;
inline constexpr int IDC_SWEEP_STATE = 1043;
inline constexpr int IDC_SWEEP_START = 1044;
inline constexpr int IDC_SWEEP_START_UNIT = 1045;
inline constexpr int IDC_SWEEP_MODE = 1046;

inline constexpr int IDC_BURST_ONCE = 1047;  // on the Sweep page too

inline constexpr int IDC_BURST_PERIOD_LABEL = 1012;
inline constexpr int IDC_BURST_PERIOD_UNIT_LABEL = 1013;
inline constexpr int IDC_BURST_CYCLES_LABEL = 1014;
inline constexpr int IDC_BURST_PHASE_LABEL = 1015;
inline constexpr int IDC_BURST_PERIOD_UNIT = 1048;
inline constexpr int IDC_BURST_PERIOD = 1049;
inline constexpr int IDC_BURST_CYCLES = 1050;
inline constexpr int IDC_BURST_PHASE = 1051;
inline constexpr int IDC_BURST_SOURCE = 1052;
inline constexpr int IDC_BURST_STATE = 1053;
