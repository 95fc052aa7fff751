# Sourced by the test and run scripts: one Wine environment for the whole run.
# Starts Xvfb (it picks a free display) with openbox, a fresh Wine prefix of the
# run's own, and one persistent wineserver. wine_env_stop ends them all.
#
#   source tests/wine/wine-env.sh; wine_env_start; ...; wine_env_stop

wine_env_start() {
    export WINE_RUN_DIR="${WINE_RUN_DIR:-$(mktemp -d /tmp/mousehid-wine.XXXXXX)}"
    export WINEPREFIX="$WINE_RUN_DIR/prefix"
    export WINEARCH=win64
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

    local fdfile="$WINE_RUN_DIR/display"
    # Own sessions: a Ctrl-C in the terminal must not reach the display server.
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >"$WINE_RUN_DIR/xvfb.log" 2>&1 &
    echo $! >"$WINE_RUN_DIR/xvfb.pid"
    local i
    for i in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    setsid openbox >"$WINE_RUN_DIR/openbox.log" 2>&1 &
    echo $! >"$WINE_RUN_DIR/openbox.pid"

    mkdir -p "$WINEPREFIX"
    wineserver -p
    wineboot -i >"$WINE_RUN_DIR/wineboot.log" 2>&1
    # A crash ends the process with a failing exit code instead of waiting in a debugger dialog.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Debugger /t REG_SZ /d 'no-such-debugger.exe' /f >/dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
        /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    local pidfile
    for pidfile in "$WINE_RUN_DIR/openbox.pid" "$WINE_RUN_DIR/xvfb.pid"; do
        [ -f "$pidfile" ] && kill "$(cat "$pidfile")" >/dev/null 2>&1 || true
    done
}
