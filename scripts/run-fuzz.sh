#!/usr/bin/env bash
# Runs each fuzz target of a build tree for a bounded time, from the checked-in seed corpus.
set -euo pipefail
build=$1
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=$(mktemp -d)
  cp "$root/tests/fuzz/corpus/${name#fuzz_}"/* "$corpus"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 "$corpus" 2>&1 |
    grep -E '^(stat::number_of_executed_units|Done|==[0-9]+==ERROR)|SUMMARY' || true
  status=${PIPESTATUS[0]}
  rm -rf "$corpus"
  [ "$status" -eq 0 ] || { echo "$name failed"; exit 1; }
done
