#!/usr/bin/env bash
# Counts C++ lines: every line (blank lines and comments included, as `wc -l`
# counts them) of the git-tracked *.cpp, *.cc, *.h, *.hpp and *.c files, in
# two heaps: tests/ against everything else outside bench/. Prints both and
# the tests' share of the total, and says when the tests are over a third
# (with --check it then exits 1; the test command only prints the count).
set -euo pipefail
cd "$(dirname "$0")/.."
count() {  # count <git ls-files filter>: total lines of the matching files
  git ls-files -z -- '*.cpp' '*.cc' '*.h' '*.hpp' '*.c' | grep -z "$@" | xargs -0r cat | wc -l
}
tests=$(count '^tests/')
code=$(count -v -e '^tests/' -e '^bench/')
total=$((tests + code))
percent=$((total ? 100 * tests / total : 0))
echo "lines: tests/ $tests, code outside tests/ and bench/ $code: tests are $percent % of $total"
if [ $((3 * tests)) -gt "$total" ]; then
  echo "lines: the tests are over a third of the C++ (a third is at most $((code / 2)) test lines: $((tests - code / 2)) too many)" >&2
  [ "${1:-}" = --check ] && exit 1
fi
exit 0
