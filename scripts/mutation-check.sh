#!/usr/bin/env bash
# Plants each fault of scripts/mutations.tsv (flipped comparisons, off-by-one
# positions, dropped resets and checks, swapped fields) into the sources, one
# at a time; rebuilds; runs the host tests and the Windows test programs; puts
# the source back; and prints which faults the tests caught and which survived.
# Run by hand after a build (scripts/build.sh), not by the test command:
#   scripts/mutation-check.sh                  every fault
#   scripts/mutation-check.sh drawing parsing  only the faults of these areas
#   scripts/mutation-check.sh -n 5             only the first five faults
#   --no-baseline                              skip the run without a fault
#                                              (when the tests just passed)
#   -R REGEX                                   only the test programs whose
#                                              CTest names match (host_tests,
#                                              print_tests, ...)
#   VERDALIS_MUTATION_PACKAGE=1 ...            also run the package tests
# A test program that fails stops the run of that fault (one failure is
# enough). Leaves the tree as it found it, also when interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build/host ] && [ -d build/windows ] || { echo "mutation-check: build first (scripts/build.sh)" >&2; exit 2; }
exclude='^package'
only=.
[ "${VERDALIS_MUTATION_PACKAGE:-0}" = 1 ] && exclude='^$'
log=build/mutation-check.log
: >"$log"

# mutate <n> apply|restore: one fault, by its line number among the faults.
mutate() {
  python3 - "$1" "$2" <<'PY'
import re, sys, pathlib
n, action = int(sys.argv[1]), sys.argv[2]
unescape = lambda s: re.sub(r'\\(.)', lambda m: {'n': '\n', 't': '\t'}.get(m.group(1), m.group(1)), s)
rows = [l.rstrip('\n').split('\t') for l in open('scripts/mutations.tsv', encoding='utf-8') if not l.startswith('#')]
area, path, old, new, what = rows[n - 1]
old, new = unescape(old), unescape(new)
file = pathlib.Path(path)
saved = pathlib.Path('build/mutation-original')
if action == 'apply':
    text = file.read_text(encoding='utf-8')
    if text.count(old) != 1:
        sys.exit(f'mutation-check: fault {n} ({path}): the text to replace occurs {text.count(old)} times')
    saved.write_text(path + '\n' + text, encoding='utf-8')
    file.write_text(text.replace(old, new), encoding='utf-8')
elif saved.exists():
    path, text = saved.read_text(encoding='utf-8').split('\n', 1)
    pathlib.Path(path).write_text(text, encoding='utf-8')
    saved.unlink()
PY
}
trap 'mutate 0 restore' EXIT
mutate 0 restore  # a fault left behind by a killed run

build() { cmake --build --preset host && cmake --build --preset windows; }
run() { ctest --preset host -R "$only" --stop-on-failure && scripts/wine-prefix.sh test &&
  ctest --preset windows -R "$only" -E "$exclude" --stop-on-failure; }
limit=0
baseline=1
areas=()
while [ $# -gt 0 ]; do
  case $1 in
    -n) limit=$2; shift 2 ;;
    --no-baseline) baseline=0; shift ;;
    -R) only=$2; shift 2 ;;
    *) areas+=("$1"); shift ;;
  esac
done
# A fault counts as caught only if the tests pass without it.
if [ "$baseline" = 1 ] && ! { build && run; } >build/mutation-run.log 2>&1; then
  echo "mutation-check: the tests fail without any fault planted (build/mutation-run.log)" >&2
  exit 1
fi
mapfile -t faults < <(grep -v '^#' scripts/mutations.tsv)
caught=0
survived=()
unbuilt=0
total=0
for i in "${!faults[@]}"; do
  # Tabs only: an empty replacement is a field of its own.
  area=$(cut -f1 <<<"${faults[$i]}")
  path=$(cut -f2 <<<"${faults[$i]}")
  what=$(cut -f5 <<<"${faults[$i]}")
  if [ ${#areas[@]} -gt 0 ] && [[ ! " ${areas[*]} " == *" $area "* ]]; then continue; fi
  n=$((i + 1))
  [ "$limit" -gt 0 ] && [ "$n" -gt "$limit" ] && break
  total=$((total + 1))
  mutate "$n" apply
  echo "== fault $n ($area, $path): $what" >>"$log"
  if ! build >>"$log" 2>&1; then
    verdict="does not build"
    unbuilt=$((unbuilt + 1))
  elif ! ctest --preset host -R "$only" --stop-on-failure >>"$log" 2>&1; then
    verdict="caught (host_tests)"
    caught=$((caught + 1))
  elif ! (scripts/wine-prefix.sh test && ctest --preset windows -R "$only" -E "$exclude" --stop-on-failure) >build/mutation-run.log 2>&1; then
    cat build/mutation-run.log >>"$log"
    verdict="caught ($(grep -oE '[a-z_]+ \.+\*+[A-Za-z]+' build/mutation-run.log | head -1 | cut -d' ' -f1))"
    caught=$((caught + 1))
  else
    verdict=SURVIVED
    survived+=("$n ($area, $path): $what")
  fi
  mutate "$n" restore
  printf 'fault %2d %-9s %-8s %s: %s\n' "$n" "$verdict" "$area" "$path" "$what"
done
build >>"$log" 2>&1 || echo "mutation-check: the restored tree does not build" >&2
echo "mutation-check: $caught of $total faults caught, ${#survived[@]} survived, $unbuilt did not build (log: $log)"
for s in "${survived[@]}"; do echo "  survived: fault $s"; done
