#!/usr/bin/env bash
# Runs each fuzz target of a build for a bounded time from the checked-in seed corpus, as many at
# once as the machine has cores. Usage: tools/fuzz.sh BUILD_DIR [SECONDS_EACH]
# New inputs go to a temporary folder, so the repository's corpus stays as it is; a crash leaves
# its input in the current folder, shows the fuzzer's report and fails.
set -euo pipefail
build=$1
seconds=${2:-15}
corpus=$(cd "$(dirname "$0")/../fuzz/corpus" && pwd)
targets=(number_parsers link_choice line_refusal cli_arguments serve_bridge)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One target; its log and its exit status stay in the scratch folder.
fuzz() {
  local target=$1 status=0
  mkdir "$scratch/$target"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    "$scratch/$target" "$corpus/$target" >"$scratch/$target.log" 2>&1 || status=$?
  echo "$status" >"$scratch/$target.status"
}

running=0
for target in "${targets[@]}"; do
  echo "fuzzing $target for ${seconds}s"
  fuzz "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$(nproc)" ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
failed=0
for target in "${targets[@]}"; do
  if [ "$(cat "$scratch/$target.status")" != 0 ]; then
    tail -n 60 "$scratch/$target.log"
    echo "fuzz_$target failed: the input that did it is in $PWD (crash-*, leak-*, timeout-*)" >&2
    failed=1
  else
    echo "fuzz_$target:"
    tail -n 3 "$scratch/$target.log"
  fi
done
exit "$failed"
