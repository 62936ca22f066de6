#!/usr/bin/env bash
# Draws docs/screenshot.png, the picture at the top of the README: the program's own window with the
# bundled example, on a virtual X server of its own, with the "sunset" colours, the time axis, fitted
# names and Fill Window chosen through the window as a person would. Kept in the repository like the
# icon: look at it before you commit it.
#   scripts/make-screenshot.sh [PROGRAM]    (default: build/src/stackedgraph)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-${BUILD_DIR:-$root/build}/src/stackedgraph}"
out="$root/docs/screenshot.png"

"$root/scripts/install-deps.sh" xdotool x11-apps imagemagick

. "$root/scripts/xvfb.sh"
start_xvfb 150 1600x1000x24
trap 'kill "$xvfb_pid" "${app:-}" 2>/dev/null || true' EXIT
export DISPLAY=":$display"

(cd "$root" && "$program" examples/unemployment-by-industry.data >/dev/null 2>&1) &
app=$!
window=$(xdotool search --sync --name 'Stacked Graph \(unemployment-by-industry\)' | head -1)
xdotool windowmove "$window" 0 0 windowsize --sync "$window" 1400 820
sleep 1
# Positions in the window's own pixels, as the layout puts the controls at this size.
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}
click 190 250              # Colorscheme
xdotool key Down Return    # grayscale -> sunset
sleep 0.5
# View's entries from the bottom: Fill Window, Series List, Readout, Time Axis, Fit Labels.
click 60 8
xdotool key Up Up Up Up Return      # Time Axis
sleep 0.5
click 60 8
xdotool key Up Up Up Up Up Return   # Fit Labels
sleep 0.5
click 60 8
xdotool key Up Return      # Fill Window: the graph as wide as the view shows it whole
sleep 1.5
# Closed menus leave their pixels on a screen without a window manager until the window repaints all.
xdotool windowsize --sync "$window" 1400 821
xdotool windowsize --sync "$window" 1400 820
sleep 1
# The screen, cut to the window: a grab of the window alone keeps the pixels of menus that closed over it.
xwd -silent -root | /usr/bin/convert xwd:- -crop "1400x820+0+0" +repage "png:$out"
echo "Wrote $out"
