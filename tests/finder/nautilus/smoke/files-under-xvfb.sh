#!/usr/bin/env bash
# Tries tessel-nautilus.so in real GNOME Files on a virtual display: selects a file, opens the
# context menu with the keyboard, chooses "Move To > Inbox", and checks that the request was
# stored and the host woken with it, with no critical warning from Files.
#
#   tests/finder/nautilus/smoke/files-under-xvfb.sh MODULE
#
# Needs nautilus, Xvfb, xdotool and the right to make a mount namespace (root). Files loads
# modules only from its own extension folder, so the script mounts a folder holding just this
# module over it, in a private mount namespace that ends with the script. Exits 77 (skipped)
# when something it needs is missing.
set -euo pipefail

case "${TESSEL_SMOKE_STAGE:-start}" in
start)
  for tool in nautilus Xvfb xdotool unshare dbus-run-session pkg-config; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  unshare --mount true 2>/dev/null || { echo "skipped: no mount namespace allowed"; exit 77; }
  exec env TESSEL_SMOKE_STAGE=namespace unshare --mount --propagation private "$0" "$@"
  ;;

namespace)
  module=$(realpath "${1:?usage: $0 MODULE}")
  work=$(mktemp -d /tmp/tessel-files-smoke-XXXXXX)
  home=$work/home
  container=$work/data/group.com.quillmark.Tessel
  mkdir -p "$work/modules" "$home/Inbox" "$container" "$work/runtime"
  chmod 0700 "$work/runtime"
  touch "$home/a.txt"
  cp "$module" "$work/modules/"
  mount --bind "$work/modules" "$(pkg-config --variable=extensiondir libnautilus-extension-4)"
  printf '{"roots":["%s"],"favorites":[{"name":"Inbox","path":"%s/Inbox","children":[]}],"recent":[]}' \
    "$home" "$home" >"$container/menu.json"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/host-arguments"\n' "$work" >"$work/host"
  chmod +x "$work/host"
  echo '{}' >"$work/info.json"

  Xvfb -displayfd 3 -screen 0 1280x800x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  server=$!
  trap 'kill $server 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done

  export DISPLAY=:$(cat "$work/display") HOME=$home LANGUAGE=en GSETTINGS_BACKEND=memory
  export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config
  export XDG_CACHE_HOME=$work/cache TESSEL_INFO_FILE=$work/info.json
  export TESSEL_HOST_EXECUTABLE=$work/host TESSEL_SMOKE_WORK=$work
  TESSEL_SMOKE_STAGE=session dbus-run-session -- "$0" "$@" 2>/dev/null || true

  echo "== host arguments"; cat "$work/host-arguments" 2>/dev/null || true
  echo "== stored requests"; cat "$container"/Requests/*.json 2>/dev/null || true; echo
  echo "== Files' warnings and criticals"; grep -E 'WARNING|CRITICAL' "$work/files.log" || true
  if grep -q "^--background-command tessel://move/" "$work/host-arguments" 2>/dev/null &&
    ! grep -q CRITICAL "$work/files.log" &&
    grep -q "\"destination\":\"${home//\//\\\\/}\\\\/Inbox\"" "$container"/Requests/*.json; then
    rm -rf "$work"
    exit 0
  fi
  echo "failed; everything is kept in $work"
  exit 1
  ;;

session)
  work=$TESSEL_SMOKE_WORK
  nautilus --new-window "$HOME" >"$work/files.log" 2>&1 &
  window=$(xdotool search --sync --onlyvisible --class nautilus | head -1)
  # The keys need the folder loaded and the file selected; a try that came too early is undone
  # with Escape and made again.
  for attempt in 1 2 3; do
    sleep $((3 * attempt))
    nautilus --select "$HOME/a.txt"
    sleep 1
    xdotool windowfocus "$window"  # no window manager gives it the focus
    # Files' context menu ends with Tessel's Move To, Move through Folders, Undo Last Move,
    # Open Move Settings… and then its own Properties.
    for key in Escape Escape shift+F10 Up Up Up Up Up Return Down Return; do
      xdotool key "$key"
      sleep 0.4
    done
    for _ in $(seq 25); do [ -s "$work/host-arguments" ] && break 2; sleep 0.2; done
  done
  nautilus -q || true
  ;;
esac
