#!/usr/bin/env bash
# Draws the program's icon with the program itself: the seven smooth waves of desktop/icon.data as
# a streamgraph without names, as an SVG and as PNGs of the sizes desktops ask for, into
# desktop/icons/. The drawings are kept in the repository like the splash: an icon is a picture
# someone has looked at, so it changes only when this is run again and the result looked at, not
# whenever the drawing code does, and installing never has to run the program.
#   scripts/make-icons.sh [PROGRAM]    (default: build/src/stackedgraph)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-${BUILD_DIR:-$root/build}/src/stackedgraph}"
icons="$root/desktop/icons"

draw() {
    "$program" --export "$1" --image-size "$2x$2" --width 2400 --labels none --transparent \
        --scheme yellow2blue --baseline symmetric --sort inside-out "$root/desktop/icon.data"
}

draw "$icons/icon.svg" 256
for size in 16 24 32 48 64 128 256; do
    draw "$icons/icon-$size.png" "$size"
done
