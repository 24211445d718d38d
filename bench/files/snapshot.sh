#!/usr/bin/env bash
# Prints a menu snapshot ("menu.json") watching HOME: empty (no favourites), small (3
# favourites, 18 folders below them, 2 recent destinations: a menu of 83 rows), edge (5
# favourites, 30 folders, 3 recent: 134 rows, just within the Files module's row budget of 140),
# wide (14 favourites, 84 folders, 8 recent: 364 rows, for the GTK 3 modules' budget) or full (20 favourites with 4 folders of 4 each, 400 folders, and 20 recent destinations),
# named as in the menu benchmark.
#
#   bench/files/snapshot.sh empty|small|edge|wide|full HOME
set -euo pipefail
kind=$1 home=$2

# A destination and its children: folder NAME PATH [CHILD_JSON...]
folder() {
  local name=$1 path=$2
  shift 2
  local IFS=,
  printf '{"name":"%s","path":"%s","children":[%s]}' "$name" "$path" "$*"
}

case $kind in
empty) favourites=0 width=0 ;;
small) favourites=3 width=2 ;;
edge) favourites=5 width=2 ;;
wide) favourites=14 width=2 ;;
full) favourites=20 width=4 ;;
*) echo "unknown snapshot: $kind" >&2; exit 2 ;;
esac

favouriteList=() recentList=()
for ((f = 0; f < favourites; f++)); do
  path="$home/Favourite $f"
  children=()
  for ((c = 0; c < width; c++)); do
    child="$path/Projekt – 書類 $c"
    grandchildren=()
    for ((g = 0; g < width; g++)); do
      grandchildren+=("$(folder "Jahr $((2020 + g))" "$child/Jahr $((2020 + g))")")
    done
    children+=("$(folder "Projekt – 書類 $c" "$child" "${grandchildren[@]}")")
  done
  favouriteList+=("$(folder "Favourite $f" "$path" "${children[@]}")")
  if ((f % 2)) && ((width > 0)); then
    recentList+=("$(folder "Projekt – 書類 0" "$path/Projekt – 書類 0")")
  elif ((f < 2 || favourites == 20)); then
    recentList+=("$(folder "Favourite $f" "$path")")
  fi
done
IFS=,
printf '{"roots":["%s"],"favorites":[%s],"recent":[%s]}\n' "$home" "${favouriteList[*]}" "${recentList[*]}"
