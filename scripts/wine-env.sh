# Sourced by run.sh and test.sh: the build folder, a project-local 32-bit Wine prefix,
# a display and a persistent wineserver. Everything started here is stopped again by
# wine_env_stop, by the process ids recorded when it started.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TANDREL_BUILD:-$TOP/build}

export WINEARCH=win32
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop menu entries on the host, and no prompts for optional runtimes.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export ALSA_CONFIG_PATH=$TOP/scripts/alsa-null.conf

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
}

# Whether a window manager places and decorates the windows (Y, the default) or Wine does
# (N). Without a window manager, as on a private Xvfb display, Wine waits two seconds for
# one at each window it hides; N avoids that.
wine_env_managed() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$1" /f >/dev/null 2>&1 || true
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

wine_env_build() {
  cmake -S "$TOP" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  # TANDREL_TARGETS names the targets to build (all when unset).
  # shellcheck disable=SC2086
  cmake --build "$BUILD" ${TANDREL_TARGETS:+--target $TANDREL_TARGETS}
}
