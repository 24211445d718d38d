#!/usr/bin/env bash
# Tries tessel-dolphin.so in real Dolphin on a virtual display and a private session bus:
# selects a file in a watched folder, opens its context menu with the keyboard, chooses
# "Move To > Inbox", and checks that the request was stored and the (recording) host woken
# with it. Dolphin finds the plugin through QT_PLUGIN_PATH, beside its own.
#
#   tests/finder/dolphin/smoke/dolphin-under-xvfb.sh PLUGIN_PATH
#
# PLUGIN_PATH holds kf5/kfileitemaction/tessel-dolphin.so. Needs dolphin, kbuildsycoca5, Xvfb
# and xdotool; exits 77 (skipped) when one is missing.
set -euo pipefail
# shellcheck source=../../../../scripts/files-session.sh
source "$(dirname "$0")/../../../../scripts/files-session.sh"

case "${TESSEL_DOLPHIN_STAGE:-start}" in
start)
  for tool in dolphin kbuildsycoca5 Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  plugins=$(realpath "${1:?usage: $0 PLUGIN_PATH}")
  desktop_prepare tessel-dolphin-smoke
  mkdir -p "$home/Inbox" && touch "$home/a.txt"
  printf '{"roots":["%s"],"favorites":[{"name":"Inbox","path":"%s/Inbox","children":[]}],"recent":[]}' \
    "$HOME" "$HOME" >"$container/menu.json"
  TESSEL_HOST_EXECUTABLE=$(realpath "$(dirname "$0")/../../support/recording-host.sh")
  export TESSEL_HOST_EXECUTABLE TESSEL_TEST_HOST_RECORD=$work/host-arguments
  export QT_PLUGIN_PATH=$plugins QT_QPA_PLATFORM=xcb
  TESSEL_DOLPHIN_STAGE=session dbus-run-session -- "$0" 2>/dev/null || true

  if grep -q "^--background-command tessel://move/" "$work/host-arguments" 2>/dev/null &&
    grep -q "\"destination\":\"${home//\//\\\\/}\\\\/Inbox\"" "$container"/Requests/*.json; then
    rm -rf "$work"; exit 0
  fi
  echo "failed; the host's arguments, the stored requests and Dolphin's log are kept in $work"
  exit 1
  ;;

session)
  work=$TESSEL_FILES_WORK
  # KDE's first start in a fresh configuration: the service cache Dolphin reads.
  kbuildsycoca5 >"$work/sycoca.log" 2>&1 || true
  # Dolphin's item menu ends with Tessel's Move To, Move through Folders, Undo Last Move, Open
  # Move Settings… and then its own Properties: five Ups reach Move To, and Right opens it on
  # its first favourite. A Dolphin that was not ready for the keys (the file not selected yet)
  # is started again, given more time.
  for attempt in 1 2 3; do
    dolphin --new-window --select "$HOME/a.txt" >>"$work/dolphin.log" 2>&1 &
    dolphin=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --class dolphin | head -1)
    sleep $((2 * attempt))
    xdotool windowfocus "$window"  # no window manager gives it the focus
    xdotool key --delay 300 Menu Up Up Up Up Up Right Return || true
    for _ in $(seq 25); do
      [ -s "$TESSEL_TEST_HOST_RECORD" ] && break 2
      sleep 0.2
    done
    kill "$dolphin" 2>/dev/null || true
    wait "$dolphin" 2>/dev/null || true
  done
  kill "$dolphin" 2>/dev/null || true
  wait "$dolphin" 2>/dev/null || true
  ;;
esac
