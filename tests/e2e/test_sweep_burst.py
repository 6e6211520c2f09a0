"""The sweep and burst pages: a sweep, a single trigger, a burst."""

import panel
from panel import frames, log_text

SWEEP_LINES = [
    "SWEep:STATe ON",
    "FREQuency:STARt 20.000000kHz",
    "FREQuency:STOP 40.000000MHz",
    "SWEep:TIME 2.500000ms",
    "TRIGger:SOURce EXTernal",
    "SWEep:SPACing LOGarithmic",
]
BURST_LINES = [
    "BURSt:STATe OFF",
    "BURSt:INTernal:PERiod 100.000000ms",
    "BURSt:NCYCles 5",
    "BURSt:PHASe -90deg",
    "TRIGger:SOURce IMMediate",
]


class SweepAndBurstTest(panel.PanelTest):
    def test_sweep_trigger_and_burst(self):
        self.panel.select_tab("  Sweep  ")
        for label, text, which in [("Start Freq", "20", 0), ("Freq Unit", "kHz", 0),
                                   ("Stop Freq", "40", 0), ("Freq Unit", "MHz", 1),
                                   ("Time", "2.5", 0), ("Time Unit", "ms", 0),
                                   ("Source", "EXTernal", 0), ("Sweep Mode", "LOGarithmic", 0)]:
            self.panel.enter(label, text, which)
        self.validate(log_text(SWEEP_LINES))
        self.assertEqual(self.panel.written(), frames(*SWEEP_LINES))

        self.panel.press("Burst Once")
        panel.wait_for("the trigger",
                       lambda: self.panel.written() == frames(*SWEEP_LINES, "*TRG"))
        self.assertEqual(self.panel.log(), log_text(SWEEP_LINES), "a trigger leaves the log")

        self.panel.select_tab("  Burst  ")
        for label, text in [("Period", "100"), ("Period Unit", "ms"), ("NCYCles ", "5"),
                            ("PHASe ", "-90"), ("STATe", "OFF")]:
            self.panel.enter(label, text)
        self.validate(log_text(BURST_LINES))
        self.assertEqual(self.panel.written(), frames(*SWEEP_LINES, "*TRG", *BURST_LINES))


if __name__ == "__main__":
    panel.main()
