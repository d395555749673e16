# Sourced by test.sh (after wine-env.sh): a sound server of the build's own, as a desktop
# has one, with a null sink named "cap" instead of a sound card. Wine plays into it through
# its pulse driver, and the tests record what reaches the sink from the sink's monitor.
#
# The sink never rewinds: a server that rewinds to mix a new stream in early re-renders
# audio the monitor has already passed on, and the start of that stream never reaches a
# recording. Without rewinds every sample a program plays is in the monitor exactly once.

PULSE_DIR=${PULSE_DIR:-$BUILD/pulse}
STARTED_PULSE=
STARTED_PULSE_KEEPER=

pulse_env_start() {
  mkdir -p "$PULSE_DIR/run" "$PULSE_DIR/config"
  chmod 700 "$PULSE_DIR/run"
  export XDG_RUNTIME_DIR=$PULSE_DIR/run
  export PULSE_SERVER=unix:$PULSE_DIR/run/pulse/native
  export PULSE_SINK=cap
  # The server keeps its cookie and state in the build, not in the home folder.
  XDG_CONFIG_HOME=$PULSE_DIR/config HOME=$PULSE_DIR/config \
    pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n --log-target=stderr \
      --load="module-null-sink sink_name=cap rate=44100 channels=2 norewinds=1" \
      --load="module-native-protocol-unix auth-anonymous=1" \
      >"$PULSE_DIR/server.log" 2>&1 &
  STARTED_PULSE=$!
  for _ in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    kill -0 "$STARTED_PULSE" 2>/dev/null || break
    sleep 0.1
  done
  if ! pactl info >/dev/null 2>&1; then
    echo "pulse-env: the sound server did not start (see $PULSE_DIR/server.log)" >&2
    return 1
  fi
  # A stream of silence keeps the sink playing, as a desktop's always is, so that no
  # program's first samples wait on the sink waking up.
  pacat --playback -d cap --raw --format=s16le --rate=44100 --channels=2 \
    --stream-name=keeper </dev/zero >/dev/null 2>&1 &
  STARTED_PULSE_KEEPER=$!
  # Wine plays through the server rather than the ALSA null device.
  wine_env_audio pulse
}

pulse_env_stop() {
  local pid
  # The prefix goes back to Wine's own choice of driver, for run.sh and the benchmarks.
  [ -n "$STARTED_PULSE" ] && wine_env_audio default
  for pid in "$STARTED_PULSE_KEEPER" "$STARTED_PULSE"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  STARTED_PULSE_KEEPER=
  STARTED_PULSE=
}
