#!/usr/bin/env bash
# Times Dolphin's context menu of a selected file: from the key press (Menu) to the menu's
# window being mapped, 20 tries each, in real Dolphin on a virtual display and a private
# session bus. Measured in one run: Dolphin without the plugin, and Dolphin with
# tessel-dolphin.so on the empty and on the full snapshot (20 favourites, 400 folders, 20
# recent destinations). Prints the medians and their ratios to Dolphin without the plugin.
#
#   bench/dolphin-menu.sh BUILD_DIR [TRIES]
#
# Dolphin finds the plugin through QT_PLUGIN_PATH. Exits 0 with a message when Dolphin, Xvfb,
# xdotool or the timer is missing. A menu not mapped within 30 s counts as 30 s.
set -euo pipefail

skip() {
  echo "skipped: $*"
  exit 0
}

# shellcheck source=../scripts/files-session.sh
source "$(dirname "$0")/../scripts/files-session.sh"

case "${TESSEL_DOLPHIN_STAGE:-start}" in
start)
  build=$(realpath "${1:?usage: $0 BUILD_DIR [TRIES]}")
  for tool in dolphin kbuildsycoca5 Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  for file in bin/tessel_menu_map_timer dolphin-plugins/kf5/kfileitemaction/tessel-dolphin.so; do
    [ -e "$build/$file" ] || skip "$build/$file was not built"
  done
  desktop_prepare tessel-dolphin-bench
  touch "$home/report.pdf"
  mkdir -p "$work/no-plugins"
  export TESSEL_HOST_EXECUTABLE=/bin/true QT_QPA_PLATFORM=xcb
  export TESSEL_DOLPHIN_BENCH_TIMER=$build/bin/tessel_menu_map_timer TESSEL_DOLPHIN_BENCH_TRIES=${2:-20}

  # name|plugin folder|snapshot
  configurations=(
    "Dolphin without the plugin|$work/no-plugins|"
    "Tessel, empty snapshot|$build/dolphin-plugins|empty"
    "Tessel, full snapshot|$build/dolphin-plugins|full"
  )
  declare -A median
  for configuration in "${configurations[@]}"; do
    IFS='|' read -r name plugins snapshot <<<"$configuration"
    rm -f "$container/menu.json"
    [ -n "$snapshot" ] && "$(dirname "$0")/files/snapshot.sh" "$snapshot" "$home" >"$container/menu.json"
    times=$work/$(echo "$name" | tr -c 'a-zA-Z0-9\n' -).times
    QT_PLUGIN_PATH=$plugins TESSEL_DOLPHIN_STAGE=session dbus-run-session -- "$0" >"$times" 2>/dev/null || true
    sorted=$(sed 's/^timeout$/30000/' "$times" | grep -E '^[0-9.]+$' | sort -n || true)
    count=$(printf '%s' "$sorted" | grep -c . || true)
    if [ "$count" -eq 0 ]; then
      printf '%-28s no try was made (kept: %s)\n' "$name" "$work"
      continue
    fi
    median[$name]=$(printf '%s\n' "$sorted" | awk -v n="$count" 'NR == int((n + 1) / 2) { print }')
    printf '%-28s median %8.1f ms  min %8.1f  max %8.1f  (%d tries)\n' "$name" "${median[$name]}" \
      "$(printf '%s\n' "$sorted" | head -1)" "$(printf '%s\n' "$sorted" | tail -1)" "$count"
  done

  echo "ratios of the medians:"
  for name in "Tessel, empty snapshot" "Tessel, full snapshot"; do
    base=${median["Dolphin without the plugin"]:-} value=${median[$name]:-}
    [ -n "$base" ] && [ -n "$value" ] &&
      awk -v a="$value" -v b="$base" -v n="$name" 'BEGIN { printf "  %-28s %.2fx Dolphin without the plugin\n", n, a / b }'
  done
  rm -rf "$work"
  ;;

session)
  work=$TESSEL_FILES_WORK
  # KDE's first start in a fresh configuration: the service cache Dolphin reads.
  kbuildsycoca5 >/dev/null 2>&1 || true
  dolphin --new-window --select "$HOME/report.pdf" >>"$work/dolphin.log" 2>&1 &
  dolphin=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --class dolphin | head -1)
  sleep 3  # the folder loads and the file is selected
  xdotool windowfocus "$window"  # no window manager gives it the focus
  sleep 0.5
  "$TESSEL_DOLPHIN_BENCH_TIMER" "$TESSEL_DOLPHIN_BENCH_TRIES" 700 Menu
  kill "$dolphin" 2>/dev/null || true
  wait "$dolphin" 2>/dev/null || true
  ;;
esac
