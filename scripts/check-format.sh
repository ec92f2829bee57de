#!/usr/bin/env bash
# Checks every C++ source against the project's .clang-format.
#   scripts/check-format.sh        lists the files that differ; exit 1 if any
#   scripts/check-format.sh --fix  rewrites them
# Ends with "format: N files differ".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
fix=${1:-}
passed=0
failed=0
while IFS= read -r f; do
  if [ "$fix" = --fix ]; then
    clang-format -i "$f"
  fi
  if clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "format differs: $f"
  fi
done < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.c')
echo "format: $failed files differ ($passed as they should be)"
[ "$failed" -eq 0 ]
