"""The main window as the operator meets it: its caption, its tabs, Reset and Local."""

import panel
from panel import frames

TAB_NAMES = ["Continous", "   FM  ", "  AM  ", "  PM  ", "  PWM  ", "  FSK  ", "  Sweep  ",
             "  Burst  "]


class ShellTest(panel.PanelTest):
    def test_caption_and_tabs(self):
        (caption,) = self.arguments
        self.assertEqual(self.panel.caption(), caption)
        self.assertEqual(self.panel.tab_names(), TAB_NAMES)
        self.assertEqual(self.panel.written(), b"", "nothing is written at start-up")

    def test_reset_and_local_write_one_command_each(self):
        self.panel.press("Reset")
        self.panel.wait_for_log("*RST")
        self.assertEqual(self.panel.written(), frames("*RST"))

        self.panel.press("Local")
        self.panel.wait_for_log("*SYSTem:LOCal")
        self.assertEqual(self.panel.written(), frames("*RST", "*SYSTem:LOCal"))


if __name__ == "__main__":
    panel.main()
