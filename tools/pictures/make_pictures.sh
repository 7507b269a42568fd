#!/bin/sh
# Regenerates the entry pictures in content/pictures/ (NNN1.png ingredient,
# NNN2.png dish, no.png for a missing picture) from the Noto emoji artwork.
#
#   cd tools/pictures && npm ci && ./make_pictures.sh
#
# The PNGs are committed, so the normal build and CI never run this; it is
# only needed when the artwork, the plan or an entry's name changes.
#
# Needs (Debian packages): nodejs npm (for @iconify-json/noto, the Noto Emoji
# SVGs, Apache-2.0), librsvg2-bin (rsvg-convert), imagemagick (convert,
# identify), pngquant, fonts-ipafont-mincho fonts-ipafont-gothic, fonts-dejavu-core.
#   apt-get install -y librsvg2-bin imagemagick pngquant \
#       fonts-ipafont-mincho fonts-ipafont-gothic fonts-dejavu-core
#
# Reads the picture plan (columns cat, name, kana, english, art, match, dish,
# dish_art; the row after the header is entry 0) from ../shared/content-plan.tsv
# beside the work tree, or from $CONTENT_PLAN, and each entry's name: and
# dishName: from content/entries/. PICTURES_ONLY=0,5,63 redraws only those entries.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
missing=
for tool in node rsvg-convert convert identify pngquant; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
for font in /usr/share/fonts/opentype/ipafont-mincho/ipam.ttf \
            /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
            /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf; do
    [ -f "$font" ] || missing="$missing $font"
done
# Another program named convert (not ImageMagick) would fail obscurely later.
if convert -version 2>/dev/null | grep -q ImageMagick; then :; else missing="$missing imagemagick"; fi
if [ -n "$missing" ]; then
    echo "make_pictures.sh: missing:$missing (see the apt-get line at the top)" >&2
    exit 1
fi
if [ ! -f "$here/node_modules/@iconify-json/noto/icons.json" ]; then
    echo "make_pictures.sh: run 'npm ci' in $here first" >&2
    exit 1
fi
node "$here/make_pictures.mjs"
repo=$(cd "$here/../.." && pwd)
cp /usr/share/common-licenses/Apache-2.0 "$repo/content/pictures/LICENSE-noto.txt"
