#!/usr/bin/env bash
# Puts the help page's images in OUTDIR: the screenshots kept in images/ are copied as they
# are, the rest are drawn as simple labelled pictures, each at the size the page gives it.
# Same input, same bytes.
set -euo pipefail
out=${1:?usage: make-help-images.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

# screenshot NAME: one of the screenshots in images/
screenshot() {
  cp "$here/images/$1" "$out/$1.tmp"
  mv "$out/$1.tmp" "$out/$1"
}

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
screenshot intro.gif
screenshot flag.gif
screenshot group.gif
# The Movie Controls pages, taken from the running player by capture-movie-controls.sh.
screenshot ctrl.media.gif
screenshot ctrl.video.gif
screenshot ctrl.audio.gif
screenshot ctrl.info.gif
picture Get_It_Now.gif 88 31 "#FFFF00" "Get It Now"
