#!/usr/bin/env bash
# The closing line of `make test`: every test run by ctest in the given build trees, added up.
set -euo pipefail
passed=0
failed=0
for build in "$@"; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$build/ctest.log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  failures=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - failures))
  failed=$((failed + failures))
done
echo "tests: $passed passed, $failed failed"
