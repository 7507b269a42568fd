#!/bin/sh
# Regenerates the entry pictures in content/pictures/ (NNN1.png ingredient,
# NNN2.png dish, no.png for a missing picture) from open icon sets.
#
#   cd tools/pictures && npm ci && ./make_pictures.sh
#
# The PNGs are committed, so the normal build and CI never run this; it is
# only needed when the artwork, the art list or an entry's name changes.
#
# Needs (Debian packages): nodejs npm (for the icon sets pinned in
# package.json), librsvg2-bin (rsvg-convert), imagemagick (convert,
# identify), pngquant, fonts-ipafont-mincho fonts-ipafont-gothic, fonts-dejavu-core.
#   apt-get install -y nodejs npm librsvg2-bin imagemagick pngquant \
#       fonts-ipafont-mincho fonts-ipafont-gothic fonts-dejavu-core
#
# Reads only art.tsv beside this script (per entry: category, reading, the
# ingredient's artwork and recolouring, the dish's artwork, and a dish name
# where the entry's is being changed) and each entry's name: and dishName:
# from content/entries/. PICTURES_ONLY=0,5,63 redraws only those entries.
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
for set in noto game-icons; do
    if [ ! -f "$here/node_modules/@iconify-json/$set/icons.json" ]; then
        echo "make_pictures.sh: run 'npm ci' in $here first" >&2
        exit 1
    fi
done
node "$here/make_pictures.mjs"
repo=$(cd "$here/../.." && pwd)
cp /usr/share/common-licenses/Apache-2.0 "$repo/content/pictures/LICENSE-noto.txt"
