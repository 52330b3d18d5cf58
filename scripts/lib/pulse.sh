# The sound server for runs and tests: a private PulseAudio daemon per build folder with one
# six-channel null sink described as "Quenda Wave", so that DirectSound under Wine lists a
# device for the card. Source it after common.sh; call pulse_start, and pulse_stop when done.
#
# Everything lives under $BUILD_DIR/pulse (socket, state, cookie, log), so worktrees and build
# folders on one machine never share a daemon, and nothing depends on $HOME.

PULSE_DIR=$BUILD_DIR/pulse
PULSE_SINK=quenda_wave
export PULSE_RUNTIME_PATH=$PULSE_DIR/run
# A Unix socket path has a length limit; a deep build folder gets its socket folder in /tmp,
# still named after the build folder.
if [ ${#PULSE_RUNTIME_PATH} -gt 90 ]; then
    PULSE_RUNTIME_PATH=/tmp/quenda-pulse-$(printf '%s' "$BUILD_DIR" | md5sum | cut -c1-12)
fi
export PULSE_STATE_PATH=$PULSE_DIR/state
export PULSE_COOKIE=$PULSE_DIR/cookie
export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
pulse_pid=

pulse_running() {
    pactl info >/dev/null 2>&1
}

# Starts the daemon unless one for this build folder already answers (then it is left to its
# owner), and makes the Wine prefix use the pulse audio driver.
pulse_start() {
    mkdir -p "$PULSE_RUNTIME_PATH" "$PULSE_STATE_PATH"
    chmod 700 "$PULSE_RUNTIME_PATH"
    if ! pulse_running; then
        rm -f "$PULSE_RUNTIME_PATH/native" "$PULSE_RUNTIME_PATH/pid"
        # Channel order as in wave files: FL FR FC LFE RL RR.
        cat >"$PULSE_DIR/quenda.pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1 socket=$PULSE_RUNTIME_PATH/native
load-module module-null-sink sink_name=$PULSE_SINK channels=6 channel_map=front-left,front-right,front-center,lfe,rear-left,rear-right sink_properties=device.description="Quenda\ Wave"
set-default-sink $PULSE_SINK
EOF
        # We run as root: --system=false keeps it a per-user daemon (it warns, but runs), and
        # -n with our own script loads nothing but the modules above.
        HOME=$PULSE_DIR XDG_CONFIG_HOME=$PULSE_DIR/config \
            pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit \
            --realtime=no --high-priority=no --use-pid-file=no \
            --log-target="file:$PULSE_DIR/log" -F "$PULSE_DIR/quenda.pa" \
            </dev/null >/dev/null 2>&1 &
        pulse_pid=$!
        local i
        for i in $(seq 100); do
            pulse_running && break
            if ! kill -0 "$pulse_pid" 2>/dev/null; then break; fi
            sleep 0.1
        done
        if ! pulse_running; then
            echo "the sound server did not start; its log:" >&2
            tail -n 20 "$PULSE_DIR/log" >&2 || true
            pulse_stop
            return 1
        fi
    fi
    pulse_wine_driver
}

# Wine's audio driver for the prefix: pulse (HKCU\Software\Wine\Drivers "Audio").
pulse_wine_driver() {
    if ! grep -qs '^"Audio"="pulse"' "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d pulse /f \
            </dev/null >/dev/null 2>&1
    fi
}

# Stops the daemon if this script started it.
pulse_stop() {
    if [ -n "$pulse_pid" ]; then
        kill "$pulse_pid" 2>/dev/null || true
        wait "$pulse_pid" 2>/dev/null || true
        pulse_pid=
    fi
}
