# How fast valdrix-cli serve answers and how little it adds to each line, in one run, on the
# loopback only (the servers take free ports):
# - lxi-tools' benchmark, *IDN? round trips per second, against the bridge and against a
#   minimal Python socket server that answers *IDN? (target: the bridge at least as fast),
#   each the best of ROUNDS runs taken in turns, so that other work on the machine weighs on
#   both alike;
# - what a written line costs beyond its pause on the file link: LINES lines with --gap GAP_MS,
#   then *OPC?, less LINES x GAP_MS, per line (target: under 1 ms). How late the machine
#   itself wakes from a sleep of GAP_MS is measured beside it and taken off, so that a busy
#   machine does not pass for a slow bridge.
import os, re, signal, socket, socketserver, subprocess, sys, tempfile, threading, time

CLI = sys.argv[1]
REQUESTS, ROUNDS, LINES, GAP_MS = 1000, 5, 200, 5


class AnswersIdn(socketserver.StreamRequestHandler):
    def handle(self):
        for line in self.rfile:
            if line.strip() == b"*IDN?":
                self.wfile.write(b"Python,reference server,0,1.0\n")


def requests_per_second(port):
    result = subprocess.run(["lxi", "benchmark", "-r", "-a", "127.0.0.1", "-p", str(port),
                             "-c", str(REQUESTS)], capture_output=True, text=True, timeout=300)
    return float(re.search(r"Result: ([\d.]+) requests/second", result.stdout)[1])


def start_bridge(link, gap_ms):
    bridge = subprocess.Popen([CLI, "--link", "file:" + link, "serve", "--listen", "127.0.0.1:0",
                               "--gap", str(gap_ms)], stderr=subprocess.PIPE, text=True)
    return bridge, int(re.search(r"listening on 127.0.0.1:(\d+)", bridge.stderr.readline())[1])


def stop(bridge):
    bridge.send_signal(signal.SIGTERM)
    bridge.communicate(timeout=10)


def machine_lateness_ms():
    late = []
    for _ in range(LINES):
        start = time.monotonic()
        time.sleep(GAP_MS / 1000)
        late.append((time.monotonic() - start) * 1000 - GAP_MS)
    return sorted(late)[len(late) // 2]


def seconds_to_write(port, lines):
    with socket.create_connection(("127.0.0.1", port), timeout=60) as client:
        start = time.monotonic()
        client.sendall("".join(f"BENCH:LINE {i}\n" for i in range(lines)).encode() + b"*OPC?\n")
        if client.makefile("r").readline() != "1\n":
            sys.exit("the bridge did not answer *OPC?")
        return time.monotonic() - start


with tempfile.TemporaryDirectory() as folder:
    reference = socketserver.ThreadingTCPServer(("127.0.0.1", 0), AnswersIdn)
    reference.daemon_threads = True
    threading.Thread(target=reference.serve_forever, daemon=True).start()
    bridge, port = start_bridge(os.path.join(folder, "idn"), 0)
    rates = [(requests_per_second(port), requests_per_second(reference.server_address[1]))
             for _ in range(ROUNDS)]
    bridge_rate, python_rate = (max(rate) for rate in zip(*rates))
    unpaced_ms = seconds_to_write(port, LINES) * 1000 / LINES
    stop(bridge)
    reference.shutdown()
    bridge, port = start_bridge(os.path.join(folder, "paced"), GAP_MS)
    added_ms = (seconds_to_write(port, LINES) * 1000 - LINES * GAP_MS) / LINES
    stop(bridge)
    late_ms = machine_lateness_ms()

print(f"*IDN? round trips, best of {ROUNDS}: bridge {bridge_rate:.0f}/s, Python server {python_rate:.0f}/s: "
      f"{bridge_rate / python_rate:.2f}x (target >= 1x)")
print(f"a line with no pause: {unpaced_ms:.3f} ms")
print(f"added to a line beyond its {GAP_MS} ms pause: {added_ms:.3f} ms, of which the machine's "
      f"own lateness waking from a sleep {late_ms:.3f} ms: the bridge's {added_ms - late_ms:.3f} ms "
      f"(target < 1 ms)")
sys.exit(0 if bridge_rate >= python_rate and added_ms - late_ms < 1 else 1)
