#!/usr/bin/env bash
# `make run`: starts Tessel. Without a display, runs the headless walk-through instead.
set -euo pipefail
cd "$(dirname "$0")/.."
exec build/bin/tessel-walkthrough
