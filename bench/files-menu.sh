#!/usr/bin/env bash
# Times Files' context menu of a selected file: from the key press (Shift+F10) to the menu's
# window being mapped, 20 tries each, in real GNOME Files on a virtual display and a private
# session bus. Measured in one run: Files without any module, Files with a module of the same
# shape as Tessel's full menu (bench/files/ShapeModule.cpp, no Tessel code; once with plain
# labels, once with its submenus' page names kept apart as Tessel keeps them; then as many rows
# in one submenu, and as many submenus with one row each, to tell whether Files' cost follows
# the rows or the nesting), and Files with tessel-nautilus.so on an empty, a small and the full
# snapshot (20 favourites, 400 folders, 20 recent destinations). Prints the medians and their
# ratios, and the warnings Files printed.
#
#   bench/files-menu.sh BUILD_DIR [TRIES]
#
# Files loads modules only from its own extension folder, so each configuration mounts a
# folder holding just its module over it, in a private mount namespace (root). Exits 0 with a
# message when Files, Xvfb, xdotool, the timer or a mount namespace is missing. A menu not
# mapped within 30 s counts as 30 s.
set -euo pipefail

skip() {
  echo "skipped: $*"
  exit 0
}

# shellcheck source=../scripts/files-session.sh
source "$(dirname "$0")/../scripts/files-session.sh"

case "${TESSEL_FILES_STAGE:-start}" in
start)
  build=$(realpath "${1:?usage: $0 BUILD_DIR [TRIES]}")
  for file in bin/tessel_menu_map_timer lib/tessel-nautilus.so lib/tessel-bench-shape-module.so; do
    [ -e "$build/$file" ] || skip "$build/$file was not built"
  done
  files_enter_namespace 0 "$build" "${2:-20}"
  ;;

namespace)
  build=$1 tries=$2
  files_prepare tessel-files-bench
  touch "$home/report.pdf"
  export TESSEL_HOST_EXECUTABLE=/bin/true
  export TESSEL_FILES_BENCH_TIMER=$build/bin/tessel_menu_map_timer TESSEL_FILES_BENCH_TRIES=$tries
  snapshots=$(dirname "$0")/files/snapshot.sh

  # name|module|snapshot|distinct pages|shape module's shape
  configurations=(
    "Files without a module||"
    "same-shaped module|tessel-bench-shape-module.so|"
    "same shape, pages apart|tessel-bench-shape-module.so||1"
    "same rows, one page|tessel-bench-shape-module.so||1|one-page"
    "same pages, a row each|tessel-bench-shape-module.so||1|one-row-pages"
    "Tessel, empty snapshot|tessel-nautilus.so|empty"
    "Tessel, small snapshot|tessel-nautilus.so|small"
    "Tessel, 134 rows|tessel-nautilus.so|edge"
    "Tessel, full snapshot|tessel-nautilus.so|full"
  )
  declare -A median
  for configuration in "${configurations[@]}"; do
    IFS='|' read -r name module snapshot distinct shape <<<"$configuration"
    rm -f "$work/modules/"*
    [ -n "$module" ] && cp "$build/lib/$module" "$work/modules/"
    rm -f "$container/menu.json"
    [ -n "$snapshot" ] && "$snapshots" "$snapshot" "$home" >"$container/menu.json"
    log=$work/$(echo "$name" | tr -c 'a-zA-Z0-9\n' -).log
    TESSEL_FILES_STAGE=session TESSEL_FILES_BENCH_LOG=$log \
      TESSEL_BENCH_DISTINCT_PAGES=$distinct TESSEL_BENCH_SHAPE=$shape dbus-run-session -- "$0" >"$log.times" 2>/dev/null || true
    # A try over 30 s counts as 30 s; the timer gives up after two in a row: so do the rest.
    late=$(grep -c '^timeout$' "$log.times" || true)
    if [ "$late" -ge 2 ]; then
      for _ in $(seq $(($(wc -l <"$log.times") + 1)) "$tries"); do echo timeout >>"$log.times"; done
    fi
    times=$(sed 's/^timeout$/30000/' "$log.times" | grep -E '^[0-9.]+$' | sort -n || true)
    count=$(printf '%s' "$times" | grep -c . || true)
    late=$(grep -c '^timeout$' "$log.times" || true)
    if [ "$count" -eq 0 ]; then
      median[$name]=
      printf '%-24s no try was made (kept: %s)\n' "$name" "$work"
      continue
    fi
    median[$name]=$(printf '%s\n' "$times" | awk -v n="$count" 'NR == int((n + 1) / 2) { print }')
    warnings=$(grep -c -E 'WARNING|CRITICAL' "$log" || true)
    duplicates=$(grep -c 'duplicate child name' "$log" || true)
    printf '%-24s median %8.1f ms  min %8.1f  max %8.1f  (%d tries, %d over 30 s)  warnings %d, of them duplicate pages %d\n' \
      "$name" "${median[$name]}" "$(printf '%s\n' "$times" | head -1)" \
      "$(printf '%s\n' "$times" | tail -1)" "$count" "$late" "$warnings" "$duplicates"
  done

  ratio() {
    [ -n "${median[$1]:-}" ] && [ -n "${median[$2]:-}" ] || { echo "-"; return; }
    awk -v a="${median[$1]}" -v b="${median[$2]}" 'BEGIN { printf "%.1fx", a / b }'
  }
  echo "ratios of the medians:"
  for name in "same-shaped module" "same shape, pages apart" "same rows, one page" \
    "same pages, a row each" "Tessel, empty snapshot" "Tessel, small snapshot" \
    "Tessel, 134 rows" "Tessel, full snapshot"; do
    printf '  %-24s %s Files without a module\n' "$name" "$(ratio "$name" "Files without a module")"
  done
  for name in "same-shaped module" "same shape, pages apart"; do
    printf '  %-24s %s %s\n' "Tessel, full snapshot" "$(ratio "Tessel, full snapshot" "$name")" "$name"
  done
  for name in "same rows, one page" "same pages, a row each"; do
    printf '  %-24s %s same shape, pages apart\n' "$name" "$(ratio "$name" "same shape, pages apart")"
  done
  rm -rf "$work"
  ;;

session)
  files_open_window "$TESSEL_FILES_BENCH_LOG"
  sleep 3  # the folder loads
  nautilus --select "$HOME/report.pdf"
  sleep 2
  xdotool windowfocus "$window"  # no window manager gives it the focus
  sleep 0.5
  "$TESSEL_FILES_BENCH_TIMER" "$TESSEL_FILES_BENCH_TRIES"
  nautilus -q || true
  sleep 0.5
  ;;
esac
