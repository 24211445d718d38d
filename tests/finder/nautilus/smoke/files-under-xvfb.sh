#!/usr/bin/env bash
# Tries tessel-nautilus.so in real GNOME Files on a virtual display: selects a file, opens the
# context menu with the keyboard, chooses "Move To > Inbox", and checks that the request was
# stored and the host woken with it, with no critical warning from Files. Then the host
# publishes "Outbox" in place of "Inbox" and sends the settings signal: the same keys on the
# same selection must now choose "Move To > Outbox". Last the host publishes a hierarchy of more
# rows than Files shows quickly: the same place in the menu is then "Move through Folders…",
# which stores a "choose" request with the selection. Woken with the URL Files sent, the real
# host shows its chooser on the display: typing a folder's name and Enter move the file there.
#
#   tests/finder/nautilus/smoke/files-under-xvfb.sh MODULE
#
# Needs nautilus, Xvfb, xdotool and the right to make a mount namespace (root). Exits 77
# (skipped) when something it needs is missing.
set -euo pipefail
# shellcheck source=../../../../scripts/files-session.sh
source "$(dirname "$0")/../../../../scripts/files-session.sh"

# Replaces the snapshot with one whose only favourite is $home/NAME, as the host does.
publish_favourite() {
  local container=$TESSEL_FILES_WORK/data/group.com.quillmark.Tessel
  printf '{"roots":["%s"],"favorites":[{"name":"%s","path":"%s/%s","children":[]}],"recent":[]}' \
    "$HOME" "$1" "$HOME" "$1" >"$container/menu.json.new"
  mv "$container/menu.json.new" "$container/menu.json"
}

# Replaces the snapshot with one favourite, Inbox, holding 50 sub-folders: 160 rows.
publish_large() {
  local container=$TESSEL_FILES_WORK/data/group.com.quillmark.Tessel children=() i
  for i in $(seq 50); do
    children+=("{\"name\":\"f$i\",\"path\":\"$HOME/Inbox/f$i\",\"children\":[]}")
  done
  local IFS=,
  printf '{"roots":["%s"],"favorites":[{"name":"Inbox","path":"%s/Inbox","children":[%s]}],"recent":[]}' \
    "$HOME" "$HOME" "${children[*]}" >"$container/menu.json.new"
  mv "$container/menu.json.new" "$container/menu.json"
}

# choose COUNT KEY...: opens the context menu with the keyboard, presses the KEYs and waits
# until the host has started COUNT times in all. Files' context menu ends with Tessel's Move
# To, Move through Folders, Undo Last Move, Open Move Settings… and then its own Properties,
# so five Ups reach Move To and four the item after it.
choose() {
  local count=$1
  shift
  xdotool windowfocus "$window"  # no window manager gives it the focus
  xdotool key --delay 400 Escape Escape shift+F10 "$@" || true
  for _ in $(seq 25); do
    [ "$(wc -l <"$TESSEL_TEST_HOST_RECORD" 2>/dev/null || echo 0)" -ge "$count" ] && return 0
    sleep 0.2
  done
  return 1
}
# Move To's first favourite.
choose_first_favourite() { choose "$1" Up Up Up Up Up Return Down Return; }
# The item after Move To: "Move through Folders…" when the hierarchy is too large.
choose_hierarchy() { choose "$1" Up Up Up Up Return; }

# after_signal CHOICE COUNT: sends the host's settings signal, then makes CHOICE, trying
# again while Files has not rebuilt its menu yet.
after_signal() {
  dbus-send --session --type=signal /com/quillmark/Tessel com.quillmark.Tessel.settings
  for attempt in 1 2 3; do
    sleep "$attempt"
    "$1" "$2" && break
  done
}

# The host's chooser window on the display; empty while there is none.
chooser_window() {
  xdotool search --onlyvisible --name '^Move to Folder$' 2>/dev/null | head -n 1 || true
}

# Wakes the real host with the URL Files sent last, as Files would have, and moves the file
# into Inbox/f7 through the host's chooser, with the keyboard alone.
choose_in_host() {
  local url chooser= host
  url=$(tail -n 1 "$TESSEL_TEST_HOST_RECORD")
  TESSEL_INFO_FILE=$work/host-info.json QT_QPA_PLATFORM=xcb "$TESSEL_SMOKE_HOST" \
    --background-command "${url#--background-command }" >>"$work/host.log" 2>&1 &
  host=$!
  for _ in $(seq 100); do
    chooser=$(chooser_window)
    [ -n "$chooser" ] && break
    sleep 0.2
  done
  if [ -n "$chooser" ]; then
    sleep 1  # the host's first publication fills the window
    xdotool windowfocus --sync "$chooser"  # no window manager gives it the focus
    xdotool type --delay 60 f7
    xdotool key Return
    for _ in $(seq 50); do
      [ -e "$HOME/Inbox/f7/a.txt" ] && break
      sleep 0.2
    done
  fi
  kill "$host" 2>/dev/null || true
  wait "$host" 2>/dev/null || true  # before the test's folder is removed
}

# Whether a request to move into $home/NAME was stored.
stored() {
  grep -q "\"destination\":\"${home//\//\\\\/}\\\\/$1\"" "$container"/Requests/*.json
}

case "${TESSEL_FILES_STAGE:-start}" in
start)
  files_enter_namespace 77 "$(realpath "${1:?usage: $0 MODULE}")"
  ;;

namespace)
  files_prepare tessel-files-smoke
  mkdir -p "$home/Inbox" && touch "$home/a.txt"
  for i in $(seq 50); do mkdir -p "$home/Inbox/f$i"; done
  # The real host of the last step: a direct build whose one favourite is Inbox.
  echo '{"TesselDirectDistribution":true}' >"$work/host-info.json"
  mkdir -p "$work/data/Tessel"
  printf '{"favorites":[{"id":"%s","name":"Inbox","path":"%s/Inbox","bookmark":""}],"roots":[],"recent":[],"policy":"keepBoth"}' \
    "$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)" "$home" >"$work/data/Tessel/settings.json"
  export TESSEL_SMOKE_HOST=$(dirname "$(realpath "$1")")/../bin/tessel
  cp "$1" "$work/modules/"
  publish_favourite Inbox
  TESSEL_HOST_EXECUTABLE=$(realpath "$(dirname "$0")/../../support/recording-host.sh")
  export TESSEL_HOST_EXECUTABLE TESSEL_TEST_HOST_RECORD=$work/host-arguments
  TESSEL_FILES_STAGE=session dbus-run-session -- "$0" 2>/dev/null || true

  grep -E 'WARNING|CRITICAL' "$work/files.log" || true
  if grep -q "^--background-command tessel://move/" "$work/host-arguments" 2>/dev/null &&
    ! grep -q CRITICAL "$work/files.log" &&
    stored Inbox && stored Outbox && [ -e "$home/Inbox/f7/a.txt" ]; then
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
    choose_first_favourite 1 && break
  done
  # The selection stays as it is, so only the signal can make Files ask for the menu again.
  publish_favourite Outbox
  after_signal choose_first_favourite 2
  publish_large
  after_signal choose_hierarchy 3
  choose_in_host
  nautilus -q || true
  ;;
esac
