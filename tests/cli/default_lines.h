#pragma once

#include <string>
#include <vector>

// What each COMMAND sends with every field at the page's default, line by line without the
// terminator, as the instrument's pages list them.
struct DefaultLines {
    std::vector<std::string> arguments;
    std::vector<std::string> lines;
};

inline const std::vector<DefaultLines> kDefaultLines = {
    {{"continuous"}, {"Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc"}},
    {{"continuous", "--mode", "output"},
     {"FUNCtion SINusoid", "FREQuency 1000.000000Hz", "VOLTage 1.000000Vpp",
      "VOLTage:OFFSet 0.000000Vdc", "VOLTage:ATTenuation AUTO", "OUTPut:POLarity NORMal",
      "OUTPut ON"}},
    {{"fm"},
     {"FM:STATe ON", "FM:INTernal:FREQuency 1000.000000Hz", "FM:DEViation 1000.000000Hz",
      "FM:INTernal:FUNCtion SINusoid"}},
    {{"am"},
     {"AM:STATe ON", "AM:INTernal:FREQuency 1000.000000Hz", "AM:DEPTh 100%",
      "AM:INTernal:FUNCtion SINusoid"}},
    {{"pm"},
     {"PM:STATe ON", "PM:INTernal:FREQuency 1000.000000Hz", "PM:DEViation 180deg",
      "PM:INTernal:FUNCtion SINusoid"}},
    {{"pwm"},
     {"PWM:STATe ON", "PWM:INTernal:FREQuency 1000.000000Hz", "PWM:DCYCle 50%",
      "PWM:INTernal:FUNCtion SINusoid"}},
    {{"fsk"},
     {"FSKey:STATe ON", "FSKey:INTernal:RATE 1000.000000Hz", "FSKey:FREQuency 4000.000000Hz",
      "FSKey:SOURce INTernal"}},
    {{"sweep"},
     {"SWEep:STATe ON", "FREQuency:STARt 100.000000Hz", "FREQuency:STOP 1000.000000Hz",
      "SWEep:TIME 3.000000s", "TRIGger:SOURce IMMediate", "SWEep:SPACing LINear"}},
    {{"burst"},
     {"BURSt:STATe ON", "BURSt:INTernal:PERiod 0.100000s", "BURSt:NCYCles 3", "BURSt:PHASe 0deg",
      "TRIGger:SOURce IMMediate"}},
    {{"reset"}, {"*RST"}},
    {{"local"}, {"*SYSTem:LOCal"}},
    {{"trigger"}, {"*TRG"}},
    {{"raw", "*CLS", "OUTPut OFF"}, {"*CLS", "OUTPut OFF"}},
};
