#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors, runs the whole test suite headless (as
# released with g++, and under the sanitizers with clang), runs the fuzzers, and builds the
# Debian package and checks it as a distribution would.
set -euo pipefail
cd "$(dirname "$0")/.."
# Compiler caches keyed by paths inside the tree, so that a fresh clone reuses earlier builds.
export CCACHE_BASEDIR="$PWD"
tools/setup-debian.sh
tools/check-format.sh
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
# The suite built by clang (warnings as errors) under AddressSanitizer and
# UndefinedBehaviorSanitizer, then each fuzz target for 2 minutes from its seed corpus.
cmake --preset sanitize
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j "$(nproc)"
tools/fuzz.sh build/sanitize 120
# The suite as released (g++).
ctest --preset ci -j "$(nproc)"
tools/check-package.sh ci
