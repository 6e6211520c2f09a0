#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors, and runs the whole test suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
ctest --preset ci -j "$(nproc)"
