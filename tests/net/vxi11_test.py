# valdrix-cli serve's VXI-11 device and DNS-SD announcement end to end, driven as lab tools drive
# them: lxi-tools, avahi-browse, PyVISA with pyvisa-py, and pyvisa-py's own VXI-11 client for the
# calls VISA does not expose. The bridge and its own rpcbind, D-Bus system bus and Avahi daemon
# run in a network and mount namespace this test makes, on a veth pair with a private /run, so
# the machine's network, portmapper and Avahi are never touched; making one needs root, and
# without it the test skips. Every wait is bounded, every process the test starts
# ends with it. Some cases measure real time: how long the pacing holds a line.
import os, re, signal, socket, subprocess, sys, threading, time, unittest

SKIPPED = 77
if os.environ.get("VALDRIX_NAMESPACE") != "1":
    if os.geteuid() != 0:
        print("skipped: the VXI-11 tests run in a network namespace of their own, which needs root")
        sys.exit(SKIPPED)
    if subprocess.run(["unshare", "--net", "--mount", "true"]).returncode != 0:
        print("skipped: this machine does not let the test make a network namespace")
        sys.exit(SKIPPED)
    os.environ["VALDRIX_NAMESPACE"] = "1"
    sys.exit(subprocess.run(["unshare", "--net", "--mount", sys.executable] + sys.argv).returncode)

import pyvisa
from bridge_case import BridgeCase
from pyvisa_py.protocols import rpc, vxi11

CLI = sys.argv.pop(1)
NO_ERROR = '0,"No error"'
IDENTITY = r"^Valdrix,valdrix-cli serve,file,[0-9.]+$"
CANNOT_ANSWER = '-113,"Undefined header; this instrument cannot answer queries"'
END, WAIT_LOCK = 0x08, 0x01
NETWORK = "198.51.100."  # a documentation range, on a veth pair inside the namespace only


def run(command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30).stdout


def read(path):
    with open(path) as file:
        return file.read()


class AbortClient(rpc.RawTCPClient):
    def __init__(self, port):
        self.packer, self.unpacker = vxi11.Vxi11Packer(), vxi11.Vxi11Unpacker("")
        super().__init__("127.0.0.1", vxi11.DEVICE_ASYNC_PROG, vxi11.DEVICE_ASYNC_VERS, port)

    def device_abort(self, link):
        return self.make_call(vxi11.DEVICE_ABORT, link, self.packer.pack_device_link,
                              self.unpacker.unpack_device_error)


class Link:  # one VXI-11 link, found through the portmapper
    def __init__(self, device="inst0"):
        self.core = vxi11.CoreClient("127.0.0.1")
        self.core.timeout = 20
        error, self.id, self.abort_port, _ = self.core.create_link(1, False, 0, device)
        assert error == 0, error

    def write(self, line):
        return self.core.device_write(self.id, 5000, 0, END, line.encode())[0]

    def read(self, timeout_ms=5000):
        error, _, data = self.core.device_read(self.id, 1024, timeout_ms, 0, 0, 0)
        return error, data.decode()

    def ask(self, line):
        self.write(line)
        return self.read()[1].rstrip("\n")


class Vxi11Test(BridgeCase):
    def setUp(self):
        super().setUp()
        open(self.link, "w").close()
        self.logs = 0

    def start_portmapper(self):
        self.start_daemon(["rpcbind", "-f"], "/run/rpcbind.sock")

    def end(self, process):
        if process.poll() is None:
            process.kill()
            process.wait(timeout=10)

    def start_daemon(self, command, ready):
        daemon = subprocess.Popen(command)
        self.addCleanup(self.end, daemon)
        for _ in range(200):
            if os.path.exists(ready):
                return
            time.sleep(0.025)
        self.fail(f"{command[0]} did not start")

    def start(self, *options, links=(), listen="127.0.0.1:0"):  # the bridge, its log's path
        self.logs += 1
        log_path = os.path.join(self.folder, f"log{self.logs}")
        given = [word for link in links or [self.link] for word in ["--link", "file:" + link]]
        with open(log_path, "w") as log:
            bridge = subprocess.Popen([CLI, *given, "serve", "--listen", listen, *options],
                                      stderr=log)
        self.addCleanup(self.end, bridge)
        for _ in range(200):
            text = read(log_path)
            if re.search(r"(registered with the portmapper|serving the raw socket only)"
                         r"(.|\n)*(DNS-SD|--no-announce)", text) or bridge.poll() is not None:
                return bridge, log_path
            time.sleep(0.025)
        self.fail("the bridge did not start: " + read(log_path))

    def stop(self, bridge, log_path):
        bridge.send_signal(signal.SIGTERM)
        bridge.wait(timeout=10)
        self.assertEqual(bridge.returncode, 0)
        return read(log_path)

    def frames(self):
        return read(self.link)

    def registered(self):
        return "395183" in subprocess.run(["rpcinfo", "-p"], capture_output=True, text=True).stdout

    def test_lxi_and_pyvisa_find_the_device_which_the_portmapper_lists_while_it_runs(self):
        self.start_portmapper()
        bridge, log = self.start("--gap", "50")
        self.assertTrue(self.registered())
        lxi = subprocess.run(["lxi", "scpi", "-a", "127.0.0.1", "*IDN?"], capture_output=True,
                             text=True, timeout=20)
        self.assertRegex(lxi.stdout.strip(), IDENTITY)
        gen = pyvisa.ResourceManager("@py").open_resource(
            "TCPIP::127.0.0.1::inst0::INSTR", read_termination="\n", write_termination="\n")
        self.assertRegex(gen.query("*IDN?"), IDENTITY)
        page = subprocess.run([CLI, "--dry-run", "am"], capture_output=True, text=True,
                              check=True).stdout
        start = time.monotonic()
        for line in ["AM:STATe ON", "FREQuency 1000Hz", "X:Y 1"] + page.splitlines():
            gen.write(line)
        self.assertEqual(gen.query("*OPC?"), "1")
        # 300 ms after AM:STATe, 100 ms after FREQuency, --gap after the rest, as on the socket.
        self.assertGreaterEqual(time.monotonic() - start, 0.45)
        self.assertEqual(self.frames(), "AM:STATe ON\nFREQuency 1000Hz\nX:Y 1\n" + page)
        self.assertEqual(gen.query("SYST:ERR?"), NO_ERROR)
        gen.timeout = 500
        with self.assertRaises(pyvisa.errors.VisaIOError) as timed_out:
            gen.query("FREQ?")
        self.assertEqual(timed_out.exception.error_code, pyvisa.constants.StatusCode.error_timeout)
        gen.timeout = 5000
        self.assertEqual(gen.query("SYST:ERR?"), CANNOT_ANSWER)
        gen.close()
        self.stop(bridge, log)
        self.assertFalse(self.registered())

    def test_readstb_trigger_clear_and_abort(self):
        self.start_portmapper()
        bridge, log = self.start("--gap", "1500")
        link = Link()
        link.write("FREQ?")
        error, stb = link.core.device_read_stb(link.id, 0, 0, 1000)
        self.assertEqual([error, stb], [0, 4])  # the error queue holds the -113
        link.core.device_write(link.id, 1000, 0, 0, b"A ")  # a line begun, not ended
        self.assertEqual(link.core.device_trigger(link.id, 0, 0, 1000), 0)
        link.write("1")
        for line in ["B 2", "C 3"]:
            link.write(line)
        # *TRG is being paced now; A, B and C wait and are dropped.
        self.assertEqual(link.core.device_clear(link.id, 0, 0, 1000), 0)
        self.assertEqual(link.ask("*OPC?"), "1")
        self.assertEqual(self.frames(), "*TRG\n")
        error, stb = link.core.device_read_stb(link.id, 0, 0, 1000)
        self.assertEqual([error, stb], [0, 4])  # a clear leaves the error queue alone

        reader = threading.Thread(target=lambda: setattr(self, "read", link.read(20000)))
        reader.start()
        time.sleep(0.3)
        start = time.monotonic()
        aborter = AbortClient(link.abort_port)
        self.assertEqual(aborter.device_abort(link.id), 0)
        aborter.close()
        reader.join(timeout=10)
        self.assertLess(time.monotonic() - start, 5)
        self.assertEqual(self.read, (23, ""))  # aborted
        self.assertEqual(link.core.destroy_link(link.id), 0)
        link.core.close()
        self.assertIn("device clear dropped 3 command(s)", self.stop(bridge, log))

    def test_a_lock_holds_the_other_clients_lines(self):
        self.start_portmapper()
        bridge, log = self.start()
        holder, other = Link(), Link()
        self.assertEqual(holder.core.device_lock(holder.id, 0, 0), 0)
        raw = socket.create_connection(("127.0.0.1", self.raw_port(log)), timeout=10)
        raw.sendall(b"RAW 1\n*OPC?\n")
        other.write("OTHER 1")
        start = time.monotonic()
        self.assertEqual(other.core.device_lock(other.id, WAIT_LOCK, 400), 11)
        self.assertGreaterEqual(time.monotonic() - start, 0.35)
        self.assertEqual(other.core.device_lock(other.id, 0, 0), 11)
        self.assertEqual(holder.ask("HOLDER 1;*OPC?"), "1")
        self.assertEqual(self.frames(), "HOLDER 1\n")
        self.assertEqual(other.core.device_unlock(other.id), 12)  # holds no lock
        self.assertEqual(holder.core.device_unlock(holder.id), 0)
        self.assertEqual(raw.makefile().readline(), "1\n")
        self.assertEqual(sorted(self.frames().splitlines()), ["HOLDER 1", "OTHER 1", "RAW 1"])
        raw.close()
        holder.core.close()
        other.core.close()
        self.stop(bridge, log)

    def test_a_link_closed_for_idling_answers_no_more(self):
        self.start_portmapper()
        bridge, log = self.start("--idle-timeout", "1")
        link = Link()
        time.sleep(1.5)
        self.assertEqual(link.write("X 1"), 4)  # invalid link
        link.core.close()
        self.assertIn("VXI-11 link 1 ended with its client 1", self.stop(bridge, log))

    def raw_port(self, log):
        return int(re.search(r"listening on [0-9.]+:(\d+)", read(log)).group(1))

    def test_one_bridge_per_host_holds_the_entry_and_a_crashed_ones_is_replaced(self):
        self.start_portmapper()
        first, _ = self.start()
        second, second_log = self.start(links=[self.link + "2"])
        self.assertIn("holds the portmapper's VXI-11 entry", read(second_log))
        first.kill()
        first.wait(timeout=10)
        self.assertTrue(self.registered())  # left behind
        third, third_log = self.start(links=[self.link + "3"])
        self.assertIn("registered with the portmapper", read(third_log))
        link = Link()
        self.assertEqual(link.ask("*OPC?"), "1")
        link.core.close()
        self.stop(third, third_log)
        self.assertFalse(self.registered())
        self.stop(second, second_log)

    def test_two_links_are_inst0_and_inst1_on_ports_p_and_p_plus_1(self):
        self.start_portmapper()
        paths = [self.link, self.link + "1"]
        open(paths[1], "w").close()
        bridge, log = self.start(links=paths, listen="127.0.0.1:5025")  # the namespace's own
        for k, path in enumerate(paths):
            link = Link(f"inst{k}")
            self.assertRegex(link.ask("*IDN?"), rf"^Valdrix,valdrix-cli serve,file{k},")
            self.assertEqual(link.ask(f"VXI {k};*OPC?"), "1")
            link.core.close()
            raw = socket.create_connection(("127.0.0.1", 5025 + k), timeout=10)
            raw.sendall(f"RAW {k}\n*OPC?\n".encode())
            self.assertEqual(raw.makefile().readline(), "1\n")
            raw.close()
            self.assertEqual(read(path), f"VXI {k}\nRAW {k}\n")
        self.stop(bridge, log)

    def test_the_bridge_on_a_private_network_is_discovered(self):
        self.start_portmapper()
        self.start_daemon(["dbus-daemon", "--system", "--nofork", "--nopidfile"],
                          "/run/dbus/system_bus_socket")
        self.start_daemon(["avahi-daemon", "--no-drop-root", "--no-chroot", "--no-rlimits"],
                          "/run/avahi-daemon/socket")
        bridge, log = self.start(listen=NETWORK + "1:0")
        for _ in range(200):
            if "announced by DNS-SD as" in read(log):
                break
            time.sleep(0.025)
        name = "Valdrix generator file on " + socket.gethostname()
        browsed = run(["avahi-browse", "-rtp", "_scpi-raw._tcp"])
        self.assertIn(f";{name.replace(' ', chr(92) + '032')};_scpi-raw._tcp;", browsed)
        for record in ["txtvers=1", "Manufacturer=Valdrix", "Model=valdrix-cli serve file",
                       "SerialNumber=file", r"FirmwareVersion=[0-9.]+"]:
            self.assertRegex(browsed, f'"{record}"')
        self.assertIn(f'Found "{name}" on address {NETWORK}1\n    vxi-11 service',
                      run(["lxi", "discover", "-m"]))
        self.assertRegex(run(["lxi", "discover"]), f'Found "Valdrix,valdrix-cli serve,file,'
                                                   f'[0-9.]+" on address {NETWORK}1')
        loopback, loopback_log = self.start(links=[self.link + "2"])
        self.assertIn("listening on the loopback only: not announced", read(loopback_log))
        self.stop(loopback, loopback_log)
        self.stop(bridge, log)

    def test_without_a_portmapper_or_avahi_the_raw_socket_goes_on_alone(self):
        bridge, log = self.start(listen=NETWORK + "1:0")
        self.assertIn("apt install rpcbind", read(log))
        self.assertIn("no Avahi daemon runs: not announced by DNS-SD", read(log))
        raw = socket.create_connection((NETWORK + "1", self.raw_port(log)), timeout=10)
        raw.sendall(b"*OPC?\n")
        self.assertEqual(raw.makefile().readline(), "1\n")
        raw.close()
        self.stop(bridge, log)


if __name__ == "__main__":
    for command in ["ip link set lo up", "ip link add v0 type veth peer name v1",
                    f"ip addr add {NETWORK}1/24 dev v0", f"ip addr add {NETWORK}2/24 dev v1",
                    "ip link set v0 up", "ip link set v1 up", "mount -t tmpfs tmpfs /run"]:
        subprocess.run(command.split(), check=True)
    for folder in ["rpcbind", "dbus", "avahi-daemon"]:
        os.makedirs("/run/" + folder)
    unittest.main(verbosity=2)
