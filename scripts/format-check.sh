#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format and names
# each one that does not, with the number of places clang-format would change
# (clang-format --dry-run --Werror decides).
#   scripts/format-check.sh              exit 1 if any file is not formatted
#   scripts/format-check.sh --warn-only  the same report, exit 0
#   scripts/format-check.sh --fix        reformat those files in place
# Pinned to clang-format 14 (Debian 12): other versions format differently.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-check}
case $mode in check | --warn-only | --fix) ;; *) echo "usage: format-check.sh [--warn-only|--fix]" >&2; exit 2 ;; esac

formatter=$(command -v clang-format-14 || true)
[ -n "$formatter" ] || { echo "format-check: clang-format-14 is missing (scripts/setup.sh installs it)" >&2; exit 1; }
[ -f .clang-format ] || { echo "format-check: no .clang-format at $(pwd)" >&2; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -type f -print | sed 's|^\./||' | sort)
fi
[ ${#files[@]} -gt 0 ] || { echo "format-check: no C++ files found" >&2; exit 1; }

# clang-format's own verdict, in one run over every file: --dry-run --Werror
# fails on any change it would make, trailing blank lines included, and
# prints one warning for each place.
report=$("$formatter" --style=file --fallback-style=none --dry-run --Werror "${files[@]}" 2>&1) && status=0 || status=$?
if [ "$status" -ne 0 ] && ! grep -q 'clang-format-violations' <<<"$report"; then
  echo "format-check: clang-format failed: $report" >&2
  exit 1
fi
mapfile -t bad < <(grep -o '^[^:]*:[0-9]*:[0-9]*: error: code should be clang-formatted' <<<"$report" | cut -d: -f1 | sort -u)
changed=$(grep -c 'clang-format-violations' <<<"$report" || true)
for file in "${bad[@]}"; do
  if [ "$mode" = --fix ]; then
    "$formatter" --style=file -i "$file"
    echo "format-check: reformatted $file"
  else
    echo "format-check: $file is not formatted ($(grep -c "^$file:.*clang-format-violations" <<<"$report") places would change)" >&2
  fi
done

if [ ${#bad[@]} -eq 0 ]; then
  echo "format-check: all ${#files[@]} C++ files follow .clang-format"
  exit 0
fi
if [ "$mode" = --fix ]; then
  echo "format-check: reformatted ${#bad[@]} of ${#files[@]} files"
  exit 0
fi
echo "format-check: ${#bad[@]} of ${#files[@]} C++ files do not follow .clang-format ($changed places);" \
  "run scripts/format-check.sh --fix" >&2
[ "$mode" = --warn-only ] && exit 0
exit 1
