#!/usr/bin/env bash
# Kills `tessel-engine move` with SIGKILL at a random moment of a batch, then kills the undo
# that follows at a random moment of its own, then checks that a last `tessel-engine undo`
# restores the tree exactly: the same names, kinds, contents and inode numbers, nothing lost or
# overwritten, and a journal left with no entries.
#
#   scripts/crash-test.sh ENGINE [KILL_POINTS]
#
# The engine pauses TESSEL_ENGINE_STEP_DELAY_US before every journal write and every move (a
# hook of the command-line driver, not of the engine), which spreads the kills over every step:
# before the batch's first write, between any two of its moves, before its last write, and
# the same for the undo. Prints how many kill points passed; exits 1 when any failed.
set -euo pipefail

engine=$(realpath "$1")
points=${2:-50}
pause_us=${TESSEL_CRASH_STEP_DELAY_US:-1500}
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-crash-XXXXXX")
trap 'rm -rf "$work"' EXIT
tree=$work/tree
journal=$work/journal/undo.json

# Files and folders with name conflicts: twins in two source folders, and names already taken
# in the destination, so the batch uses keep-both names.
make_tree() {
  rm -rf "$tree" "$work/journal"
  mkdir -p "$tree/Sources/A/Folder/Inner" "$tree/Sources/B/Folder" "$tree/Archive/Folder"
  for i in $(seq 1 10); do printf 'a%s' "$i" >"$tree/Sources/A/file$i.txt"; done
  for i in $(seq 1 4); do printf 'b%s' "$i" >"$tree/Sources/B/file$i.txt"; done
  printf deep >"$tree/Sources/A/Folder/Inner/deep"
  printf other >"$tree/Sources/B/Folder/x"
  printf kept >"$tree/Archive/file1.txt"
  printf kept2 >"$tree/Archive/file1 (2).txt"
  printf rc >"$tree/Sources/A/.bashrc"
}

# Every item: path, kind, inode, and the checksum of each file's content.
picture() {
  (cd "$tree" && find . -printf '%p %y %i\n' | LC_ALL=C sort &&
    find . -type f -exec sha1sum {} + | LC_ALL=C sort)
}

# Runs the batch as this shell's direct child (exec), so that its pid is the engine's own.
move_batch() {
  local sources=("$tree"/Sources/A/* "$tree"/Sources/A/.bashrc "$tree"/Sources/B/*)
  TESSEL_ENGINE_STEP_DELAY_US=$pause_us exec "$engine" move --journal "$journal" \
    --source-root "$tree/Sources" --destination-root "$tree/Archive" \
    --to "$tree/Archive" "${sources[@]}"
}

undo_batch() {
  TESSEL_ENGINE_STEP_DELAY_US=${1:-0} exec "$engine" undo --journal "$journal" \
    --source-root "$tree/Sources" --destination-root "$tree/Archive"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Runs a command in the background and kills it with SIGKILL after a random part of `span` ms.
kill_at_random() {
  local span=$1
  shift
  local delay_ms=$(((RANDOM * 32768 + RANDOM) % span))
  ("$@" >/dev/null 2>&1) &
  local pid=$!
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$delay_ms"
}

# How long a whole batch and its undo take, so kills land anywhere from before the first step
# to after the last.
make_tree
start=$(now_ms)
(move_batch >/dev/null)
span=$(($(now_ms) - start + 20))
start=$(now_ms)
(undo_batch "$pause_us" >/dev/null)
undo_span=$(($(now_ms) - start + 20))

passed=0
interrupted=0
cut_short=0
for point in $(seq 1 "$points"); do
  make_tree
  before=$(picture)
  delay_ms=$(kill_at_random "$span" move_batch)
  if grep -q '"pending":true' "$journal" 2>/dev/null; then interrupted=$((interrupted + 1)); fi
  undo_delay_ms=$(kill_at_random "$undo_span" undo_batch "$pause_us")
  if [ -e "$journal" ] && ! grep -q '"entries":\[\]' "$journal"; then cut_short=$((cut_short + 1)); fi

  problem=""
  if ! undone=$( (undo_batch) 2>&1); then
    problem="undo failed: $undone"
  elif [ "$(picture)" != "$before" ]; then
    problem="tree differs: $(diff <(echo "$before") <(picture) | head -n 5 | tr '\n' ' ')"
  elif [ -e "$journal" ] && ! grep -q '"entries":\[\]' "$journal"; then
    problem="journal keeps entries: $(cat "$journal")"
  fi
  if [ -z "$problem" ]; then
    passed=$((passed + 1))
  else
    echo "kill point $point (move killed after ${delay_ms} ms, undo after ${undo_delay_ms} ms):" \
      "$problem"
  fi
done

echo "crash test: $passed of $points kill points passed ($interrupted moves left pending" \
  "entries, $cut_short undos were killed with entries left; batch takes ~${span} ms, its undo" \
  "~${undo_span} ms)"
[ "$passed" -eq "$points" ]
