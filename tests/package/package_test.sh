#!/usr/bin/env bash
# Tests a release package under Wine the way a reader on Windows uses it:
#   installer  setup.exe /S, the per-user files, the shortcut and the Apps
#              entry, the viewer started from the shortcut, the silent uninstall
#   zip        the zip's one folder against the stage folder, and the viewer
#              started from the unpacked folder
# It runs in the throw-away prefix build/wine-package (made and removed by the
# CTest fixtures) on a virtual display of its own.
# Usage: package_test.sh installer|zip <release dir> <version> <stage dir> <package_check.exe> <picture sources>
#        <number of sidebar bitmaps>
set -euo pipefail
kind=$1 release=$2 version=$3 stage=$4 checker=$5 pictures=$6 bitmap_count=$7
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh" package
[ -f "$WINEPREFIX/.verdalis-ready" ] || { echo "no prefix $WINEPREFIX" >&2; exit 1; }
work="$root/build/package-test-$kind"
rm -rf "$work"
mkdir -p "$work"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }
seconds() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.1f", b - a }'; }
files_in() { (cd "$1" && find . -type f | LC_ALL=C sort); }
check_wine() { wine "$@" 2>/dev/null | iconv -f cp932 -t utf-8; return "${PIPESTATUS[0]}"; }

# What ships: the stage folder, which must hold the viewer's files and nothing else.
expected=$(files_in "$stage")
layout_problems() {
  local list=$1 name
  for name in verdalis.exe jload.dll data imagelist.txt README.txt licenses/Verdalis.txt \
      licenses/mingw-w64-runtime.txt licenses/LICENSE.txt licenses/LICENSE-content.txt image/food_image/no; do
    grep -qxF "./$name" <<<"$list" || echo "$name is missing"
  done
  local bitmaps pictures_found total
  bitmaps=$(grep -c '^\./sidebar/[0-9][0-9]\.bmp$' <<<"$list" || true)
  pictures_found=$(grep -c '^\./image/food_image/[0-9]\{3\}[12]$' <<<"$list" || true)
  total=$(wc -l <<<"$list")
  [ "$bitmaps" -eq "$bitmap_count" ] || echo "$bitmaps sidebar bitmaps, expected $bitmap_count"
  [ "$pictures_found" -eq 254 ] || echo "$pictures_found entry pictures, expected 254"
  local expected_total=$((9 + bitmap_count + 255))
  [ "$total" -eq "$expected_total" ] ||
    echo "$total files, expected $expected_total (9 + $bitmap_count bitmaps + 255 pictures)"
}
stripped_problems() {
  local file
  for file in "$1/verdalis.exe" "$1/jload.dll"; do
    [[ $(LC_ALL=C x86_64-w64-mingw32-nm "$file" 2>&1) == *"no symbols"* ]] || echo "$(basename "$file") has symbols"
    [[ $(x86_64-w64-mingw32-objdump -h "$file") != *.debug* ]] || echo "$(basename "$file") has debug sections"
  done
}
same_content_problems() {  # every file but the two binaries, byte for byte
  local file
  while read -r file; do
    case $file in ./verdalis.exe | ./jload.dll) continue ;; esac
    cmp -s "$stage/$file" "$2/$file" || echo "$file differs from the stage folder"
  done <<<"$1"
}
report() {  # report <what> <problems>
  if [ -n "$2" ]; then fail "$1: $2"; else ok "$1"; fi
}

# A virtual display of its own; Xvfb picks a free number and says it when ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
start=$(seconds)
pictures_w=$(winepath -w "$pictures" 2>/dev/null)

if [ "$kind" = installer ]; then
  setup="$release/Verdalis-$version-setup.exe"
  user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  programs="$user_dir/AppData/Local/Programs"
  instdir="$programs/Verdalis"
  shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Verdalis.lnk"
  # Something of the reader's beside the install, which the uninstaller must leave.
  mkdir -p "$programs/Other"
  echo keep >"$programs/Other/keep.txt"
  snapshot() { (cd "$user_dir" && find . -path ./Temp -prune -o -print | LC_ALL=C sort); }
  before=$(snapshot)

  t=$(seconds)
  if wine "$setup" /S 2>/dev/null; then ok "$(basename "$setup") /S returned 0 ($(since "$t") s)"; else fail "$(basename "$setup") /S returned $?"; fi
  [ -f "$shortcut" ] && ok "Start-menu shortcut Verdalis.lnk" || fail "no shortcut $shortcut"
  installed=$(files_in "$instdir" 2>/dev/null || true)
  report "installed files = stage folder + uninstall.exe" \
    "$(diff <(printf '%s\n./uninstall.exe\n' "$expected" | LC_ALL=C sort) <(echo "$installed") | grep '^[<>]' | head -5)"
  report "installed files have the stage folder's content" "$(same_content_problems "$expected" "$instdir" | head -5)"
  report "installed exe and DLL are stripped" "$(stripped_problems "$instdir")"

  check_wine "$checker" installed "$version" "$pictures_w" || fail "package_check installed"
  report "the viewer wrote nothing into its folder" \
    "$(diff <(echo "$installed") <(files_in "$instdir") | grep '^[<>]' | head -5)"

  # Under a system locale other than Japanese (code page 1252 here) the
  # installer and the viewer say once that the text needs it, then go on;
  # under the Japanese one neither says anything.
  for program in "$(winepath -w "$setup" 2>/dev/null)" "$(winepath -w "$instdir/verdalis.exe" 2>/dev/null)"; do
    LANG=C.UTF-8 LC_ALL=C.UTF-8 check_wine "$checker" warning "$program" warns || fail "package_check warning (English)"
    check_wine "$checker" warning "$program" quiet || fail "package_check warning (Japanese)"
  done

  t=$(seconds)
  check_wine "$checker" uninstall || fail "package_check uninstall"
  echo "   (uninstall $(since "$t") s)"
  report "after uninstalling, the user's folders are as before the install" \
    "$(diff <(echo "$before") <(snapshot) | grep '^[<>]' | head -5)"
  [ -f "$programs/Other/keep.txt" ] || fail "the uninstaller removed a file of the reader's"
else
  zip="$release/Verdalis-$version-win64.zip"
  folder="Verdalis-$version-win64"
  entries=$(unzip -Z1 "$zip")
  report "the zip holds one folder, $folder" "$(cut -d/ -f1 <<<"$entries" | sort -u | grep -vxF "$folder")"
  listed=$(grep -v '/$' <<<"$entries" | sed "s|^$folder/|./|" | LC_ALL=C sort)
  report "zip file list = stage folder" "$(diff <(echo "$expected") <(echo "$listed") | grep '^[<>]' | head -5)"
  report "stage folder layout" "$(layout_problems "$listed")"
  unzip -q "$zip" -d "$work/unzipped"
  unpacked="$work/unzipped/$folder"
  report "unpacked files have the stage folder's content" "$(same_content_problems "$expected" "$unpacked" | head -5)"
  report "exe and DLL in the zip are stripped" "$(stripped_problems "$unpacked")"

  check_wine "$checker" viewer "$(winepath -w "$unpacked" 2>/dev/null)" "$pictures_w" || fail "package_check viewer"
  report "the viewer wrote nothing into its folder" \
    "$(diff <(echo "$expected") <(files_in "$unpacked") | grep '^[<>]' | head -5)"
fi

echo "package_test $kind: $(since "$start") s under Wine, $failures failure(s)"
[ "$failures" -eq 0 ]
