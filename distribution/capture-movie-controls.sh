#!/usr/bin/env bash
# Takes the help page's four Movie Controls pictures from the real player: it plays the
# sample on a private 800x600 display, opens the sheet with Ctrl+T, brings each page to
# the front with the keyboard and keeps the sheet's window, as images/ctrl.*.gif. The
# build copies them from there (make-help-images.sh). Run it again when a page changes.
set -euo pipefail
TOP=$(cd "$(dirname "$0")/.." && pwd)
"$TOP/scripts/deps.sh"
. "$TOP/scripts/wine-env.sh"
TANDREL_TARGETS="Tandrel98 media" wine_env_build

trap 'kill "$player" 2>/dev/null || true; wine_env_stop' EXIT
wine_env_start_display 800x600x24
wine_env_start_wine
wine_env_managed N

scratch=$(mktemp -d)
cp "$BUILD/media/vost.mpg" "$scratch/"
wine reg delete 'HKCU\Software\Vostrane\Tandrel98\Settings' /f >/dev/null 2>&1 || true
(cd "$scratch" && exec wine "$BUILD/player/Tandrel98.exe") >/dev/null 2>&1 &
player=$!

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds, at most SECONDS long.
wait_for() {
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq 1 "$limit"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "capture: gave up waiting for: $*" >&2
  return 1
}

wait_for 30 xdotool search --name '^vost.mpg$'
main=$(xdotool search --name '^vost.mpg$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$main")"
# A click on the caption gives the player the keyboard; F3 pauses on a steady picture.
xdotool mousemove $((X + 40)) $((Y + 8)) click 1 sleep 0.5 key F3 sleep 0.5 key ctrl+t
wait_for 10 xdotool search --name '^Movie Controls$'
sheet=$(xdotool search --name '^Movie Controls$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$sheet")"
sx=$X; sy=$Y; sw=$WIDTH; sh=$HEIGHT

# The tabs start 7 pixels in from the sheet's left edge, below its caption.
for page in media video audio info; do
  case $page in
    media) keys="" ;; video) keys="Right" ;; audio) keys="Right Right" ;; info) keys="Right Right Right" ;;
  esac
  xdotool mousemove $((sx + 22)) $((sy + 38)) click 1 sleep 0.4
  for key in $keys; do xdotool key "$key" sleep 0.4; done
  # Away from the sheet, so that no pointer or hover shows in the picture.
  xdotool mousemove 5 5 sleep 0.6
  import -window root -crop "${sw}x${sh}+${sx}+${sy}" +repage "$scratch/$page.png"
  convert "$scratch/$page.png" +set date:create +set date:modify -strip \
          "GIF:$TOP/distribution/images/ctrl.$page.gif"
done

xdotool key Escape sleep 0.5
xdotool mousemove $((sx + 40)) $((sy - 100)) click 1 sleep 0.3 key ctrl+e
wait_for 15 bash -c "! kill -0 $player"
rm -rf "$scratch"
echo "capture: wrote $TOP/distribution/images/ctrl.{media,video,audio,info}.gif"
