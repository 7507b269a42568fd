#!/bin/sh
# Regenerates the entry pictures in content/pictures/ (NNN1.png ingredient,
# NNN2.png dish, no.png for a missing picture) from the drawings in cards/
# and the shared parts in parts/ (see STYLE.md).
#
#   tools/pictures/make_pictures.sh
#
# The PNGs are committed, so the normal build and CI never run this; it is
# only needed when a drawing, a part, art.tsv or an entry's name changes.
# The output is the same byte for byte on every run.
#
# Needs (Debian packages): nodejs, librsvg2-bin (rsvg-convert), pngquant,
# optipng, fonts-ipafont-mincho fonts-ipafont-gothic.
#   apt-get install -y nodejs librsvg2-bin pngquant optipng \
#       fonts-ipafont-mincho fonts-ipafont-gothic
#
# Reads art.tsv beside this script (per entry: category, reading, and the dish
# drawn while an entry's dish is being changed) and each entry's name: and
# dishName: from content/entries/. A missing drawing is an error naming it.
#   PICTURES_ONLY=5,0012   only entry 5 (both cards) and the card 0012
#   PICTURES_PARTIAL=1     skip cards not drawn yet instead of stopping
#   PICTURES_OUT=dir       write the PNGs to dir instead of content/pictures
#   PICTURES_BLIND=1       no lettering (with PICTURES_OUT), to name cards from the drawing alone
set -eu
here=$(cd "$(dirname "$0")" && pwd)
missing=
for tool in node rsvg-convert pngquant optipng fc-list; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
for font in IPAMincho IPAGothic; do
    fc-list "$font" 2>/dev/null | grep -q . || missing="$missing font:$font"
done
if [ -n "$missing" ]; then
    echo "make_pictures.sh: missing:$missing (see the apt-get line at the top)" >&2
    exit 1
fi
exec node "$here/make_pictures.mjs"
