#!/usr/bin/env bash
# The host application's figures: the round trip from `tessel-finder run` to the file being
# moved with the host running, beside the cost of starting tessel-finder alone (reading the
# same menu, sending nothing), and the host's resident memory when idle.
set -euo pipefail
build=${1:-build}
moves=${2:-50}
bin=$(cd "$build/bin" && pwd)

if [ -z "${TESSEL_BENCH_BUS:-}" ]; then
  export TESSEL_BENCH_BUS=1
  exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d /tmp/tessel-bench-XXXXXX)
host=
cleanup() {
  if [ -n "$host" ]; then kill "$host" 2>/dev/null || true; wait "$host" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/run"
export QT_QPA_PLATFORM=offscreen LANGUAGE=en
mkdir -p "$HOME/Inbox" "$HOME/Archive" "$XDG_DATA_HOME/Tessel" "$XDG_RUNTIME_DIR"
chmod 0700 "$XDG_RUNTIME_DIR"
id=$(tr '[:lower:]' '[:upper:]' </proc/sys/kernel/random/uuid)
printf '{"favorites":[{"id":"%s","name":"Archive","path":"%s","bookmark":""}],"roots":[],"recent":[],"policy":"keepBoth"}' \
  "$id" "$HOME/Archive" >"$XDG_DATA_HOME/Tessel/settings.json"

"$bin/tessel" --background-command 2>/dev/null &
host=$!
for _ in $(seq 200); do [ -s "$XDG_DATA_HOME/group.com.quillmark.Tessel/menu.json" ] && break; sleep 0.05; done

# Milliseconds between two $EPOCHREALTIME readings.
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f\n", (b - a) * 1000 }'; }
# "median p95" of the numbers on standard input.
summary() {
  sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                                      p = v[int(NR * 0.95 + 0.999)]; printf "%.2f %.2f\n", m, p }'
}

: >"$work/alone"
: >"$work/round"
for i in $(seq "$moves"); do
  file="$HOME/Inbox/item-$i.txt"
  echo "$i" >"$file"

  start=$EPOCHREALTIME
  "$bin/tessel-finder" menu --select "$file" >/dev/null
  elapsed "$start" "$EPOCHREALTIME" >>"$work/alone"

  start=$EPOCHREALTIME
  "$bin/tessel-finder" run "Move To > Archive" --select "$file"
  until [ -e "$HOME/Archive/item-$i.txt" ]; do :; done
  elapsed "$start" "$EPOCHREALTIME" >>"$work/round"
done

sleep 2
rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$host/status")
read -r alone_median alone_p95 < <(summary <"$work/alone")
read -r round_median round_p95 < <(summary <"$work/round")
ratio=$(awk -v r="$round_median" -v a="$alone_median" 'BEGIN { printf "%.1f", r / a }')
echo "Host round trip over $moves moves (milliseconds, wall time)"
printf '  %-44s median %8s   p95 %8s\n' "tessel-finder alone (menu, nothing sent)" "$alone_median" "$alone_p95"
printf '  %-44s median %8s   p95 %8s   %sx the baseline\n' "tessel-finder run until the file has moved" \
  "$round_median" "$round_p95" "$ratio"
echo "  host resident memory when idle: $((rss / 1024)) MiB ($rss KiB)"
