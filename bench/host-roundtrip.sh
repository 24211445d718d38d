#!/usr/bin/env bash
# The host application's figures, all in one run on a private session bus that can start the
# host from a service file, as a desktop session's bus does:
# - starting tessel-finder alone (reading the same menu, sending nothing): the baseline;
# - the round trip from `tessel-finder run` to the file being moved with the host running,
#   reached on the bus, and reached without the bus (a second `tessel` handing the URL over
#   through the host's socket);
# - the first request, which has to start the host: started by the bus (D-Bus activation),
#   beside tessel-finder starting `tessel --background-command URL` cold;
# - the host's resident memory when idle.
# Usage: host-roundtrip.sh [BUILD_TREE] [MOVES] [COLD_STARTS]
set -euo pipefail
build=${1:-build}
moves=${2:-50}
colds=${3:-10}
bin=$(cd "$build/bin" && pwd)

if [ -z "${TESSEL_BENCH_WORK:-}" ]; then
  TESSEL_BENCH_WORK=$(mktemp -d /tmp/tessel-bench-XXXXXX)
  export TESSEL_BENCH_WORK
  mkdir -p "$TESSEL_BENCH_WORK/services"
  printf '[D-BUS Service]\nName=com.quillmark.Tessel\nExec=%s/tessel --background-command\n' \
    "$bin" >"$TESSEL_BENCH_WORK/services/com.quillmark.Tessel.service"
  exec "$(dirname "$0")/../scripts/bus-with-services.sh" "$TESSEL_BENCH_WORK/services" \
    "$0" "$@"
fi
source "$(dirname "$0")/../scripts/wait-for.sh"

work=$TESSEL_BENCH_WORK
host=
cleanup() {
  if [ -n "$host" ]; then kill "$host" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen LANGUAGE=en
unset TESSEL_HOST_EXECUTABLE TESSEL_INFO_FILE
dbus-update-activation-environment HOME XDG_DATA_HOME XDG_RUNTIME_DIR QT_QPA_PLATFORM LANGUAGE
mkdir -p "$HOME/Inbox" "$HOME/Archive" "$XDG_DATA_HOME/Tessel" "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
id=$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)
printf '{"favorites":[{"id":"%s","name":"Archive","path":"%s","bookmark":""}],"roots":[],"recent":[],"policy":"keepBoth"}' \
  "$id" "$HOME/Archive" >"$XDG_DATA_HOME/Tessel/settings.json"

# Ends the host that owns the name, waiting until it is gone.
stop_host() {
  local pid
  pid=$(bus_host)
  [ -n "$pid" ] || return 0
  kill "$pid"
  wait_for "the host's end" test ! -e "/proc/$pid"
}

# Milliseconds between two $EPOCHREALTIME readings.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", (b - a) * 1000 }'; }
# "median p95" of the numbers on standard input.
summary() {
  sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                                      p = v[int(NR * 0.95 + 0.999)]; printf "%.2f %.2f\n", m, p }'
}
# move_timed LABEL [VARIABLE=VALUE...]: one file moved by `tessel-finder run` in the given
# environment, timed until it is in the favourite; the milliseconds go to $work/LABEL.
count=0
move_timed() {
  local label=$1
  shift
  count=$((count + 1))
  local file="$HOME/Inbox/item-$count.txt"
  echo "$count" >"$file"
  local start=$EPOCHREALTIME
  env "$@" "$bin/tessel-finder" run "Move To > Archive" --select "$file"
  until [ -e "$HOME/Archive/item-$count.txt" ]; do :; done
  elapsed "$start" "$EPOCHREALTIME" >>"$work/$label"
}

# The menu snapshot, which tessel-finder reads, is published by a first host.
"$bin/tessel-finder" run "Open Move Settings…"
wait_for "the menu snapshot" test -s "$XDG_DATA_HOME/group.com.quillmark.Tessel/menu.json"
stop_host

# Cold starts: each first request starts a new host, by the bus or as a program.
for _ in $(seq "$colds"); do
  move_timed cold-bus
  stop_host
  move_timed cold-program TESSEL_HOST_EXECUTABLE="$bin/tessel"
  stop_host
done

"$bin/tessel" --background-command 2>/dev/null &
host=$!
wait_for "the host's name on the bus" bus_host_is "$host"
echo probe >"$HOME/Inbox/probe.txt"
for _ in $(seq "$moves"); do
  start=$EPOCHREALTIME
  "$bin/tessel-finder" menu --select "$HOME/Inbox/probe.txt" >/dev/null
  elapsed "$start" "$EPOCHREALTIME" >>"$work/alone"
  move_timed bus
  move_timed socket TESSEL_HOST_EXECUTABLE="$bin/tessel"
done

sleep 2
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$host/status")
row() {
  local median p95
  read -r median p95 < <(summary <"$work/$2")
  printf '  %-58s median %8s   p95 %8s' "$1" "$median" "$p95"
  [ -z "${3:-}" ] || awk -v m="$median" -v p="$p95" -v b="$3" \
    'BEGIN { printf "   %.1fx / %.1fx the baseline median", m / b, p / b }'
  echo
}
read -r alone_median _ < <(summary <"$work/alone")
echo "Host round trip over $moves moves, $colds cold starts (milliseconds, wall time)"
row "tessel-finder alone (menu, nothing sent)" alone
row "host running, reached on the bus" bus "$alone_median"
row "host running, reached through a second tessel" socket "$alone_median"
row "first request, host started by the bus" cold-bus
row "first request, tessel --background-command started cold" cold-program
echo "  host resident memory when idle: $((rss / 1024)) MiB ($rss KiB)"
