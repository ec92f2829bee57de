#!/usr/bin/env bash
# The native code under the sanitizers, and its fuzz targets.
#   scripts/hardening.sh sanitize   unit tests built with AddressSanitizer and
#                                   UndefinedBehaviorSanitizer (build/asan);
#                                   prints "sanitize: N passed, N failed"
#   scripts/hardening.sh fuzz       each fuzz target for CORVANE_FUZZ_SECONDS,
#                                   two at a time
#                                   (default 20) from its seed corpus; prints
#                                   "fuzz: N passed, N failed"
# With clang and libFuzzer present, one clang build serves both; otherwise the
# unit tests are sanitized with the default compiler and fuzzing is skipped.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-sanitize}
jobs=${CORVANE_JOBS:-2}
build=$root/build/asan
seconds=${CORVANE_FUZZ_SECONDS:-20}

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

fuzzer_works() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local dir
  dir=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' >"$dir/f.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$dir/f.cpp" -o "$dir/f" >/dev/null 2>&1
  local ok=$?
  rm -rf "$dir"
  return $ok
}

configure() {
  local compilers=() fuzz=OFF
  if fuzzer_works; then
    compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    fuzz=ON
  fi
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=ON -DCORVANE_FUZZ=$fuzz \
    "${compilers[@]}" >/dev/null
  cmake --build "$build" -j "$jobs" >"$build.log" 2>&1 || { tail -40 "$build.log"; return 1; }
}

sanitize() {
  configure || { echo "sanitize: 0 passed, 1 failed"; return 1; }
  local log summary total nfail
  log=$(mktemp)
  (cd "$build" && ctest --output-on-failure -j "$jobs") >"$log" 2>&1
  grep -E 'ERROR: AddressSanitizer|runtime error:|LeakSanitizer|\*\*\*Failed|\(Failed\)' "$log" | head -40
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  rm -f "$log"
  if [ -z "$summary" ]; then
    echo "sanitize: 0 passed, 1 failed"
    return 1
  fi
  total=$(echo "$summary" | sed -E 's/.* out of ([0-9]+).*/\1/')
  nfail=$(echo "$summary" | sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/')
  echo "sanitize: $((total - nfail)) passed, $nfail failed"
  [ "$nfail" -eq 0 ]
}

# One fuzz target for $seconds; its verdict line goes to $work/result.
fuzz_one() {  # target
  local target=$1 name corpus work log execs rc
  name=$(basename "$target" _fuzz)
  corpus=$root/tests/fuzz/corpus/$name
  work=$build/fuzz-work/$name
  mkdir -p "$work/corpus" "$work/crashes"
  rm -f "$work/crashes"/* "$work/result"
  log=$work/run.log
  # New inputs go to the work folder; the corpus in the tree stays as committed.
  (cd "$work/crashes" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 "$work/corpus" "$corpus") >"$log" 2>&1
  rc=$?
  execs=$(grep -E '^stat::number_of_executed_units' "$log" | sed -E 's/.*: *//')
  if [ "$rc" -eq 0 ]; then
    echo "PASS fuzz $name: ${execs:-?} runs in ${seconds}s" >"$work/result"
  else
    {
      echo "FAIL fuzz $name: ${execs:-?} runs; reproducer in $work/crashes"
      grep -E -A25 'PROPERTY BROKEN|ERROR: (Address|Leak)Sanitizer|runtime error:|deadly signal' "$log" | head -50
    } >"$work/result"
  fi
}

fuzz() {
  if ! fuzzer_works; then
    echo "fuzz: clang with libFuzzer not available, skipped"
    echo "fuzz: 0 passed, 0 failed"
    return 0
  fi
  # Up to date with the sources (after the sanitize step, nothing to do).
  configure || { echo "fuzz: 0 passed, 1 failed"; return 1; }
  # Two targets at a time, one a core.
  local passed=0 failed=0 target result running=0
  for target in "$build"/tests/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    if [ "$running" -ge 2 ]; then
      wait -n
      running=$((running - 1))
    fi
    fuzz_one "$target" &
    running=$((running + 1))
  done
  wait
  for target in "$build"/tests/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    result=$build/fuzz-work/$(basename "$target" _fuzz)/result
    if [ -f "$result" ] && head -1 "$result" | grep -q '^PASS'; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
    fi
    cat "$result" 2>/dev/null || echo "FAIL fuzz $(basename "$target" _fuzz): no verdict"
  done
  echo "fuzz: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

case "$what" in
  sanitize) sanitize ;;
  fuzz) fuzz ;;
  *) echo "usage: $0 sanitize|fuzz" >&2; exit 2 ;;
esac
