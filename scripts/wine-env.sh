# shellcheck shell=bash
# Sourced by the scripts that run Windows programs: one project-local Wine
# prefix per use ("test": headless null driver; "run": a real X display),
# the Japanese locale (code page 932) and a pinned set of fonts.
# Usage: . scripts/wine-env.sh test|run
verdalis_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$verdalis_root/build/wine-$1"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
# Only the IPA fonts: text metrics must not depend on what else a machine has.
export FONTCONFIG_FILE="$verdalis_root/resources/fonts.conf"
