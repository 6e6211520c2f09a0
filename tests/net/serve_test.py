# valdrix-cli serve end to end on the loopback only, driven as lab tools drive it: PyVISA with
# pyvisa-py, PyMeasure, lxi-tools, raw sockets. The link is a file, or a FIFO whose reader goes
# away, comes back or stops reading. Ports are the system's free ones; every wait is bounded, and
# every bridge a test starts is ended when the test ends, also when an assertion fails. Some
# cases measure real time: how long the pacing holds a line, how soon an answer comes.
import os, re, shutil, signal, socket, subprocess, sys, time, unittest

import pyvisa
from bridge_case import BridgeCase
from pymeasure.instruments import Instrument

CLI = sys.argv.pop(1)
NO_ERROR = '0,"No error"'
IDENTITY = r"^Valdrix,valdrix-cli serve,file,[0-9.]+$"


class Client:
    def __init__(self, port, host="127.0.0.1", source=None):
        self.socket = socket.create_connection((host, port), timeout=10,
                                               source_address=(source, 0) if source else None)
        self.reader = self.socket.makefile("r")
        self.send = lambda text: self.socket.sendall(text.encode())

    def ask(self, text):
        self.send(text + "\n")
        return self.reader.readline().rstrip("\n")

    def close(self):
        self.reader.close()
        self.socket.close()


def visa(port):
    return pyvisa.ResourceManager("@py").open_resource(
        f"TCPIP::127.0.0.1::{port}::SOCKET", read_termination="\n", write_termination="\n")


class ServeTest(BridgeCase):

    def run_bridge(self, *command):  # the ports it listens on
        self.log = os.path.join(self.folder, "log")
        with open(self.log, "w") as log:
            self.bridge = subprocess.Popen(command, stderr=log, text=True)
        self.addCleanup(self.end_bridge, self.bridge)
        for _ in range(200):
            ports = re.findall(r"listening on .*:(\d+)$", self.read_log(), re.M)
            if len(ports) == command.count("--listen") * command.count("--link") or \
                    self.bridge.poll() is not None:
                return [int(port) for port in ports]
            time.sleep(0.025)
        self.fail("the bridge did not listen: " + self.read_log())

    def start(self, *options):
        self.ports = self.run_bridge(CLI, "--link", "file:" + self.link, "serve", "--listen",
                                     "127.0.0.1:0", "--listen", "[::1]:0", *options)
        return self.ports[0]

    def end_bridge(self, bridge):
        if bridge.poll() is None:
            bridge.kill()
            bridge.wait(timeout=10)

    def read_log(self):
        with open(self.log) as log:
            return log.read()

    def stop(self):  # the bridge's log
        self.bridge.send_signal(signal.SIGTERM)
        self.bridge.wait(timeout=10)
        self.assertEqual(self.bridge.returncode, 0, self.read_log())
        return self.read_log()

    def frames(self):
        with open(self.link) as link:
            return link.read()

    def test_pyvisa_writes_the_lines_paced_and_gets_the_answers(self):
        gen = visa(self.start("--gap", "50"))
        start = time.monotonic()
        for line in ["AM:STATe ON", "FREQuency 1000Hz", "*RST", "X:Y 1"]:
            gen.write(line)
        self.assertEqual(gen.query("*OPC?"), "1")
        # 300 ms after AM:STATe as on the AM page, 100 ms after FREQuency, none after *RST as
        # Reset sends it, --gap after the rest.
        self.assertGreaterEqual(time.monotonic() - start, 0.45)
        self.assertRegex(gen.query("*IDN?"), IDENTITY)
        self.assertEqual(gen.query("SYST:ERR?"), NO_ERROR)
        gen.close()
        self.assertEqual(self.frames(), "AM:STATe ON\nFREQuency 1000Hz\n*RST\nX:Y 1\n")
        self.assertIn("client 1 connected from 127.0.0.1:", self.stop())

    # PyMeasure 0.9 keeps its SCPI properties on the instance, so they are read through fget.
    def test_pymeasure_reads_the_status_empties_the_errors_and_writes_a_page(self):
        gen = Instrument(f"TCPIP::127.0.0.1::{self.start()}::SOCKET", "generator", includeSCPI=True,
                         visa_library="@py", read_termination="\n", write_termination="\n")
        self.assertRegex(gen.id, IDENTITY)
        gen.write("FREQ?")
        self.assertEqual([gen.status.fget(gen), gen.complete.fget(gen)], [4, 1])  # error queue
        gen.clear()
        self.assertEqual([gen.ask("*OPT?").strip(), gen.status.fget(gen)], ["0", 0])
        page = subprocess.run([CLI, "--dry-run", "am"], capture_output=True, text=True, check=True).stdout
        for line in page.splitlines() + ["BAD\tLINE"]:
            gen.write(line)
        errors = []
        while (error := gen.values("SYST:ERR?"))[0] != 0:
            errors.append(error[0])
        self.assertEqual(errors, [-101])
        self.assertEqual(self.frames(), "*CLS\n" + page)
        self.stop()

    def test_a_line_end_owed_by_an_earlier_run_goes_first(self):
        with open(self.link, "w") as link:
            link.write("-" * 1010)
        cut = subprocess.run(["bash", "-c", 'ulimit -f 1; "$0" --link "file:$1" raw "FREQuency 1000.000000Hz"',
                              CLI, self.link], capture_output=True, text=True, timeout=10)
        self.assertEqual(cut.returncode, 1, cut.stderr)
        client = Client(self.start())
        client.send("*RST\n")
        self.assertEqual(client.ask("*OPC?"), "1")
        self.assertEqual(self.frames()[1010:], "FREQuency 1000\n*RST\n")
        self.stop()

    def test_lxi_asks_and_writes(self):
        lxi = ["lxi", "scpi", "-r", "-a", "127.0.0.1", "-p", str(self.start())]
        answer = subprocess.run(lxi + ["*IDN?"], capture_output=True, text=True, timeout=10)
        self.assertRegex(answer.stdout.strip(), IDENTITY)
        subprocess.run(lxi + ["FREQuency 1000Hz"], check=True, timeout=10)
        for _ in range(100):  # lxi does not wait for the line to be written
            if self.frames() == "FREQuency 1000Hz\n":
                break
            time.sleep(0.05)
        self.assertEqual(self.frames(), "FREQuency 1000Hz\n")
        self.stop()

    def test_two_clients_at_once_keep_their_lines_whole_and_their_errors_apart(self):
        a, b = Client(self.start()), Client(self.ports[1], "::1")
        lines_a, lines_b = [f"A:X {i}" for i in range(50)], [f"B:X {i}" for i in range(50)]
        for line_a, line_b in zip(lines_a, lines_b):  # a's lines cut in two around b's
            a.send(line_a[:3])
            b.send(line_b + "\r\n")
            a.send(line_a[3:] + "\n")
        a.send("BAD\tLINE\nFREQ?\n")
        self.assertEqual([a.ask("*OPC?"), b.ask("*OPC?")], ["1", "1"])
        written = self.frames().splitlines()
        self.assertEqual(sorted(written), sorted(lines_a + lines_b))
        self.assertEqual([line for line in written if line.startswith("A")], lines_a)
        self.assertEqual([a.ask("SYST:ERR?")[:5] for _ in "123"], ["-101,", "-113,", NO_ERROR[:5]])
        self.assertEqual(b.ask("SYSTem:ERRor?"), NO_ERROR)
        self.stop()

    # One line of each waiting client in turn: a client with many lines queued holds another's
    # single line up by one of its own at most.
    def test_clients_take_turns_line_by_line(self):
        a, b = Client(self.start("--gap", "20")), Client(self.ports[0])
        a.send("".join(f"A:X {i}\n" for i in range(64)))
        time.sleep(0.1)
        self.assertEqual(b.ask("B:X 1\n*OPC?"), "1")
        self.assertLessEqual(self.frames().splitlines().index("B:X 1"), 7)
        self.assertEqual(a.ask("*OPC?"), "1")
        self.stop()

    # A query is never written: the bridge answers its own in their place, after the commands
    # before them are written and paced, one answer line for the whole line.
    def test_compound_lines_are_answered_in_place_and_paced_for_each_command(self):
        client = Client(self.start())
        start = time.monotonic()
        cases = [("FREQ 1000;AM:STAT ON;*OPC?", "1"), ("SOUR:FREQ 1;FREQ?;*OPC?", "1"),
                 ("AMPL 2;FREQ 1000;*IDN?", None), ("*IDN?;*OPC?", None),
                 ("FREQ?;FREQ 1;*ESR?", "32")]
        answers = [client.ask(line) for line, _ in cases]
        # 100 + 300 ms, 100 ms for FREQ under its optional SOURce node, 100 ms after FREQ
        self.assertGreaterEqual(time.monotonic() - start, 0.6)
        for (line, answer), got in zip(cases, answers):
            if answer:
                self.assertEqual(got, answer, line)
        self.assertRegex(answers[2], IDENTITY)
        self.assertEqual(answers[3].split(";")[1], "1")
        self.assertRegex(answers[3].split(";")[0], IDENTITY)
        self.assertEqual(self.frames(), "FREQ 1000;AM:STAT ON\nSOUR:FREQ 1\nAMPL 2;FREQ 1000\nFREQ 1\n")
        self.stop()

    def test_common_commands_keep_each_clients_status(self):
        client, other = Client(self.start()), Client(self.ports[0])
        cases = [("BAD\tLINE", ""), ("*ESR?", "32"), ("*ESR?", "0"), ("SYST:ERR?", "-101,"),
                 ("*ESE 256;SYST:ERR?", '-222,"Data out of range; *ESE takes 0 to 255, not 256"'),
                 ("*ESE 36;*ESE?;*SRE 32;*SRE?", "36;32"), ("FREQ?", ""), ("*STB?", "100"),
                 ("*CLS;*STB?;*ESR?;SYST:ERR?", f"0;0;{NO_ERROR}"), ("*OPC;*ESR?", "1"),
                 ("*WAI;*OPT?;*TST?", "0;0"), ("*ESE", "")]
        for line, answer in cases:
            if answer:
                self.assertTrue(client.ask(line).startswith(answer), line)
            else:
                client.send(line + "\n")
        self.assertEqual(client.ask("SYST:ERR?")[:5], "-109,")
        self.assertEqual(other.ask("*ESR?;*STB?;SYST:ERR?"), f"0;0;{NO_ERROR}")
        self.assertEqual(self.frames(), "*CLS\n")
        self.stop()

    def test_the_error_queue_keeps_32_entries_then_says_it_overflowed(self):
        client = Client(self.start())
        client.send("BAD\tLINE\n" * 40)
        errors = [client.ask("SYST:ERR?")[:5] for _ in range(33)]
        self.assertEqual(errors, ["-101,"] * 31 + ["-350,", NO_ERROR[:5]])
        self.stop()

    # A client that goes away, in any state, never ends the bridge.
    def test_clients_that_leave_with_answers_unread_never_end_the_bridge(self):
        port = self.start()
        for round in range(1000):
            client = socket.create_connection(("127.0.0.1", port), timeout=10)
            client.sendall(b"*IDN?\n*IDN?\n" if round % 2 else b"*OPC?\nSYST:ERR?\nFREQ?\n")
            client.close()
        for _ in range(20):
            gen = visa(port)
            gen.write("*IDN?")
            gen.close()
        client = Client(port)
        client.send("X:Y 1\nX:Y 2\n*IDN?\n")
        client.close()
        self.assertEqual(Client(port).ask("*OPC?"), "1")
        for _ in range(100):  # the lines of a client that left are still written
            if self.frames() == "X:Y 1\nX:Y 2\n":
                break
            time.sleep(0.05)
        self.assertEqual(self.frames(), "X:Y 1\nX:Y 2\n")
        self.assertNotIn("clients are connected", self.stop())

    def test_a_client_that_stops_sending_still_gets_every_answer(self):
        client = Client(self.start())
        client.send("AM:STAT ON\n*OPC?\nFREQ 1\n*IDN?\n")
        client.socket.shutdown(socket.SHUT_WR)
        answers = client.reader.read().splitlines()
        self.assertEqual(answers[0], "1")
        self.assertRegex(answers[1], IDENTITY)
        self.assertIn("left", self.stop())

    # A closed connection frees its place before the next one is judged.
    def test_sixteen_clients_are_served_and_a_seventeenth_is_refused(self):
        port = self.start()
        clients = [Client(port) for _ in range(15)]
        for _ in range(100):
            Client(port).close()
            last = Client(port)
            self.assertEqual(last.ask("*OPC?"), "1")
            last.close()
        clients += [Client(port) for _ in range(2)]
        self.assertEqual(clients[16].reader.readline(), "")
        self.assertEqual(clients[15].ask("*OPC?"), "1")
        self.assertEqual(self.stop().count("16 clients are connected, the most served at once"), 1)

    def test_a_failed_write_is_that_clients_error_and_the_next_line_reopens_the_link(self):
        self.link = os.path.join(self.folder, "a, very " + "long" * 40 + " name")
        os.mkfifo(self.link)
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)
        client = Client(self.start())
        self.assertEqual([client.ask("A:X 1\n*OPC?"), os.read(reader, 99)], ["1", b"A:X 1\n"])
        os.close(reader)  # the instrument goes away
        self.assertEqual(client.ask("A:X 2\n*OPC?"), "1")
        error = client.ask("SYST:ERR?")
        self.assertRegex(error, r'^-240,"Hardware error; .*""A:X 2"" did not.*\.\.\."$')
        self.assertLessEqual(len(error.split(",", 1)[1].replace('""', '"')), 255 + 2)
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)  # and comes back
        self.assertEqual([client.ask("A:X 3\n*OPC?"), os.read(reader, 99)], ["1", b"A:X 3\n"])
        os.close(reader)
        self.assertIn('"A:X 2" did not reach the instrument', self.stop())

    # The instrument stops taking lines: each write waits its 5 s time-out, and meanwhile the
    # other clients are answered at once. SIGTERM ends the bridge once that write has ended.
    def test_a_stalled_write_holds_up_only_the_lines_that_need_it(self):
        os.mkfifo(self.link)
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, reader)
        writer, other = Client(self.start()), Client(self.ports[1], "::1")
        writer.send(f"A:X {'1' * 1000}\n" * 80)  # more than the FIFO holds
        time.sleep(0.5)
        start = time.monotonic()
        self.assertRegex(other.ask("*IDN?"), IDENTITY)
        self.assertEqual(other.ask("SYST:ERR?;*STB?"), NO_ERROR + ";0")
        self.assertLess(time.monotonic() - start, 0.5)  # not the 5 s the stalled write may take
        self.assertEqual(Client(self.ports[0]).ask("*OPC?"), "1")
        start = time.monotonic()
        self.bridge.send_signal(signal.SIGINT)
        self.bridge.wait(timeout=10)
        self.assertLess(time.monotonic() - start, 5.5)
        self.assertEqual(self.bridge.returncode, 0)
        self.assertIn("received but not written", self.read_log())

    # Each instrument has its own writer: one that stops taking lines holds up only its clients.
    def test_a_stalled_instrument_holds_up_none_of_the_others_lines(self):
        os.mkfifo(self.link)
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)
        self.addCleanup(os.close, reader)
        other_link = self.link + "1"
        stalled, other = map(Client, self.run_bridge(CLI, "--link", "file:" + self.link,
                                                     "--link", "file:" + other_link, "serve",
                                                     "--listen", "127.0.0.1:0"))
        stalled.send(f"A:X {'1' * 1000}\n" * 80)  # more than the FIFO holds
        time.sleep(0.5)
        start = time.monotonic()
        self.assertEqual(other.ask("A:X 2;*OPC?"), "1")
        self.assertLess(time.monotonic() - start, 0.5)  # not the 5 s the stalled write may take
        with open(other_link) as link:
            self.assertEqual(link.read(), "A:X 2\n")

    def test_several_links_refuse_one_link_twice_and_a_port_past_65535(self):
        for second, listen in [(self.link, "127.0.0.1:0"), (self.link + "1", "127.0.0.1:65535")]:
            run = subprocess.run([CLI, "--link", "file:" + self.link, "--link", "file:" + second,
                                  "serve", "--listen", listen],
                                 capture_output=True, text=True, timeout=10)
            self.assertEqual(run.returncode, 2, run.stderr)

    def test_listening_on_any_ipv6_address_takes_ipv4_clients_too(self):
        any_port, loopback_port = self.run_bridge(CLI, "--link", "file:" + self.link, "serve",
                                                  "--listen", "[::]:0", "--listen", "[::1]:0")
        self.assertEqual([Client(any_port).ask("*OPC?"), Client(any_port, "::1").ask("*OPC?")], ["1", "1"])
        with self.assertRaises(ConnectionRefusedError):
            Client(loopback_port)
        self.stop()

    def test_allow_takes_plain_subnets_only_and_admits_exactly_them(self):
        for value in ["0177.0.0.1", "127.1/16", "/8", "10.0.0.0/33", "::1/129", "127.0.0.1/-1"]:
            run = subprocess.run([CLI, "--link", "file:" + self.link, "serve", "--listen", "127.0.0.1:0",
                                  "--allow", value], capture_output=True, text=True, timeout=10)
            self.assertEqual(run.returncode, 2, value)
            self.assertIn(f'not "{value}"', run.stderr)
            self.assertNotIn("listening", run.stderr)
        port = self.start("--allow", "127.0.0.2/31")
        served = {source: self.served(port, source) for source in
                  ["127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4"]}
        self.assertEqual(served, {"127.0.0.1": "", "127.0.0.2": "1", "127.0.0.3": "1", "127.0.0.4": ""})
        self.stop()

    def served(self, port, source):  # the answer to *OPC?, empty when refused
        try:
            return Client(port, source=source).ask("*OPC?")
        except ConnectionError:
            return ""

    def test_idle_clients_are_closed_and_every_connection_is_kept_alive(self):
        port = self.start("--idle-timeout", "1")
        client = Client(port)
        self.assertEqual(client.ask("*OPC?"), "1")  # taken in by the bridge
        with open("/proc/net/tcp") as table:  # the bridge's end, established: its timer is 2, keepalive
            rows = [row.split() for row in table.readlines()[1:]]
        timers = [row[5][:2] for row in rows if row[1].endswith(f":{port:04X}") and row[3] == "01"]
        self.assertEqual(timers, ["02"])
        self.assertEqual(client.reader.readline(), "")
        self.assertIn("sent nothing for 1 s: closing it", self.stop())

    # The USB chip that umockdev emulates from a replay: a stalled write, then the chip gone, then
    # back; each fault is that client's error, and the next line goes through.
    @unittest.skipUnless(shutil.which("umockdev-run"), "umockdev-run is not installed")
    def test_a_stall_and_an_unplug_of_the_usb_chip_are_told_and_the_next_line_goes_through(self):
        replay = self.link + ".ioctl"
        with open(replay, "w") as out:
            out.write("@DEV /dev/bus/usb/250/002 (usbdevfs)\nUSBDEVFS_GET_CAPABILITIES 0 0F000000\n")
            for status, frame in [(-32, "STALL 1\n"), (-19, "GONE 1\n"), (0, "*RST\n")]:
                done = len(frame) if status == 0 else 0
                out.write(f"USBDEVFS_REAPURBNDELAY 0 3 2 {status} 0 {len(frame)} {done} 0 "
                          f"{frame.encode().hex().upper()}\n")
        chip = os.path.join(os.path.dirname(__file__), "..", "usb", "data", "ch372-bus250.umockdev")
        port, = self.run_bridge("umockdev-run", "--device", chip, "--ioctl",
                                "/dev/bus/usb/250/002=" + replay, "--", CLI, "--link", "usb", "serve",
                                "--listen", "127.0.0.1:0")
        client = Client(port)
        self.assertEqual(client.ask("STALL 1\n*OPC?"), "1")
        self.assertIn("LIBUSB_ERROR_PIPE", client.ask("SYST:ERR?"))
        self.assertEqual(client.ask("GONE 1\n*OPC?"), "1")
        self.assertIn("not connected", client.ask("SYST:ERR?"))
        self.assertEqual([client.ask("*RST\n*OPC?"), client.ask("SYST:ERR?")], ["1", NO_ERROR])
        self.stop()


if __name__ == "__main__":
    unittest.main(warnings="ignore")
