#!/usr/bin/env bash
# The headless walk-through: Tessel end to end on real files in a temporary home, without a
# display. A private session bus, the host started in the background as the file manager
# would start it, a favourite, a move chosen through tessel-finder, and its undo.
set -euo pipefail
build=${1:-build}
bin=$(cd "$build/bin" && pwd)

if [ -z "${TESSEL_WALKTHROUGH_BUS:-}" ]; then
  export TESSEL_WALKTHROUGH_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi

step() { printf '\n• %s\n' "$*"; }
source "$(dirname "$0")/wait-for.sh"

work=$(mktemp -d /tmp/tessel-walkthrough-XXXXXX)
host=
cleanup() {
  [ -n "$host" ] && kill "$host" 2>/dev/null && wait "$host" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen LANGUAGE=${LANGUAGE:-en}
mkdir -p "$HOME/Inbox" "$HOME/Archive" "$XDG_DATA_HOME/Tessel" "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
echo "Tessel walk-through in $work"

step "A file to tidy up and a favourite destination"
echo "quarterly figures" >"$HOME/Inbox/report.pdf"
id=$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)
printf '{"favorites":[{"id":"%s","name":"Archive","path":"%s","bookmark":""}],"roots":[],"recent":[],"policy":"keepBoth"}' \
  "$id" "$HOME/Archive" >"$XDG_DATA_HOME/Tessel/settings.json"
echo "  $HOME/Inbox/report.pdf"
echo "  settings.json: $(cat "$XDG_DATA_HOME/Tessel/settings.json")"

step "The host starts in the background, as the file manager starts it"
# Standard error on a terminal makes the host echo each status line there.
script -qfc "'$bin/tessel' --background-command" "$work/host.log" >/dev/null 2>&1 &
host=$!
menu="$XDG_DATA_HOME/group.com.quillmark.Tessel/menu.json"
wait_for "the menu snapshot" test -s "$menu"
echo "  menu.json: $(cat "$menu")"

step "The file manager's menu for the file (tessel-finder menu)"
"$bin/tessel-finder" menu --select "$HOME/Inbox/report.pdf" | sed 's/^/  /'

step "Move To > Archive (tessel-finder run)"
"$bin/tessel-finder" run "Move To > Archive" --select "$HOME/Inbox/report.pdf"
wait_for "the move" test -e "$HOME/Archive/report.pdf"
wait_for "the recent destination" grep -q '"recent":\["' "$XDG_DATA_HOME/Tessel/settings.json"
ls -l "$HOME/Inbox" "$HOME/Archive" | sed 's/^/  /'
echo "  undo.json: $(cat "$XDG_DATA_HOME/Tessel/undo.json")"

step "Undo Last Move (tessel-finder run)"
"$bin/tessel-finder" run "Undo Last Move"
wait_for "the undo" test -e "$HOME/Inbox/report.pdf"
ls -l "$HOME/Inbox" "$HOME/Archive" | sed 's/^/  /'

step "Opening Tessel again hands over to the running host and ends at once"
"$bin/tessel" && echo "  second tessel exited with status 0"

step "What the host reported"
sleep 0.3
tr -d '\r' <"$work/host.log" | grep '^tessel:' | sed 's/^/  /'
