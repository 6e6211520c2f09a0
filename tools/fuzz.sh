#!/usr/bin/env bash
# Runs each fuzz target of a build for a bounded time from the checked-in seed corpus.
# Usage: tools/fuzz.sh BUILD_DIR [SECONDS_EACH]   New inputs go to a temporary folder, so the
# repository's corpus stays as it is; a crash leaves its input in the current folder and fails.
set -euo pipefail
build=$1
seconds=${2:-15}
corpus=$(cd "$(dirname "$0")/../fuzz/corpus" && pwd)
for target in number_parsers link_choice line_refusal cli_arguments; do
  scratch=$(mktemp -d)
  echo "fuzzing $target for ${seconds}s"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    "$scratch" "$corpus/$target" 2>&1 | tail -n 3
  rm -rf "$scratch"
done
