"""The modulation pages: FM, whose unit labels stand after their fields in the template, and
AM with its depth."""

import panel
from panel import frames, log_text

FM_LINES = [
    "FM:STATe OFF",
    "FM:INTernal:FREQuency 250.250000kHz",
    "FM:DEViation 2.500000kHz",
    "FM:INTernal:FUNCtion RAMP",
]
AM_LINES = [
    "AM:STATe ON",
    "AM:INTernal:FREQuency 1000.000000Hz",
    "AM:DEPTh 80%",
    "AM:INTernal:FUNCtion SINusoid",
]


class ModulationTest(panel.PanelTest):
    def test_fm_then_am(self):
        self.panel.select_tab("   FM  ")
        for label, text in [("DEViation", "2.5"), ("DEViation Unit", "kHz"),
                            ("Mode Freq", "250.25"), ("Freq Unit", "kHz"), ("Waveform", "RAMP"),
                            ("STATe", "OFF")]:
            self.panel.enter(label, text)
        self.validate(log_text(FM_LINES))
        self.assertEqual(self.panel.written(), frames(*FM_LINES))

        self.panel.select_tab("  AM  ")
        self.panel.enter("DEPTh ", "80")
        self.validate(log_text(AM_LINES))
        self.assertEqual(self.panel.written(), frames(*FM_LINES, *AM_LINES))


if __name__ == "__main__":
    panel.main()
