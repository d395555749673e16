# Sourced by run.sh and test.sh: the build folder, a project-local Wine prefix, a display
# and a persistent wineserver, for the form this host runs (arch.sh). Everything started
# here is stopped again by wine_env_stop, by the process ids recorded when it started.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$TOP/scripts/arch.sh"

# DIST_BUILD always builds the 32-bit programs of build/dist. BUILD is the form that runs
# here: the same folder on a host that runs 32-bit programs, a folder of its own otherwise.
DIST_BUILD=$TOP/build
if [ "$TANDREL_ARCH" = i686 ]; then
  BUILD=${TANDREL_BUILD:-$TOP/build}
  export WINEARCH=win32
else
  BUILD=${TANDREL_BUILD:-$TOP/build-x86_64}
  export WINEARCH=win64
  PATH=$TOP/scripts/wine64:$PATH
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop menu entries on the host, and no prompts for optional runtimes.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export ALSA_CONFIG_PATH=$TOP/scripts/alsa-null.conf
# Wine's driver for a sound server asks the server to hold only 30 ms of sound ahead (three
# of its 10 ms periods). When both cores are busy its feeding thread is now and then held up
# longer than that, and the server runs dry for a few milliseconds: a click, and that much
# sound lost. The server's client library takes a larger target from this variable; with
# 60 ms, 12 runs of a 12 s tone under three busy processes had no gap, against 7 of 12 with
# Wine's 30 ms (bench/sound-load.sh). A desktop's own setting is kept.
export PULSE_LATENCY_MSEC=${PULSE_LATENCY_MSEC:-60}

STARTED_XVFB=
STARTED_WINESERVER=

# Starts Xvfb on a free display of the given size unless a display is to be kept.
wine_env_start_display() {
  local size=${1:-800x600x24}
  local n=90
  while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 "$size" -nolisten tcp >/dev/null 2>&1 &
  STARTED_XVFB=$!
  export DISPLAY=:$n
  for _ in $(seq 1 100); do
    [ -e /tmp/.X11-unix/X$n ] && return 0
    kill -0 "$STARTED_XVFB" 2>/dev/null || break
    sleep 0.1
  done
  echo "wine-env: Xvfb did not start on :$n" >&2
  return 1
}

wine_env_start_wine() {
  mkdir -p "$WINEPREFIX"
  wineserver -f -p >/dev/null 2>&1 &
  STARTED_WINESERVER=$!
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: creating the Wine prefix (about half a minute)"
    timeout 300 wineboot -i >/dev/null 2>&1 || true
  fi
  timeout 120 wineboot -u >/dev/null 2>&1 || true
  # Wine links the user's Desktop, Documents and the like to the host's home folder, so
  # shortcuts and files the programs make there would land in it, shared by every prefix.
  # The prefix keeps folders of its own instead (Wine leaves a real folder as it is).
  local link
  for link in "$WINEPREFIX/drive_c/users/$(id -un)"/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
  # The caption buttons are glyphs of the Marlett font. Debian's Wine reads the fonts of the
  # prefix's Fonts folder and of fontconfig, never the TrueType fonts of its own data folder,
  # so without this copy every caption shows the letters "0", "1" and "r".
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  fi
  # A Wine that cannot start a program must stop the script here, with the reason.
  local rc=0
  timeout 120 wine cmd.exe /c exit 7 >/dev/null 2>&1 || rc=$?
  if [ "$rc" -ne 7 ]; then
    echo "wine-env: Wine did not start a program in $WINEPREFIX (exit $rc, form $TANDREL_ARCH)" >&2
    return 1
  fi
}

# Whether a window manager places and decorates the windows (Y, the default) or Wine does
# (N). Without a window manager, as on a private Xvfb display, Wine waits two seconds for
# one at each window it hides; N avoids that.
wine_env_managed() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1 || true
}

# Which sound driver Wine uses: alsa (the null device of ALSA_CONFIG_PATH), pulse (a sound
# server), or default (Wine's own choice, which finds a desktop's server).
wine_env_audio() {
  if [ "$1" = default ]; then
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Audio /f >/dev/null 2>&1 || true
  else
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "$1" /f >/dev/null 2>&1 || true
  fi
}

# An unhandled exception ends the process at once with the exception's code instead of
# starting the debugger, whose dialog would wait and leave the exit code meaningless.
wine_env_no_debugger() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d "" /f \
    >/dev/null 2>&1 || true
}

wine_env_stop() {
  if [ -n "$STARTED_WINESERVER" ]; then
    wineserver -k >/dev/null 2>&1 || true
    for _ in $(seq 1 50); do kill -0 "$STARTED_WINESERVER" 2>/dev/null || break; sleep 0.1; done
    kill "$STARTED_WINESERVER" 2>/dev/null || true
    STARTED_WINESERVER=
  fi
  if [ -n "$STARTED_XVFB" ]; then
    kill "$STARTED_XVFB" 2>/dev/null || true
    wait "$STARTED_XVFB" 2>/dev/null || true
    STARTED_XVFB=
  fi
}

# Configures and builds one build folder for an architecture: wine_env_configure DIR ARCH ARGS...
wine_env_configure() {
  local dir=$1 arch=$2
  shift 2
  cmake -S "$TOP" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-$arch.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

# Builds the form that runs here into BUILD and, where that is not the 32-bit form, the
# 32-bit programs into DIST_BUILD too, tests included, so that the i686 compiler checks
# every calling convention on every host.
wine_env_build() {
  if [ "$BUILD" != "$DIST_BUILD" ] && [ "$TANDREL_ARCH" != i686 ]; then
    wine_env_configure "$DIST_BUILD" i686 "$@"
    # shellcheck disable=SC2086
    cmake --build "$DIST_BUILD" ${TANDREL_TARGETS:+--target $TANDREL_TARGETS dist}
    set -- "$@" -DTANDREL_I686_DIST="$DIST_BUILD/dist"
  fi
  wine_env_configure "$BUILD" "$TANDREL_ARCH" "$@"
  # TANDREL_TARGETS names the targets to build (all when unset).
  # shellcheck disable=SC2086
  cmake --build "$BUILD" ${TANDREL_TARGETS:+--target $TANDREL_TARGETS}
}
