#!/usr/bin/env bash
# Sets up, builds and runs every test headless: host tests (ASan and UBSan),
# the Windows tests under Wine, a short fuzzing run, the format check and
# clang-tidy. A
# failing build stops it; a failing test group does not stop the others, but
# the script exits non-zero at the end and names the groups that failed.
# It uses the test prefix only and leaves the viewer's prefix (build/wine-run) alone.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
failed=()
step() {  # step <name> <command...>: runs the command, records a failure
  local name=$1
  shift
  echo "test: $name"
  if ! "$@"; then
    echo "test: $name FAILED" >&2
    failed+=("$name")
    return 1
  fi
}
step host ctest --preset host --output-on-failure || true
# Every Windows test run starts from a stopped wineserver. Each test program
# runs once, in one Wine process; a failure is not retried.
step windows-prefix scripts/wine-prefix.sh test &&
  step windows ctest --preset windows --output-on-failure || true
step fuzz-build sh -c 'cmake --preset fuzz >/dev/null && cmake --build --preset fuzz' &&
  step fuzz ctest --preset fuzz || true
# Every C++ file follows .clang-format, by clang-format's own verdict.
step format scripts/format-check.sh || true
# The host build's sources pass the checks of .clang-tidy (about 40 s).
step tidy scripts/tidy-check.sh || true
# How the C++ lines divide between tests and code (a report, not a check).
scripts/count-lines.sh
if [ ${#failed[@]} -gt 0 ]; then
  echo "test: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test: all passed"
