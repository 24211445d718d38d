#!/usr/bin/env bash
# Times a GTK 3 file manager's context menu of a selected file: from the key press that selects
# the file (Home and End in turns, between two files: Nemo and Caja build their context menu
# when the selection changes) and Shift+F10 to the menu's window being mapped, 20 tries each, in the real Nemo, Caja or Thunar on a
# virtual display and a private session bus. Measured in one run: the file manager without any
# module, and with Tessel's module on an empty snapshot, on snapshots whose whole hierarchy is
# shown (83, 134 and 364 rows), and on the full snapshot (20 favourites, 400 folders, 20 recent
# destinations: 1406 rows, beyond the module's row budget, so "Move through Folders…" stands for
# the hierarchy). Prints the medians, their ratios to the file manager without a module, and
# the cost of a row worked out from the shown hierarchies.
#
#   bench/gtk-menu.sh nemo|caja|thunar BUILD_DIR [TRIES]
#
# Each configuration mounts a folder holding just its module over the file manager's extension
# folder, in a private mount namespace (root). Exits 0 with a message when the file manager,
# Xvfb, xdotool, the timer, the module or a mount namespace is missing. A menu not mapped within
# 30 s counts as 30 s.
set -euo pipefail

skip() {
  echo "skipped: $*"
  exit 0
}

export FILE_MANAGER=${FILE_MANAGER:-${1:?usage: $0 nemo|caja|thunar BUILD_DIR [TRIES]}}
# shellcheck source=../scripts/files-session.sh
source "$(dirname "$0")/../scripts/files-session.sh"

case "${TESSEL_FILES_STAGE:-start}" in
start)
  build=$(realpath "${2:?usage: $0 nemo|caja|thunar BUILD_DIR [TRIES]}")
  for file in bin/tessel_menu_map_timer "lib/tessel-$FILE_MANAGER.so"; do
    [ -e "$build/$file" ] || skip "$build/$file was not built"
  done
  files_enter_namespace 0 "$1" "$build" "${3:-20}"
  ;;

namespace)
  build=$2 tries=$3
  files_prepare "tessel-$FILE_MANAGER-bench"
  mkdir -p "$home/work" && touch "$home/work/report.pdf" "$home/work/summary.pdf"
  export TESSEL_HOST_EXECUTABLE=/bin/true
  export TESSEL_FILES_BENCH_TIMER=$build/bin/tessel_menu_map_timer TESSEL_FILES_BENCH_TRIES=$tries
  snapshots=$(dirname "$0")/files/snapshot.sh

  # name|snapshot (none: no module)|rows of the menu
  configurations=(
    "$FILE_MANAGER without a module||"
    "Tessel, empty snapshot|empty|5"
    "Tessel, 83 rows|small|83"
    "Tessel, 134 rows|edge|134"
    "Tessel, 364 rows|wide|364"
    "Tessel, full snapshot|full|"
  )
  declare -A median
  for configuration in "${configurations[@]}"; do
    IFS='|' read -r name snapshot rows <<<"$configuration"
    rm -f "$work/modules/"* "$container/menu.json"
    if [ -n "$snapshot" ]; then
      cp "$build/lib/tessel-$FILE_MANAGER.so" "$work/modules/"
      "$snapshots" "$snapshot" "$home" >"$container/menu.json"
    fi
    log=$work/$(echo "$name" | tr -c 'a-zA-Z0-9\n' -).log
    TESSEL_FILES_STAGE=session TESSEL_FILES_BENCH_LOG=$log dbus-run-session -- "$0" >"$log.times" 2>/dev/null || true
    times=$(sed 's/^timeout$/30000/' "$log.times" | grep -E '^[0-9.]+$' | sort -n || true)
    count=$(printf '%s' "$times" | grep -c . || true)
    if [ "$count" -eq 0 ]; then
      median[$name]=
      printf '%-30s no try was made (kept: %s)\n' "$name" "$work"
      continue
    fi
    median[$name]=$(printf '%s\n' "$times" | awk -v n="$count" 'NR == int((n + 1) / 2) { print }')
    printf '%-30s median %8.1f ms  min %8.1f  max %8.1f  (%d tries)  criticals %d\n' \
      "$name" "${median[$name]}" "$(printf '%s\n' "$times" | head -1)" \
      "$(printf '%s\n' "$times" | tail -1)" "$count" "$(grep -c CRITICAL "$log" || true)"
  done

  baseline="$FILE_MANAGER without a module"
  echo "ratios of the medians to $baseline:"
  for configuration in "${configurations[@]:1}"; do
    IFS='|' read -r name _ _ <<<"$configuration"
    [ -n "${median[$name]:-}" ] && [ -n "${median[$baseline]:-}" ] || continue
    awk -v a="${median[$name]}" -v b="${median[$baseline]}" -v n="$name" \
      'BEGIN { printf "  %-30s %.2fx\n", n, a / b }'
  done
  if [ -n "${median[Tessel, 364 rows]:-}" ] && [ -n "${median[Tessel, empty snapshot]:-}" ]; then
    awk -v a="${median[Tessel, 364 rows]}" -v b="${median[Tessel, empty snapshot]}" \
      'BEGIN { printf "cost of a row: %.3f ms ((364 rows - empty) / 359)\n", (a - b) / 359 }'
  fi
  rm -rf "$work"
  ;;

session)
  files_open_window "$TESSEL_FILES_BENCH_LOG" "$HOME/work"
  sleep 4  # the folder loads
  xdotool windowfocus "$window"  # no window manager gives it the focus
  "$TESSEL_FILES_BENCH_TIMER" "$TESSEL_FILES_BENCH_TRIES" 700 - Home End
  files_quit
  sleep 0.5
  ;;
esac
