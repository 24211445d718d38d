#!/usr/bin/env bash
# Builds the normal test suites with gcc's coverage instrumentation in a tree of their own, runs
# them on a private bus, and prints line and branch coverage for each folder of src/ and in total.
# Branches that only an exception or unreachable code would take are left out: they make the
# figure noise, not signal.
set -euo pipefail
build=${1:-build/coverage}
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage" \
  -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage \
  -DCMAKE_MODULE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build" -j "$jobs"
find "$build" -name '*.gcda' -delete
if ! scripts/run-tests.sh "$build" >"$build/coverage-tests.log" 2>&1; then
  tail -n 30 "$build/coverage-tests.log"
  echo "Some tests failed (see $build/coverage-tests.log); the figures below leave them out."
fi
# Tests run in parallel and some are multi-threaded, so a few branch counters race and read as
# negative; gcovr is told to skip those lines rather than give up.
gcovr --root . --object-directory "$build" --filter 'src/' --exclude-throw-branches \
  --exclude-unreachable-branches --gcov-ignore-parse-errors --json-summary "$build/coverage.json" \
  -j "$jobs" >"$build/gcovr.log" 2>&1
python3 - "$build/coverage.json" <<'PY'
import collections, json, os, sys
folders = collections.defaultdict(lambda: [0, 0, 0, 0])
for f in json.load(open(sys.argv[1]))["files"]:
    row = folders[os.path.dirname(f["filename"])]
    row[0] += f["line_covered"]; row[1] += f["line_total"]
    row[2] += f["branch_covered"]; row[3] += f["branch_total"]
def percent(covered, total):
    return f"{100.0 * covered / total:6.1f}%" if total else "     -"
print(f"{'folder':<22}{'lines':>16}{'line %':>9}{'branches':>16}{'branch %':>10}")
total = [0, 0, 0, 0]
for name in sorted(folders):
    row = folders[name]
    total = [a + b for a, b in zip(total, row)]
    print(f"{name:<22}{row[0]:>7} / {row[1]:<6}{percent(row[0], row[1]):>9}"
          f"{row[2]:>7} / {row[3]:<6}{percent(row[2], row[3]):>10}")
print(f"{'total':<22}{total[0]:>7} / {total[1]:<6}{percent(total[0], total[1]):>9}"
      f"{total[2]:>7} / {total[3]:<6}{percent(total[2], total[3]):>10}")
PY
