#!/usr/bin/env bash
# Draws the help page's images: simple labelled pictures of the player's windows, pages
# and palette, each at the size the page gives it. Same input, same bytes.
set -euo pipefail
out=${1:?usage: make-help-images.sh OUTDIR}
mkdir -p "$out"

# picture NAME WIDTH HEIGHT BACKGROUND LABEL
picture() {
  convert -size "$2x$3" "xc:$4" -fill black -stroke none \
          -draw "rectangle 0,0 $(($2 - 1)),0" -draw "rectangle 0,$(($3 - 1)) $(($2 - 1)),$(($3 - 1))" \
          -draw "rectangle 0,0 0,$(($3 - 1))" -draw "rectangle $(($2 - 1)),0 $(($2 - 1)),$(($3 - 1))" \
          -gravity center -pointsize 14 -annotate 0 "$5" \
          +set date:create +set date:modify -strip "GIF:$out/$1.tmp"
  mv "$out/$1.tmp" "$out/$1"
}

picture nbar.gif 600 40 "#000080" "Tandrel98"
picture shuttle.gif 64 64 "#C0C0C0" "T98"
picture intro.gif 320 240 "#008080" "Tandrel98 window"
picture flag.gif 360 32 "#C0C0C0" "Open Net Ctrl Play Pause Stop Loop + - Step ? Exit"
picture group.gif 320 200 "#FFFFFF" "Open: several files"
picture ctrl.media.gif 320 240 "#C0C0C0" "Movie Controls: Media"
picture ctrl.video.gif 320 240 "#C0C0C0" "Movie Controls: Video"
picture ctrl.audio.gif 320 240 "#C0C0C0" "Movie Controls: Audio"
picture ctrl.info.gif 320 240 "#C0C0C0" "Movie Controls: Information"
picture Get_It_Now.gif 88 31 "#FFFF00" "Get It Now"
