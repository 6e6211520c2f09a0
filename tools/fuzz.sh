#!/usr/bin/env bash
# Runs each fuzz target of a build for a bounded time from the checked-in seed corpus.
# Usage: tools/fuzz.sh BUILD_DIR [SECONDS_EACH]   New inputs go to a temporary folder, so the
# repository's corpus stays as it is; a crash leaves its input in the current folder, shows the
# fuzzer's report and fails.
set -euo pipefail
build=$1
seconds=${2:-15}
corpus=$(cd "$(dirname "$0")/../fuzz/corpus" && pwd)
for target in number_parsers link_choice line_refusal cli_arguments serve_bridge; do
  scratch=$(mktemp -d)
  mkdir "$scratch/new"
  echo "fuzzing $target for ${seconds}s"
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      "$scratch/new" "$corpus/$target" >"$scratch/log" 2>&1; then
    tail -n 60 "$scratch/log"
    echo "fuzz_$target failed: the input that did it is in $PWD (crash-*, leak-*, timeout-*)" >&2
    exit 1
  fi
  tail -n 3 "$scratch/log"
  rm -rf "$scratch"
done
