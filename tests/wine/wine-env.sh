# shellcheck shell=bash
# Sourced by the test and run scripts: one Wine environment for the whole run.
# Starts Xvfb (it picks a free display) with openbox, a Wine prefix, and one
# persistent wineserver. wine_env_stop ends them all and waits for their end.
#
#   source tests/wine/wine-env.sh; wine_env_start; ...; wine_env_stop
#
# wine_env_add_slots N starts more such environments beside it, for tests
# run side by side (see there).
#
# WINE_RUN_DIR: the folder of the run's own files (a new temporary folder,
# removed by wine_env_stop, when unset). MOUSEHID_WINE_PREFIX: a prefix kept
# between runs (made once, then reused); unset, the prefix is a fresh one in
# WINE_RUN_DIR. MOUSEHID_VIRTUAL_HID_DIR: the folder of the virtual HID bus's
# drivers, installed in the prefix once (default: build/win/virtualhid when built).

source "$(dirname "${BASH_SOURCE[0]}")/virtual-hid.sh"

wine_env_start() {
    WINE_RUN_DIR_IS_TEMPORARY=0
    if [ -z "${WINE_RUN_DIR:-}" ]; then
        WINE_RUN_DIR="$(mktemp -d /tmp/mousehid-wine.XXXXXX)"
        WINE_RUN_DIR_IS_TEMPORARY=1
    fi
    export WINE_RUN_DIR
    export WINEPREFIX="${MOUSEHID_WINE_PREFIX:-$WINE_RUN_DIR/prefix}"
    export WINEARCH=win64
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    wine_env_display "$WINE_RUN_DIR"
    wine_env_prefix
    wine_env_write_slot 0
}

# Starts Xvfb (on a free display) and openbox for one environment; their
# process ids go into folder $1. Exports DISPLAY.
wine_env_display() {
    local dir="$1" fdfile="$1/display"
    # Own sessions: a Ctrl-C in the terminal must not reach the display server.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    local i
    for i in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    setsid openbox >"$dir/openbox.log" 2>&1 &
    echo $! >"$dir/openbox.pid"
}

# Makes the prefix $WINEPREFIX once (a half-made one is made again), starts
# its persistent wineserver and installs the virtual HID bus when built.
wine_env_prefix() {
    local ready="$WINEPREFIX/.mousehid-ready"
    [ -f "$ready" ] || rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p
    if [ ! -f "$ready" ]; then
        wineboot -i >"$WINE_RUN_DIR/wineboot.log" 2>&1
        # A crash ends the process with a failing exit code instead of waiting in a debugger dialog.
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /t REG_SZ /d 'no-such-debugger.exe' /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
        touch "$ready"
    fi
    # The virtual HID bus (virtual-hid.sh), when built.
    local vhid="${MOUSEHID_VIRTUAL_HID_DIR:-$(dirname "${BASH_SOURCE[0]}")/../../build/win/virtualhid}"
    if [ -f "$vhid/vhidbus.sys" ]; then
        virtual_hid_install "$vhid" || echo "wine-env.sh: the virtual HID bus did not install" >&2
    fi
}

# Notes environment $1 (its display and prefix) for wine-slot.sh.
wine_env_write_slot() {
    printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$DISPLAY" "$WINEPREFIX" >"$WINE_RUN_DIR/slot-$1.env"
}

# Tests side by side: starts environments 1 to N-1 beside environment 0 (the
# one wine_env_start made), each with its own display, prefix and
# wineserver, so that their windows, desktops, input and named objects never
# meet. Writes $WINE_RUN_DIR/resources.json, which gives ctest one "wine"
# slot per environment (ctest --resource-spec-file); a test that asks for
# one (RESOURCE_GROUPS wine:1) runs in the environment of its slot
# (wine-slot.sh). The environments beyond the first are made side by side.
#   wine_env_add_slots N
wine_env_add_slots() {
    local count="$1" k pids=()
    for k in $(seq 1 $((count - 1))); do
        (
            local dir="$WINE_RUN_DIR/slot-$k"
            mkdir -p "$dir"
            if [ -n "${MOUSEHID_WINE_PREFIX:-}" ]; then
                export WINEPREFIX="$MOUSEHID_WINE_PREFIX-$k"
            else
                export WINEPREFIX="$dir/prefix"
            fi
            wine_env_display "$dir"
            wine_env_prefix
            wine_env_write_slot "$k"
        ) &
        pids+=($!)
    done
    for k in "${pids[@]}"; do wait "$k" || true; done
    {
        printf '{"version": {"major": 1, "minor": 0}, "local": [{"wine": ['
        for k in $(seq 0 $((count - 1))); do
            [ "$k" -gt 0 ] && printf ', '
            printf '{"id": "%d", "slots": 1}' "$k"
        done
        printf ']}]}\n'
    } >"$WINE_RUN_DIR/resources.json"
}

# True while process $1 runs (a child that ended but was not waited for is
# a zombie, which counts as ended).
wine_env_alive() {
    local stat
    stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 1
    stat="${stat##*) }"
    [ "${stat%% *}" != Z ]
}

wine_env_stop() {
    # Ends every Wine process of each environment's prefix (environment 0's
    # is the caller's WINEPREFIX), then waits for its server to go.
    local slot
    for slot in "${WINE_RUN_DIR:-/nonexistent}"/slot-*.env; do
        [ -f "$slot" ] || continue
        (
            source "$slot"
            wineserver -k >/dev/null 2>&1 || true
            timeout 20 wineserver -w >/dev/null 2>&1 || true
        )
    done
    if [ ! -f "${WINE_RUN_DIR:-/nonexistent}/slot-0.env" ] && [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        timeout 20 wineserver -w >/dev/null 2>&1 || true
    fi
    local pidfile pid
    for pidfile in "$WINE_RUN_DIR"/openbox.pid "$WINE_RUN_DIR"/slot-*/openbox.pid \
        "$WINE_RUN_DIR"/xvfb.pid "$WINE_RUN_DIR"/slot-*/xvfb.pid; do
        [ -f "$pidfile" ] || continue
        pid="$(cat "$pidfile")"
        rm -f "$pidfile"
        kill "$pid" >/dev/null 2>&1 || continue
        for _ in $(seq 1 50); do
            wine_env_alive "$pid" || break
            sleep 0.1
        done
    done
    if [ "${WINE_RUN_DIR_IS_TEMPORARY:-0}" = 1 ]; then
        rm -rf "$WINE_RUN_DIR"
        unset WINE_RUN_DIR
        WINE_RUN_DIR_IS_TEMPORARY=0
    fi
}
