# The panel as the operator meets it: its window and status line, each kind of page sent
# through the bus and compared byte for byte on the file link, a second press during a paced
# send, refused fields, and the keys.

import os
import resource

import panel
from panel import frames, log_text

# The tabs as assistive technology names them: without the blanks that space the labels out.
TABS = ["Continous", "FM", "AM", "PM", "PWM", "FSK", "Sweep", "Burst"]
OUTPUT_LINES = ["FUNCtion SQUare", "SOURce:FUNCtion:SQUare:DCYCle 30%",
                "FREQuency 2500.000000KHz", "VOLTage 2.500000mVpp", "VOLTage:OFFSet 0.000000Vdc",
                "VOLTage:ATTenuation 20dB", "OUTPut:POLarity INVerted", "OUTPut OFF"]
DIRECT_LINE = "Source:Apply:SQUare 2500.000000KHz, 2.500000mVpp, 0.000000Vdc"
FM_LINES = ["FM:STATe OFF", "FM:INTernal:FREQuency 250.250000kHz", "FM:DEViation 2.500000kHz",
            "FM:INTernal:FUNCtion RAMP"]
SWEEP_LINES = ["SWEep:STATe ON", "FREQuency:STARt 20.000000kHz", "FREQuency:STOP 40.000000MHz",
               "SWEep:TIME 2.500000ms", "TRIGger:SOURce EXTernal", "SWEep:SPACing LOGarithmic"]
BURST_LINES = ["BURSt:STATe OFF", "BURSt:INTernal:PERiod 100.000000ms", "BURSt:NCYCles 5",
               "BURSt:PHASe -90deg", "TRIGger:SOURce IMMediate"]


class PanelTest(panel.PanelTest):
    def test_window_and_its_status_line(self):
        self.assertEqual([self.panel.window.name, *self.panel.tab_names()], self.arguments + TABS)
        self.assertEqual(self.panel.status(),
                         f"file {self.panel.link_path}: connected. Nothing sent yet.")
        self.assertEqual(self.panel.field("Freq").description, "0 to 2000000")

    # Names unique on a page, unit labels tied to their fields.
    def test_screen_readers_tell_the_fields_apart(self):
        self.panel.select_tab("Sweep")
        self.assertEqual([self.panel.named_field(name).name for name in
                          ("Start Freq Unit", "Stop Freq Unit")], ["Start Freq Unit", "Stop Freq Unit"])
        self.panel.select_tab("Burst")
        self.assertIn("deg", panel.labels_of(self.panel.field("PHASe ")))
        # The result of a send is announced: the status line tells its change on the bus.
        told = []
        listener = panel.Atspi.EventListener.new(lambda event: told.append(event.source.name))
        listener.register("object:property-change:accessible-description")
        self.addCleanup(listener.deregister, "object:property-change:accessible-description")
        self.panel.press("Reset")
        panel.wait_for("the result announced", lambda: "Link status" in told)

    def test_continuous_both_ways(self):
        # A leading "+" is a number, and so is one too small for a double.
        self.panel.enter([("Freq", "2500"), ("Freq Unit", "KHz"), ("Amplitude", "+2.5"),
                          ("Amp Unit", "mVpp"), ("DC Offset", "1e-400"), ("Duty", "30"),
                          ("Waveform", "SQUare"), ("ATTenuation", "20dB"),
                          ("POLarity", "INVerted"), ("OutPut State", "OFF")])
        self.panel.choose("Output configuration command")
        self.validate(log_text(OUTPUT_LINES, last_line_ended=False))
        self.panel.choose("Direct configuration command")
        self.validate(DIRECT_LINE)
        self.assertEqual(self.panel.written(), frames(*OUTPUT_LINES, DIRECT_LINE))

    def test_modulation(self):
        self.panel.select_tab("FM")
        self.panel.enter([("DEViation", "2.5"), ("DEViation Unit", "kHz"),
                          ("Mode Freq", "250.25"), ("Freq Unit", "kHz"), ("Waveform", "RAMP"),
                          ("STATe", "OFF")])
        self.validate(log_text(FM_LINES))
        self.assertEqual(self.panel.written(), frames(*FM_LINES))

    # The status line, read once, if it holds the text: the send goes on between two readings.
    def status_with(self, text):
        status = self.panel.status()
        return status if text in status else None

    # Presses Validate, then the button once the send has begun: its line waits for the send,
    # and the status line counts it while the send goes on.
    def press_during_send(self, first_line, button, whole):
        self.panel.press("Validate")
        panel.wait_for("the send", lambda: self.panel.written().endswith(frames(first_line)))
        self.panel.press(button)
        progress = panel.wait_for("the progress",
                                  lambda: self.status_with("; 1 more press waiting"))
        self.assertRegex(progress, r"^Sending line [1-6] of [56]: [A-Z]")
        panel.wait_for("the second press", lambda: len(self.panel.written()) >= len(whole))
        self.assertEqual(self.panel.written(), whole)

    def test_sweep_and_burst_with_a_press_during_each_send(self):
        self.panel.select_tab("Sweep")
        self.panel.enter([("Start Freq", "20"), ("Freq Unit", "kHz", 0), ("Stop Freq", "40"),
                          ("Freq Unit", "MHz", 1), ("Time", "2.5"), ("Time Unit", "ms"),
                          ("Source", "EXTernal"), ("Sweep Mode", "LOGarithmic")])
        self.press_during_send(SWEEP_LINES[0], "Burst Once", frames(*SWEEP_LINES, "*TRG"))
        self.assertEqual(self.panel.log(), log_text(SWEEP_LINES), "a trigger leaves the log")
        panel.wait_for("the trigger in the status line",
                       lambda: self.panel.status().endswith("*TRG reached the instrument."))
        self.panel.select_tab("Burst")
        self.panel.enter([("Period", "100"), ("Period Unit", "ms"), ("NCYCles ", "+5"),
                          ("PHASe ", "-90"), ("STATe", "OFF")])
        self.press_during_send(BURST_LINES[0], "Reset",
                               frames(*SWEEP_LINES, "*TRG", *BURST_LINES, "*RST"))
        panel.wait_for("the status line",
                       lambda: self.panel.status().endswith("*RST reached the instrument."))

    def test_a_refused_field_sends_nothing(self):
        self.panel.select_tab("Burst")
        self.panel.enter([("NCYCles ", "10")])
        self.panel.press("Validate")
        self.assertEqual(self.panel.message_box(),
                         (self.arguments[0], ["Please enter an integer between 1 and 9."]))
        self.assertEqual((self.panel.log(), self.panel.written()), ("", b""))

    # A link past its size limit fails the write (EFBIG): the panel says so and stays.
    def test_a_link_past_its_size_limit_fails_the_send_and_the_panel_stays(self):
        resource.prlimit(self.panel.process.pid, resource.RLIMIT_FSIZE, (0, 0))
        self.panel.press("Reset")
        self.assertIn("did not reach the instrument", " ".join(self.panel.message_box()[1]))
        self.assertIsNone(self.panel.process.poll())

    # A FIFO link whose reader goes away fails the write (EPIPE): the panel says so and stays.
    def test_a_fifo_link_whose_reader_goes_away_fails_the_send_and_the_panel_stays(self):
        fifo = os.path.join(self.folder, "fifo")
        os.mkfifo(fifo)
        reader = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK)
        self.panel.process.kill()
        self.panel.process.wait()
        self.panel = panel.Panel(self.program, fifo, self.folder)
        os.close(reader)
        self.panel.press("Reset")
        self.assertIn("Broken pipe", " ".join(self.panel.message_box()[1]))
        self.assertIsNone(self.panel.process.poll())

    def test_enter_keeps_the_panel_and_esc_ends_it(self):
        self.panel.activate()
        for label in ("Amplitude", "Freq Unit"):
            for key in ("Return", "KP_Enter"):
                self.panel.focus(label)
                length = len(panel.text_of(self.panel.field(label)))
                self.panel.key(key)
                # Keys are handled in order: the text arrives only if the panel is still there.
                self.panel.key(text="7")
                panel.wait_for(f"{key} in {label!r}",
                               lambda: len(panel.text_of(self.panel.field(label))) == length + 1)
        # Esc throws a typed console line away; in the empty console it closes the window.
        self.panel.focus("Command:")
        self.panel.key(text="*CLS")
        panel.wait_for("the typed line", lambda: panel.text_of(self.panel.field("Command:")) == "*CLS")
        self.panel.key("Escape")
        panel.wait_for("the console to be empty", lambda: panel.text_of(self.panel.field("Command:")) == "")
        self.assertIsNone(self.panel.process.poll())
        self.panel.key("Escape")
        self.assertEqual(self.panel.process.wait(timeout=panel.EFFECT_WAIT_S), 0)
        self.assertEqual(self.panel.written(), b"", "Enter sent nothing")

    # After Ctrl+Tab the hands stay on the keys: the new page's first field has the focus.
    def test_ctrl_tab_puts_the_focus_on_the_new_page(self):
        self.panel.activate()
        self.panel.focus("Amplitude")
        self.panel.key_with_control("Tab")
        panel.wait_for("the focus on FM's first field", lambda: any(
            n.name == "DEViation" and panel.has(n, panel.at.STATE_FOCUSED)
            for n in self.panel._showing((panel.at.ROLE_TEXT,))))

    # The Instrument submenu of the window's context menu changes the link; the status follows.
    def test_the_instrument_is_chosen_in_the_window(self):
        self.panel.activate()
        self.panel.choose_in_context_menu("i", "s")  # Instrument, Simulated instrument
        panel.wait_for("the simulated instrument", lambda: self.panel.status() ==
                       "simulated instrument: connected. Nothing sent yet.")
        self.panel.press("Reset")
        panel.wait_for("the reset", lambda: self.panel.status().endswith("*RST reached the instrument."))
        self.assertEqual(self.panel.written(), b"", "the file link is closed")

    def test_fields_and_tab_come_back_at_the_next_start(self):
        self.panel.select_tab("AM")
        self.panel.enter([("Waveform", "my wave 4321.0")])
        self.panel.activate()
        self.panel.key("Escape")
        self.assertEqual(self.panel.process.wait(timeout=panel.EFFECT_WAIT_S), 0)
        self.panel = panel.Panel(self.program, self.panel.link_path, self.folder)
        self.assertEqual(panel.text_of(self.panel.field("Waveform")), "my wave 4321.0")


if __name__ == "__main__":
    panel.main()
