#pragma once

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
