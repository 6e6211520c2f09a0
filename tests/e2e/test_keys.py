"""The keyboard: Enter in a field or a combo box's edit field neither closes the panel nor sends
anything; Esc ends the program."""

import panel


class KeysTest(panel.PanelTest):
    def type_and_see(self, label, character):
        """Types one character into the focused field and waits until the field shows it."""
        before = self.panel.read(label)
        self.panel.type_text(character)
        panel.wait_for(f"{character!r} to reach {label!r}",
                       lambda: len(self.panel.read(label)) == len(before) + 1)

    def test_enter_keeps_the_panel_and_esc_ends_it(self):
        self.panel.activate()
        for label in ("Amplitude", "Freq Unit"):
            for key in ("Return", "KP_Enter"):
                with self.subTest(label=label, key=key):
                    self.panel.focus(label)
                    self.type_and_see(label, "7")
                    self.panel.key(key)
                    # Keys are handled in order: the next one arrives only if the panel is
                    # still there to take it.
                    self.type_and_see(label, "8")
        self.assertIsNone(self.panel.process.poll())
        self.assertEqual(self.panel.log(), "")

        self.panel.key("Escape")
        self.assertEqual(self.panel.wait_for_exit(), 0)
        self.assertEqual(self.panel.written(), b"", "Enter sent nothing")


if __name__ == "__main__":
    panel.main()
