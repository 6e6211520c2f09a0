#pragma once

namespace valdrix::model {

// The instrument's common commands, sent on their own with no pause.
inline constexpr char kResetCommand[] = "*RST";
inline constexpr char kLocalCommand[] = "*SYSTem:LOCal";  // back to the front panel
inline constexpr char kTriggerCommand[] = "*TRG";

}  // namespace valdrix::model
