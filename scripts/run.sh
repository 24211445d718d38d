#!/usr/bin/env bash
# `make run`: starts Tessel with its window. Without a display, runs the headless
# walk-through instead (scripts/walkthrough.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/bin/tessel"
fi
exec scripts/walkthrough.sh "$build"
