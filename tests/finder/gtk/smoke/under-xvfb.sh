#!/usr/bin/env bash
# Tries a GTK 3 file manager's module in the real program on a virtual display: selects a file
# in a watched folder, opens the context menu with the keyboard, chooses "Move To > Inbox", and
# checks that the request was stored and the host woken with it, with no critical warning from
# the file manager.
#
#   tests/finder/gtk/smoke/under-xvfb.sh nemo|caja|thunar MODULE
#
# Needs the file manager, Xvfb, xdotool and the right to make a mount namespace (root). Exits
# 77 (skipped) when something it needs is missing.
set -euo pipefail
export FILE_MANAGER=${FILE_MANAGER:-${1:?usage: $0 nemo|caja|thunar MODULE}}
# shellcheck source=../../../../scripts/files-session.sh
source "$(dirname "$0")/../../../../scripts/files-session.sh"

# The three menus end with Tessel's Move To, Move through Folders, Undo Last Move, Open Move
# Settings… and then their own Properties: five Ups from the end reach Move To, whose submenu
# Right opens on its first favourite.
choose_first_favourite() {
  xdotool windowfocus "$window"  # no window manager gives it the focus
  xdotool key --delay 400 Escape ctrl+a shift+F10 Up Up Up Up Up Right Return || true
  for _ in $(seq 25); do
    [ -s "$TESSEL_TEST_HOST_RECORD" ] && return 0
    sleep 0.2
  done
  return 1
}

case "${TESSEL_FILES_STAGE:-start}" in
start)
  files_enter_namespace 77 "$1" "$(realpath "${2:?usage: $0 nemo|caja|thunar MODULE}")"
  ;;

namespace)
  files_prepare "tessel-$FILE_MANAGER-smoke"
  # The folder shown holds the one file, which Ctrl+A selects.
  mkdir -p "$home/Inbox" "$home/work" && touch "$home/work/a.txt"
  cp "$2" "$work/modules/"
  printf '{"roots":["%s"],"favorites":[{"name":"Inbox","path":"%s/Inbox","children":[]}],"recent":[]}' \
    "$home" "$home" >"$container/menu.json"
  TESSEL_HOST_EXECUTABLE=$(realpath "$(dirname "$0")/../../support/recording-host.sh")
  export TESSEL_HOST_EXECUTABLE TESSEL_TEST_HOST_RECORD=$work/host-arguments
  TESSEL_FILES_STAGE=session dbus-run-session -- "$0" "$@" 2>/dev/null || true

  # Nemo 5.6 warns once of its own when it opens a context menu, with no module loaded too.
  grep CRITICAL "$work/files.log" | grep -v "gtk_widget_destroy: assertion 'GTK_IS_WIDGET (widget)'" >"$work/criticals" || true
  cat "$work/criticals"
  if grep -q "^--background-command tessel://move/" "$work/host-arguments" 2>/dev/null &&
    ! [ -s "$work/criticals" ] &&
    grep -q "\"destination\":\"${home//\//\\\\/}\\\\/Inbox\"" "$container"/Requests/*.json; then
    rm -rf "$work"; exit 0
  fi
  echo "failed; the host's arguments, the stored requests and the file manager's log are kept in $work"
  exit 1
  ;;

session)
  files_open_window "$TESSEL_FILES_WORK/files.log" "$HOME/work"
  # The keys need the folder loaded; a try that came too early is undone with Escape.
  for attempt in 1 2 3; do
    sleep $((2 * attempt))
    choose_first_favourite && break
  done
  files_quit
  ;;
esac
