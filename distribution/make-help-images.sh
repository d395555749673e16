#!/usr/bin/env bash
# Puts the help page's images in OUTDIR: the screenshots kept in images/ are copied as they
# are; the banner, the emblem and the runtime's card are drawn here. Same input, same bytes.
set -euo pipefail
out=${1:?usage: make-help-images.sh OUTDIR}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"

# screenshot NAME: one of the screenshots in images/
screenshot() {
  cp "$here/images/$1" "$out/$1.tmp"
  mv "$out/$1.tmp" "$out/$1"
}

# The program's icon, drawn by the player's image script, is the emblem of the drawn pictures.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
python3 "$here/../scripts/make-images.py" "$scratch" >/dev/null
icon="$scratch/Tandrel98.ico[0]"

# save NAME: writes the picture on convert's stack as OUTDIR/NAME, without time stamps.
save() {
  convert "$@" +set date:create +set date:modify -strip "GIF:$out/$NAME.tmp"
  mv "$out/$NAME.tmp" "$out/$NAME"
}

# The banner: the page's title on the blue of a caption bar, between two rows of film
# perforations.
holes=""
for x in $(seq 6 16 714); do
  holes="$holes rectangle $x,3 $((x + 7)),7 rectangle $x,64 $((x + 7)),68"
done
NAME=nbar.gif save -size 720x72 xc:black \
  \( -size 52x720 gradient:'#000080-#1084D0' -rotate -90 \) -geometry +0+10 -composite \
  -fill white -draw "$holes" \
  -font DejaVu-Sans-Bold -pointsize 28 -fill white -gravity west -annotate +22+0 'Tandrel98 Help' \
  -font DejaVu-Sans -pointsize 13 -fill '#E8F0FF' -gravity east \
  -annotate +22+0 'the media player for Windows 95 and Windows NT 4.0'

# The emblem: the program's icon, each of its pixels two by two.
NAME=shuttle.gif save "$icon" -background white -alpha remove -filter point -resize 200%

# The runtime's card: what the player plays through, and that Setup brings it.
NAME=Get_It_Now.gif save -size 200x60 xc:'#F4F8FF' \
  -fill none -stroke '#000080' -draw 'rectangle 0,0 199,59' -stroke none \
  \( "$icon" -background '#F4F8FF' -alpha remove \) -geometry +10+14 -composite \
  -font DejaVu-Sans-Bold -pointsize 14 -fill '#000080' -annotate +52+26 'DirectX Media' \
  -font DejaVu-Sans -pointsize 11 -fill '#303030' -annotate +52+44 'installed with Tandrel98'

# Taken from the running player by capture-help-pictures.sh.
screenshot intro.gif
screenshot flag.gif
screenshot group.gif
screenshot ctrl.media.gif
screenshot ctrl.video.gif
screenshot ctrl.audio.gif
screenshot ctrl.info.gif
