#!/usr/bin/env bash
# Sets up the machine, builds with warnings as errors, runs the whole test suite headless, and
# builds the Debian package and checks it as a distribution would.
set -euo pipefail
cd "$(dirname "$0")/.."
# Compiler caches keyed by paths inside the tree, so that a fresh clone reuses earlier builds.
export CCACHE_BASEDIR="$PWD"
tools/setup-debian.sh
cmake --preset ci
cmake --build --preset ci -j "$(nproc)"
ctest --preset ci -j "$(nproc)"
tools/check-package.sh ci
