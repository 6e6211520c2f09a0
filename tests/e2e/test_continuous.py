"""The Continuous page: every field and combo box set by its label, sent both ways."""

import panel
from panel import frames, log_text

OUTPUT_LINES = [
    "FUNCtion SQUare",
    "SOURce:FUNCtion:SQUare:DCYCle 30%",
    "FREQuency 2500.000000KHz",
    "VOLTage 2.500000mVpp",
    "VOLTage:OFFSet -0.500000Vdc",
    "VOLTage:ATTenuation 20dB",
    "OUTPut:POLarity INVerted",
    "OUTPut OFF",
]
DIRECT_LINE = "Source:Apply:SQUare 2500.000000KHz, 2.500000mVpp, -0.500000Vdc"
# What the direct box shows from start-up until the first direct send: the defaults' line.
PREVIEW_TEXT = "Source:Apply:SINusoid 1000.000000Hz, 1.000000Vpp, 0.000000Vdc\n"


class ContinuousTest(panel.PanelTest):
    def test_output_then_direct_configuration(self):
        for label, text in [("Freq", "2500"), ("Freq Unit", "KHz"), ("Amplitude", "2.5"),
                            ("Amp Unit", "mVpp"), ("DC Offset", "-0.5"), ("Duty", "30"),
                            ("Waveform", "SQUare"), ("ATTenuation", "20dB"),
                            ("POLarity", "INVerted"), ("OutPut State", "OFF")]:
            self.panel.enter(label, text)
        output_text = log_text(OUTPUT_LINES, last_line_ended=False)

        self.panel.choose("Output configuration command")
        self.validate(output_text)
        self.assertEqual(self.panel.written(), frames(*OUTPUT_LINES))
        self.assertEqual(self.panel.read_box("Output configuration commands"), output_text)
        self.assertEqual(self.panel.read_box("Direct configuration commands"), PREVIEW_TEXT,
                         "the other mode's box keeps its text")

        self.panel.choose("Direct configuration command")
        self.validate(DIRECT_LINE)
        self.assertEqual(self.panel.written(), frames(*OUTPUT_LINES, DIRECT_LINE))
        self.assertEqual(self.panel.read_box("Direct configuration commands"), DIRECT_LINE)
        self.assertEqual(self.panel.read_box("Output configuration commands"), output_text)


if __name__ == "__main__":
    panel.main()
