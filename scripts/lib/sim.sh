# The simulated card for runs and tests. Source it after common.sh and call sim_register: it
# registers quendasim.dll in the Wine prefix (vendor control object, the card's device, the
# driver file) and, unless one is chosen already, points the mixer of every process started
# afterwards at it.

sim_register() {
    local dll="$BIN_DIR/quendasim.dll"
    [ -f "$dll" ] || return 0
    # Wine maps the Unix root to drive Z:.
    local path="Z:${dll//\//\\}"
    export QUENDA_MIXER_DRIVER=${QUENDA_MIXER_DRIVER:-$path}
    # regsvr32 of the prefix's own architecture, started by the build's loader.
    if ! wine regsvr32 /s "$path" </dev/null >/dev/null 2>&1; then
        echo "warning: the simulated card could not be registered" >&2
    fi
}
