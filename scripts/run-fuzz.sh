#!/usr/bin/env bash
# Runs each fuzz target of a build tree for a bounded time, from the checked-in seed corpus.
# Fails on the first crash or sanitizer report, leaving the crashing input in the build tree.
set -euo pipefail
build=$1
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=$(mktemp -d)
  cp "$root/tests/fuzz/corpus/${name#fuzz_}"/* "$corpus"/
  log="$build/$name.log"
  echo "== $name for ${seconds}s"
  status=0
  "$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    -artifact_prefix="$build/$name-" "$corpus" >"$log" 2>&1 || status=$?
  rm -rf "$corpus"
  grep -E '^stat::number_of_executed_units' "$log" || true
  if [ "$status" -ne 0 ]; then
    grep -E -A3 'ERROR|SUMMARY|what\(\)' "$log" | head -n 30
    echo "$name failed (log: $log)"
    exit 1
  fi
done
