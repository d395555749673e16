#!/usr/bin/env bash
# Takes the help page's screenshots from the real player on a private 800x600 display and
# keeps them in images/, from where the build copies them (make-help-images.sh):
#   intro.gif       the player's window, paused part-way through its sample clip
#   flag.gif        the control palette
#   group.gif       the Open dialog with three files of a folder chosen together
#   ctrl.*.gif      the four pages of the Movie Controls sheet, with a movie paused
#                   part-way and the volume turned down from the default
# Run it again when a window changes.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/arch.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="Tandrel98 media" wine_env_build

images=$TOP/distribution/images
scratch=$(mktemp -d)
# The folder the Open dialog shows, as a person would keep movies: C:\Movies.
movies=$WINEPREFIX/drive_c/Movies
player=
cleanup() {
  if [ -n "$player" ]; then kill "$player" 2>/dev/null || true; fi
  wine_env_stop
  rm -rf "$scratch" "$movies"
}
trap cleanup EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
cp "$BUILD/media/vost.mpg" "$scratch/"
mkdir -p "$movies"
# A six-second movie whose times the Information page shows whole (an MPEG's stop time
# runs to more digits than its field holds), and four more files to choose from.
ff -f lavfi -i "testsrc=size=352x240:rate=25:duration=6" \
   -f lavfi -i "sine=frequency=440:sample_rate=22050:duration=6" \
   -c:v mjpeg -q:v 5 -c:a pcm_s16le -fflags +bitexact -flags:v +bitexact -flags:a +bitexact \
   "$movies/Harbour.avi"
for name in Lighthouse Market Station Sunset; do cp "$BUILD/media/vost.mpg" "$movies/$name.mpg"; done

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds, at most SECONDS long.
wait_for() {
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq 1 "$limit"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "capture: gave up waiting for: $*" >&2
  return 1
}

# window TITLE: the id of the visible window with that title; sets X, Y, WIDTH, HEIGHT.
window() {
  wait_for 30 xdotool search --onlyvisible --name "^$1\$"
  local id
  id=$(xdotool search --onlyvisible --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  echo "$id"
}

# shot NAME: the rectangle X, Y, WIDTH, HEIGHT of the screen as images/NAME, the pointer
# out of the way.
shot() {
  xdotool mousemove 5 5 sleep 0.6
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$scratch/shot.png"
  convert "$scratch/shot.png" +set date:create +set date:modify -strip "GIF:$images/$1"
}

# start_player [MEDIA]: starts the player in the scratch folder, as a person does, and
# gives its window the keyboard with a click on the caption.
start_player() {
  (cd "$scratch" && exec wine "$BUILD/player/Tandrel98.exe" "$@") >/dev/null 2>&1 &
  player=$!
  local media=${1:-vost.mpg}
  window "${media##*\\}" >/dev/null
  xdotool mousemove $((X + 60)) $((Y + 8)) click 1 sleep 0.5
}

exit_player() {
  xdotool key ctrl+e
  wait_for 15 bash -c "! kill -0 $player"
  player=
}

# close_panel NAME: the sheet's tab panel, closed along its bottom edge. Under Wine the
# panel is taller than the pages it holds, so the sheet's fixed size cuts its bottom edge
# off below an empty strip. The picture shows the panel as that size frames it at 96 dots
# per inch: ending as far above the sheet's bottom as it starts inside its left side, its
# bottom edge drawn in the colours of its right edge.
close_panel() {
  convert "$images/$1" ppm:- | python3 -c '
import re, sys
data = sys.stdin.buffer.read()
head = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
w, h = int(head.group(1)), int(head.group(2))
pix = bytearray(data[head.end():])
def px(x, y):
    i = 3 * (y * w + x)
    return bytes(pix[i:i + 3])
def put(x, y, c):
    i = 3 * (y * w + x)
    pix[i:i + 3] = c
column = [px(5, y) for y in range(60, h - 20)]
face = max(set(column), key=column.count)
row = h - 12
inside = px(w // 2, row)
def edge(xs):
    cols = []
    for x in xs:
        c = px(x, row)
        if c == inside:
            return cols
        if c != face or cols:
            cols.append((x, c))
    return cols
left = edge(range(5, w // 2))
right = edge(range(w - 6, w // 2, -1))
x0, x1 = left[0][0], right[0][0]
bottom = h - 1 - x0
frame = 0
while px(5, h - 1 - frame) != face:
    frame += 1
for y in range(bottom + 1, h - frame):
    for x in range(x0, x1 + 1):
        put(x, y, face)
for i, (_, c) in enumerate(right):
    for x in range(x0 + i, x1 - i + 1):
        put(x, bottom - i, c)
sys.stdout.buffer.write(b"P6 %d %d 255\n" % (w, h) + bytes(pix))
' | convert ppm:- +set date:create +set date:modify -strip "GIF:$images/$1.tmp"
  mv "$images/$1.tmp" "$images/$1"
}

wine reg delete 'HKCU\Software\Vostrane\Tandrel98\Settings' /f >/dev/null 2>&1 || true

# The player as it starts: its sample clip, paused part-way, and the palette.
start_player
xdotool key F4 sleep 0.5 key F2 sleep 1.6 key F3 sleep 0.5
window vost.mpg >/dev/null
shot intro.gif
window Tandrel98 >/dev/null
shot flag.gif

# Three files of C:\Movies chosen together in the Open dialog: the first, third and fifth.
xdotool key ctrl+o
window 'Open Media Files' >/dev/null
xdotool sleep 0.5 type --delay 30 'C:\Movies'
xdotool key Return sleep 1.5
dx=$X; dy=$Y
xdotool mousemove $((dx + 145)) $((dy + 63)) click 1 sleep 0.3 keydown ctrl \
        mousemove $((dx + 145)) $((dy + 97)) click 1 sleep 0.3 \
        mousemove $((dx + 145)) $((dy + 131)) click 1 sleep 0.3 keyup ctrl
shot group.gif
xdotool key Escape sleep 0.5
exit_player

# The Movie Controls sheet over a movie paused part-way, the volume two ticks below full
# (twenty presses of F5 from the default).
start_player 'C:\Movies\Harbour.avi'
for _ in $(seq 1 20); do xdotool key F5; done
xdotool key F4 sleep 0.5 key F2 sleep 1.7 key F3 sleep 0.5 key ctrl+t
window 'Movie Controls' >/dev/null
sx=$X; sy=$Y; sw=$WIDTH; sh=$HEIGHT
pages=(media video audio info)
for i in 0 1 2 3; do
  # A click on the Media tab, then the arrow keys to the page.
  xdotool mousemove $((sx + 22)) $((sy + 38)) click 1 sleep 0.4
  for _ in $(seq 1 "$i"); do xdotool key Right sleep 0.4; done
  X=$sx; Y=$sy; WIDTH=$sw; HEIGHT=$sh
  shot "ctrl.${pages[$i]}.gif"
  close_panel "ctrl.${pages[$i]}.gif"
done
xdotool key Escape sleep 0.5
window Harbour.avi >/dev/null
xdotool mousemove $((X + 60)) $((Y + 8)) click 1 sleep 0.3
exit_player
echo "capture: wrote $images/{intro,flag,group,ctrl.media,ctrl.video,ctrl.audio,ctrl.info}.gif"
