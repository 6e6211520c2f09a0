#!/usr/bin/env bash
# Sets up the machine, builds, and starts Valdrix on the built-in simulated instrument.
# Pass other options to the program as arguments, e.g. tools/run-demo.sh --link usb
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
if [ "$#" -eq 0 ]; then set -- --link sim; fi
exec build/release/src/app/valdrix "$@"
