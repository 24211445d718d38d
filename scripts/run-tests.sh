#!/usr/bin/env bash
# Runs every test of one build tree on a private D-Bus session bus; keeps ctest's output in
# <build>/ctest.log for the closing summary of `make test`.
set -euo pipefail
build=$1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echo "== Tests in $build"
dbus-run-session -- ctest --test-dir "$build" --output-on-failure -j "$(nproc)" 2>&1 |
  tee "$build/ctest.log"
