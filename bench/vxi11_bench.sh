#!/usr/bin/env bash
# lxi-tools' *IDN? benchmark over VXI-11 against valdrix-cli serve, side by side with the same
# bridge's raw socket, each the best of ROUNDS runs taken in turns. VXI-11 is found through a
# portmapper: the bridge and an rpcbind of its own run in a network and mount namespace made
# here, with a private /run, so the machine's own are never touched; that needs root, and the
# benchmark skips without it.
# Usage: bench/vxi11_bench.sh VALDRIX_CLI
set -euo pipefail
cli=$(realpath "$1")
rounds=5
requests=1000

if [ "${VALDRIX_NAMESPACE:-}" != 1 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "skipped: the VXI-11 benchmark runs in a network namespace of its own, which needs root"
    exit 77
  fi
  exec env VALDRIX_NAMESPACE=1 unshare --net --mount "$0" "$cli"
fi

ip link set lo up
mount -t tmpfs tmpfs /run
mkdir /run/rpcbind
folder=$(mktemp -d)
rpcbind -f & rpcbind=$!
bridge=
trap 'kill $bridge $rpcbind 2>/dev/null; wait; rm -rf "$folder"' EXIT

wait_for() {  # a test, for 10 s at most
  for _ in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.05
  done
  echo "gave up waiting for: $*" >&2
  exit 1
}
wait_for test -S /run/rpcbind.sock
"$cli" --link "file:$folder/link" serve --listen 127.0.0.1:0 --no-announce 2>"$folder/log" &
bridge=$!
wait_for grep -q "registered with the portmapper" "$folder/log"
port=$(sed -n 's/.*listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$folder/log")

rate() {
  lxi benchmark "$@" -c "$requests" | sed -n 's/.*Result: \([0-9.]*\) requests\/second.*/\1/p'
}
vxi11=0 raw=0
for _ in $(seq "$rounds"); do
  vxi11=$(printf '%s\n' "$vxi11" "$(rate -a 127.0.0.1)" | sort -g | tail -1)
  raw=$(printf '%s\n' "$raw" "$(rate -r -a 127.0.0.1 -p "$port")" | sort -g | tail -1)
done
echo "*IDN? round trips, best of $rounds: VXI-11 $vxi11/s, raw socket $raw/s"
