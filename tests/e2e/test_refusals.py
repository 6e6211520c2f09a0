"""Fields that the instrument cannot take: the operator is told why, and nothing is sent."""

import panel
from panel import frames, log_text

BURST_LINES = [
    "BURSt:STATe ON",
    "BURSt:INTernal:PERiod 0.100000s",
    "BURSt:NCYCles 9",
    "BURSt:PHASe 0deg",
    "TRIGger:SOURce IMMediate",
]


class RefusalTest(panel.PanelTest):
    def refuse(self, tab, label, text, message):
        """Sends a page with one field refused: the box says why and nothing is written. A
        Reset afterwards marks the point where the refused press has run to its end."""
        written_before = self.panel.written()
        log_before = self.panel.log()
        self.panel.select_tab(tab)
        self.panel.enter(label, text)
        self.panel.press("Validate")
        box, texts = self.panel.message_box()
        self.assertEqual(box.name, "Valdrix")
        self.assertEqual(texts, [message])
        self.panel.dismiss(box)
        self.assertEqual(self.panel.log(), log_before)
        self.panel.press("Reset")
        panel.wait_for("the Reset to be written",
                       lambda: len(self.panel.written()) > len(written_before)
                       and self.panel.written().endswith(frames("*RST")))
        self.assertEqual(self.panel.written(), written_before + frames("*RST"))

    def test_out_of_range_fields_send_nothing(self):
        self.refuse("Continous", "Freq", "2000000.5",
                    "Please enter a number between 0 and 2000000.")
        self.refuse("  Burst  ", "NCYCles ", "10", "Please enter an integer between 1 and 9.")

        self.panel.enter("NCYCles ", "9")
        self.validate(log_text(BURST_LINES))
        self.assertEqual(self.panel.written(), frames("*RST", "*RST", *BURST_LINES))


if __name__ == "__main__":
    panel.main()
