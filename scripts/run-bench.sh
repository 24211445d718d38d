#!/usr/bin/env bash
# Runs every benchmark of a build tree; each prints its baseline beside its figures.
set -euo pipefail
build=$1
for bench in "$build"/bin/tessel_bench_*; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
done
echo "== host round trip (bench/host-roundtrip.sh)"
"$(dirname "$0")/../bench/host-roundtrip.sh" "$build"
echo "== Files' context menu (bench/files-menu.sh)"
"$(dirname "$0")/../bench/files-menu.sh" "$build"
echo "== Dolphin's context menu (bench/dolphin-menu.sh)"
"$(dirname "$0")/../bench/dolphin-menu.sh" "$build"
for manager in nemo caja thunar; do
  echo "== ${manager^}'s context menu (bench/gtk-menu.sh $manager)"
  "$(dirname "$0")/../bench/gtk-menu.sh" "$manager" "$build"
done
