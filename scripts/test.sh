#!/usr/bin/env bash
# Sets up, builds and runs every test level:
#   1. native unit tests (ctest),
#   2. Windows-side tests under Wine,
#   3. end-to-end scenarios under Wine + Xvfb + xdotool.
# Between 1 and 2: the unit tests under the sanitizers and the fuzz targets
# (CORVANE_FUZZ_SECONDS, default 30, per target).
# Ends with one line "N passed, N failed" over all levels.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" || { echo "setup failed"; exit 1; }
"$root/scripts/build.sh" all || { echo "build failed"; exit 1; }

passed=0
failed=0

echo "== Native unit tests"
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

# Sanitized unit tests and the fuzz targets (CORVANE_FUZZ_SECONDS each).
for step in sanitize fuzz; do
  echo "== Native $step (scripts/hardening.sh $step)"
  hlog=$(mktemp)
  "$root/scripts/hardening.sh" "$step" | tee "$hlog"
  hsum=$(grep -E "^$step: [0-9]+ passed, [0-9]+ failed" "$hlog" | tail -1)
  if [ -n "$hsum" ]; then
    passed=$((passed + $(echo "$hsum" | sed -E 's/.*: ([0-9]+) passed.*/\1/')))
    failed=$((failed + $(echo "$hsum" | sed -E 's/.* ([0-9]+) failed.*/\1/')))
  else
    echo "$step: no summary"
    failed=$((failed + 1))
  fi
  rm -f "$hlog"
done

echo "== Windows-side and end-to-end tests under Wine"
wine_log=$(mktemp)
"$root/scripts/test-wine.sh" | tee "$wine_log"
wsum=$(grep -E '^wine: [0-9]+ passed, [0-9]+ failed' "$wine_log" | tail -1)
if [ -n "$wsum" ]; then
  passed=$((passed + $(echo "$wsum" | sed -E 's/wine: ([0-9]+) passed.*/\1/')))
  failed=$((failed + $(echo "$wsum" | sed -E 's/.* ([0-9]+) failed.*/\1/')))
else
  echo "wine tests: no summary"
  failed=$((failed + 1))
fi
rm -f "$wine_log"

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
