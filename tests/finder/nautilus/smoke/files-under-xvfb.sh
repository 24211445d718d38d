#!/usr/bin/env bash
# Tries tessel-nautilus.so in real GNOME Files on a virtual display: selects a file, opens the
# context menu with the keyboard, chooses "Move To > Inbox", and checks that the request was
# stored and the host woken with it, with no critical warning from Files.
#
#   tests/finder/nautilus/smoke/files-under-xvfb.sh MODULE
#
# Needs nautilus, Xvfb, xdotool and the right to make a mount namespace (root). Exits 77
# (skipped) when something it needs is missing.
set -euo pipefail
# shellcheck source=../../../../scripts/files-session.sh
source "$(dirname "$0")/../../../../scripts/files-session.sh"

case "${TESSEL_FILES_STAGE:-start}" in
start)
  files_enter_namespace 77 "$(realpath "${1:?usage: $0 MODULE}")"
  ;;

namespace)
  files_prepare tessel-files-smoke
  mkdir -p "$home/Inbox" && touch "$home/a.txt"
  cp "$1" "$work/modules/"
  printf '{"roots":["%s"],"favorites":[{"name":"Inbox","path":"%s/Inbox","children":[]}],"recent":[]}' \
    "$home" "$home" >"$container/menu.json"
  TESSEL_HOST_EXECUTABLE=$(realpath "$(dirname "$0")/../../support/recording-host.sh")
  export TESSEL_HOST_EXECUTABLE TESSEL_TEST_HOST_RECORD=$work/host-arguments
  TESSEL_FILES_STAGE=session dbus-run-session -- "$0" 2>/dev/null || true

  grep -E 'WARNING|CRITICAL' "$work/files.log" || true
  if grep -q "^--background-command tessel://move/" "$work/host-arguments" 2>/dev/null &&
    ! grep -q CRITICAL "$work/files.log" &&
    grep -q "\"destination\":\"${home//\//\\\\/}\\\\/Inbox\"" "$container"/Requests/*.json; then
    rm -rf "$work"; exit 0
  fi
  echo "failed; the host's arguments, the stored requests and Files' log are kept in $work"
  exit 1
  ;;

session)
  work=$TESSEL_FILES_WORK
  files_open_window "$work/files.log"
  # The keys need the folder loaded and the file selected; a try that came too early is undone
  # with Escape and made again.
  for attempt in 1 2 3; do
    sleep $((3 * attempt))
    nautilus --select "$HOME/a.txt"
    sleep 1
    xdotool windowfocus "$window"  # no window manager gives it the focus
    # Files' context menu ends with Tessel's Move To, Move through Folders, Undo Last Move,
    # Open Move Settings… and then its own Properties.
    xdotool key --delay 400 Escape Escape shift+F10 Up Up Up Up Up Return Down Return || true
    for _ in $(seq 25); do [ -s "$work/host-arguments" ] && break 2; sleep 0.2; done
  done
  nautilus -q || true
  ;;
esac
