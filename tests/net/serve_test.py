# valdrix-cli serve end to end on the loopback only, driven as lab tools drive it: PyVISA with
# pyvisa-py, lxi-tools, raw sockets. The link is a file, or a FIFO whose reader goes away and
# comes back. Ports are the system's free ones; every wait is bounded.
import os, re, shutil, signal, socket, subprocess, sys, tempfile, time, unittest

import pyvisa

CLI = sys.argv.pop(1)
NO_ERROR = '0,"No error"'


class Client:
    def __init__(self, port, host="127.0.0.1"):
        self.socket = socket.create_connection((host, port), timeout=10)
        self.reader = self.socket.makefile("r")
        self.send = lambda text: self.socket.sendall(text.encode())

    def ask(self, text):
        self.send(text + "\n")
        return self.reader.readline().rstrip("\n")


class ServeTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.link = os.path.join(folder.name, "link")

    def start(self, *options):
        self.bridge = subprocess.Popen([CLI, "--link", "file:" + self.link, "serve", "--listen",
                                        "127.0.0.1:0", "--listen", "[::1]:0", *options],
                                       stderr=subprocess.PIPE, text=True)
        self.ports = [int(re.search(r":(\d+)$", self.bridge.stderr.readline())[1]) for _ in "46"]
        return self.ports[0]

    def stop(self):  # the bridge's log
        self.bridge.send_signal(signal.SIGTERM)
        log = self.bridge.communicate(timeout=10)[1]
        self.assertEqual(self.bridge.returncode, 0, log)
        return log

    def frames(self):
        with open(self.link) as link:
            return link.read()

    def test_pyvisa_writes_the_lines_paced_and_gets_the_answers(self):
        visa = pyvisa.ResourceManager("@py").open_resource(
            f"TCPIP::127.0.0.1::{self.start('--gap', '50')}::SOCKET", read_termination="\n",
            write_termination="\n")
        start = time.monotonic()
        for line in ["AM:STATe ON", "FREQuency 1000Hz", "*RST"]:
            visa.write(line)
        self.assertEqual(visa.query("*OPC?"), "1")
        # 300 ms after AM:STATe as on the AM page, 100 ms after FREQuency, --gap after *RST.
        self.assertGreaterEqual(time.monotonic() - start, 0.45)
        self.assertTrue(visa.query("*IDN?").startswith("Valdrix,valdrix-cli serve,file:"))
        self.assertEqual(visa.query("SYST:ERR?"), NO_ERROR)
        visa.close()
        self.assertEqual(self.frames(), "AM:STATe ON\nFREQuency 1000Hz\n*RST\n")
        self.assertIn("client 1 connected from 127.0.0.1:", self.stop())

    def test_lxi_asks_and_writes(self):
        lxi = ["lxi", "scpi", "-r", "-a", "127.0.0.1", "-p", str(self.start())]
        answer = subprocess.run(lxi + ["*IDN?"], capture_output=True, text=True, timeout=10)
        self.assertIn("Valdrix,valdrix-cli serve,file:", answer.stdout)
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

    def test_a_failed_write_is_that_clients_error_and_the_next_line_reopens_the_link(self):
        os.mkfifo(self.link)
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)
        client = Client(self.start())
        self.assertEqual([client.ask("A:X 1\n*OPC?"), os.read(reader, 99)], ["1", b"A:X 1\n"])
        os.close(reader)  # the instrument goes away
        self.assertEqual(client.ask("A:X 2\n*OPC?"), "1")
        self.assertRegex(client.ask("SYST:ERR?"), r'^-240,"Hardware error; .*""A:X 2"" did not')
        reader = os.open(self.link, os.O_RDONLY | os.O_NONBLOCK)  # and comes back
        self.assertEqual([client.ask("A:X 3\n*OPC?"), os.read(reader, 99)], ["1", b"A:X 3\n"])
        os.close(reader)
        self.assertIn('"A:X 2" did not reach the instrument', self.stop())

    def test_a_seventeenth_client_is_refused(self):
        port = self.start()
        clients = [Client(port) for _ in range(17)]
        self.assertEqual(clients[16].reader.readline(), "")
        self.assertEqual(clients[15].ask("*OPC?"), "1")
        self.assertIn("16 clients are connected, the most served at once", self.stop())

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
        self.bridge = subprocess.Popen(
            ["umockdev-run", "--device", chip, "--ioctl", "/dev/bus/usb/250/002=" + replay, "--",
             CLI, "--link", "usb", "serve", "--listen", "127.0.0.1:0"], stderr=subprocess.PIPE, text=True)
        line = self.bridge.stderr.readline()
        client = Client(int(re.search(r":(\d+)$", line)[1]))
        self.assertEqual(client.ask("STALL 1\n*OPC?"), "1")
        self.assertIn("LIBUSB_ERROR_PIPE", client.ask("SYST:ERR?"))
        self.assertEqual(client.ask("GONE 1\n*OPC?"), "1")
        self.assertIn("not connected", client.ask("SYST:ERR?"))
        self.assertEqual([client.ask("*RST\n*OPC?"), client.ask("SYST:ERR?")], ["1", NO_ERROR])
        self.stop()


if __name__ == "__main__":
    unittest.main(warnings="ignore")
