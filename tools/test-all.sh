#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors, and runs the whole test suite headless:
# as released (g++) and under the sanitizers (clang), then the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
# The suite built by clang (warnings as errors) under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for 15 s from its seed corpus.
cmake --preset sanitize
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j "$(nproc)"
tools/fuzz.sh build/sanitize 15
# The suite as released (g++).
ctest --preset ci -j "$(nproc)"
