#!/usr/bin/env bash
# Tests a release package under Wine the way a reader on Windows uses it:
#   installer  setup.exe /S: the per-user files, the version resource, the Apps
#              entry and the shortcut; the viewer started as the shortcut
#              starts it; the code-page warning; the silent uninstall
#   zip        the zip's one folder against the stage folder, and the viewer
#              started from the unpacked folder
# package_check looks at the viewer's window. It runs in the throw-away prefix
# build/wine-package (made and removed by the CTest fixtures) on a virtual
# display of its own.
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
report() {  # report <what> <problems>: ok when there are none
  if [ -z "$2" ]; then echo "ok: $1"; else echo "FAIL: $1: $2"; failures=$((failures + 1)); fi
}
files_in() { (cd "$1" && find . -type f | LC_ALL=C sort); }
changes() { diff <(echo "$1") <(echo "$2") | grep '^[<>]' | head -5; }
win() { winepath -w "$1" 2>/dev/null; }
check_wine() { wine "$@" 2>/dev/null | iconv -f cp932 -t utf-8; return "${PIPESTATUS[0]}"; }

# What ships: the stage folder, which must hold the viewer's files and nothing else.
expected=$(files_in "$stage")
layout_problems() {
  local name
  for name in verdalis.exe jload.dll data imagelist.txt README.txt licenses/Verdalis.txt \
      licenses/mingw-w64-runtime.txt licenses/LICENSE.txt licenses/LICENSE-content.txt image/food_image/no; do
    grep -qxF "./$name" <<<"$expected" || echo "$name is missing"
  done
  local bitmaps pictures_found
  bitmaps=$(grep -c '^\./sidebar/[0-9][0-9]\.bmp$' <<<"$expected" || true)
  pictures_found=$(grep -c '^\./image/food_image/[0-9]\{3\}[12]$' <<<"$expected" || true)
  [ "$bitmaps" = "$bitmap_count" ] || echo "$bitmaps sidebar bitmaps, expected $bitmap_count"
  [ "$pictures_found" = 254 ] || echo "$pictures_found entry pictures, expected 254"
  [ "$(wc -l <<<"$expected")" = $((9 + bitmap_count + 255)) ] || echo "more files than these"
}
shipped_problems() {  # the stage folder's files byte for byte, but the binaries stripped (the exe with its icon)
  local file
  while read -r file; do
    case $file in
      ./verdalis.exe | ./jload.dll)
        [[ $(LC_ALL=C x86_64-w64-mingw32-nm "$1/$file" 2>&1) == *"no symbols"* ]] || echo "$file has symbols"
        [[ $(x86_64-w64-mingw32-objdump -h "$1/$file") != *.debug* ]] || echo "$file has debug sections"
        [ "$file" = ./jload.dll ] || [ "$(wrestool -x -t14 -n106 "$1/$file" | icotool -l - 2>&1)" = \
          "--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16" ] ||
          echo "$file does not carry its one 32 x 32, 16-colour icon" ;;
      *) cmp -s "$stage/$file" "$1/$file" || echo "$file differs from the stage folder" ;;
    esac
  done <<<"$expected"
}
report "stage folder layout" "$(layout_problems)"

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
start=$(date +%s)
# The picture card of entry 30, which package_check opens, and the fallback card.
convert "$pictures/0301.png" -type TrueColor "BMP3:$work/card.bmp"
convert "$pictures/no.png" -type TrueColor "BMP3:$work/fallback.bmp"
viewer() {  # viewer <exe> <working folder> <its folder here> <its files>
  check_wine "$checker" viewer "$1" "$2" "$(win "$work/card.bmp")" "$(win "$work/fallback.bmp")" ||
    report "package_check viewer" "failed"
  report "the viewer wrote nothing into its folder" "$(changes "$4" "$(files_in "$3")")"
}

if [ "$kind" = installer ]; then
  setup="$release/Verdalis-$version-setup.exe"
  user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  programs="$user_dir/AppData/Local/Programs"
  instdir="$programs/Verdalis"
  shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Verdalis.lnk"
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Verdalis'
  # Something of the reader's beside the install, which the uninstaller must leave.
  mkdir -p "$programs/Other"
  echo keep >"$programs/Other/keep.txt"
  snapshot() { (cd "$user_dir" && find . -path ./Temp -prune -o -print | LC_ALL=C sort); }
  before=$(snapshot)

  wine "$setup" /S 2>/dev/null || report "$(basename "$setup") /S" "returned $?"
  installed=$(files_in "$instdir" 2>/dev/null || true)
  report "installed files = stage folder + uninstall.exe" \
    "$(changes "$(printf '%s\n./uninstall.exe' "$expected" | LC_ALL=C sort)" "$installed")"
  report "installed files are the stage folder's, stripped" "$(shipped_problems "$instdir" | head -5)"
  # What the file's Properties show: ProductName, ProductVersion, FileVersion,
  # the fixed file and product versions, FileDescription, LegalCopyright.
  resource=$(exiftool -p '$ProductName|$ProductVersion|$FileVersion|$FileVersionNumber|$ProductVersionNumber|'\
'$FileDescription|$LegalCopyright' "$instdir/verdalis.exe" 2>&1)
  report "version resource $resource" \
    "$([[ $resource == "Verdalis|$version|$version|$version.0.0|$version.0.0|"?*"|"*Verdalis* ]] || echo wrong)"

  # The Apps entry and the shortcut as "name=value" lines, against what they must hold.
  folder=$(win "$instdir")
  entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r' | sed -n 's/^    \([A-Za-z]*\)    REG_[A-Z_]*    /\1=/p')
  report "Apps entry" "$(grep -vxF -f <(echo "$entry") <<EOF
DisplayName=Verdalis
DisplayVersion=$version
Publisher=Verdalis Project
DisplayIcon=$folder\\verdalis.exe,0
UninstallString="$folder\\uninstall.exe"
QuietUninstallString="$folder\\uninstall.exe" /S
EOF
)"
  estimated=$(($(sed -n 's/^EstimatedSize=//p' <<<"$entry") + 0)) kilobytes=$(($(du -sb "$instdir" | cut -f1) / 1024))
  slack=$((kilobytes / 10 + 4))
  report "EstimatedSize $estimated KB, the folder $kilobytes KB" \
    "$( ((estimated + slack >= kilobytes && estimated <= kilobytes + slack)) || echo "too far")"
  link=$(lnkinfo -c windows-932 "$shortcut" 2>&1 | sed -n 's/^\t\([A-Za-z ]*[a-z]\)\t*: /\1=/p')
  report "Start-menu shortcut Verdalis.lnk" "$(grep -ivxF -f <(echo "$link") <<<"Local path=$folder\\verdalis.exe
Working directory=$folder")$(grep -i '^Command line arguments=.' <<<"$link")"
  viewer "$(sed -n 's/^Local path=//p' <<<"$link")" "$(sed -n 's/^Working directory=//p' <<<"$link")" "$instdir" \
    "$installed"

  # Under a system locale other than Japanese (code page 1252 here) the
  # installer and the viewer say once that the text needs it, then go on;
  # under the Japanese one neither says anything.
  for program in "$(win "$setup")" "$folder\\verdalis.exe"; do
    LANG=C.UTF-8 LC_ALL=C.UTF-8 check_wine "$checker" warning "$program" warns || report "$program warns" failed
    check_wine "$checker" warning "$program" quiet || report "$program is quiet" failed
  done

  # What the Apps entry runs; the uninstaller reruns itself from a copy in
  # the temporary folder, so wait for every process of the prefix.
  wine "$instdir/uninstall.exe" /S 2>/dev/null || report "uninstall.exe /S" "returned $?"
  wineserver -w
  report "after uninstalling, the reader's folders are as before the install" "$(changes "$before" "$(snapshot)")"
  report "the Apps entry is gone" "$(wine reg query "$key" >/dev/null 2>&1 && echo "it is still there")"
else
  zip="$release/Verdalis-$version-win64.zip"
  top="Verdalis-$version-win64"
  entries=$(unzip -Z1 "$zip")
  report "the zip holds one folder, $top" "$(cut -d/ -f1 <<<"$entries" | sort -u | grep -vxF "$top")"
  report "zip file list = stage folder" \
    "$(changes "$expected" "$(grep -v '/$' <<<"$entries" | sed "s|^$top/|./|" | LC_ALL=C sort)")"
  unzip -q "$zip" -d "$work/unzipped"
  unpacked="$work/unzipped/$top"
  report "unpacked files are the stage folder's, stripped" "$(shipped_problems "$unpacked" | head -5)"
  viewer "$(win "$unpacked/verdalis.exe")" "$(win "$unpacked")" "$unpacked" "$expected"
fi

echo "package_test $kind: $(($(date +%s) - start)) s under Wine, $failures failure(s)"
[ "$failures" -eq 0 ]
