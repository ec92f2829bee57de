#!/usr/bin/env bash
# Sets up, builds and runs every test level:
#   1. native unit tests (ctest),
#   2. Windows-side tests under Wine,
#   3. end-to-end scenarios under Wine + Xvfb + xdotool.
# First the format of every source file against .clang-format (one test).
# Beside 2 and 3: the unit tests under the sanitizers, at a lower priority:
# the Wine level mostly waits for windows and keys, so its waits carry that
# build (CORVANE_SERIAL=1 runs it before them instead). Last, with the
# machine to themselves, the fuzz targets (CORVANE_FUZZ_SECONDS, default 20,
# per target): they run for a time, not a number of inputs.
# Ends with one line "N passed, N failed" over all levels.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" || { echo "setup failed"; exit 1; }
"$root/scripts/build.sh" native || { echo "build failed"; exit 1; }

passed=0
failed=0

echo "== Source format (scripts/check-format.sh), at $SECONDS s"
if "$root/scripts/check-format.sh"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

echo "== Native unit tests, at $SECONDS s"
ctest_log=$(mktemp)
(cd "$root/build/native" && ctest --output-on-failure -j 2) | tee "$ctest_log" | grep -v -E '^ *([0-9]+/[0-9]+ Test +#[0-9]+: .* Passed|Start +[0-9]+: )' || true
summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$ctest_log" | tail -1)
if [ -n "$summary" ]; then
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  nfail=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
  passed=$((passed + total - nfail))
  failed=$((failed + nfail))
else
  echo "native tests: no summary"
  failed=$((failed + 1))
fi
rm -f "$ctest_log"

# Adds the counts of the last "LABEL: N passed, N failed" line of a log.
add_counts() {  # label log
  local sum
  sum=$(grep -E "^$1: [0-9]+ passed, [0-9]+ failed" "$2" | tail -1)
  if [ -z "$sum" ]; then
    echo "$1: no summary"
    failed=$((failed + 1))
    return
  fi
  passed=$((passed + $(echo "$sum" | sed -E 's/.*: ([0-9]+) passed.*/\1/')))
  failed=$((failed + $(echo "$sum" | sed -E 's/.* ([0-9]+) failed.*/\1/')))
}

# The Windows deliverables are built before the sanitizer build starts, so
# that the Wine level starts as early as it can.
"$root/scripts/build.sh" win || { echo "build failed"; exit 1; }

# The unit tests under the sanitizers (the fuzz targets' build too).
sanitize_log=$(mktemp)
sanitize() {  # [nice]
  echo "== Native sanitize (scripts/hardening.sh sanitize), at $SECONDS s"
  "$@" "$root/scripts/hardening.sh" sanitize
  echo "== Native sanitize done, at $SECONDS s"
}
if [ -n "${CORVANE_SERIAL:-}" ]; then
  sanitize | tee "$sanitize_log"
else
  sanitize nice -n 10 >"$sanitize_log" 2>&1 &
  sanitize_pid=$!
fi

echo "== Windows-side and end-to-end tests under Wine, at $SECONDS s"
wine_log=$(mktemp)
"$root/scripts/test-wine.sh" | tee "$wine_log"
add_counts wine "$wine_log"
rm -f "$wine_log"
echo "== Wine level done, at $SECONDS s"

if [ -n "${sanitize_pid:-}" ]; then
  wait "$sanitize_pid"
  cat "$sanitize_log"
fi
add_counts sanitize "$sanitize_log"
rm -f "$sanitize_log"

echo "== Native fuzz (scripts/hardening.sh fuzz), at $SECONDS s"
fuzz_log=$(mktemp)
"$root/scripts/hardening.sh" fuzz | tee "$fuzz_log"
add_counts fuzz "$fuzz_log"
rm -f "$fuzz_log"

echo
echo "(all levels in $SECONDS s)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
