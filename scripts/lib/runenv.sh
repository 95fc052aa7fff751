# shellcheck shell=bash disable=SC2034  # the names here are used by the scripts that source this
# Sourced by scripts/run.sh and the commands that drive a running service
# (mouse.sh, control.sh, assign.sh, stop.sh, demo.sh): where a run keeps its
# files, and how a command finds the running environment by itself.
#
# scripts/run.sh writes build/run/state, one KEY=VALUE a line:
#   RUN_PID       the run.sh process
#   DISPLAY       the virtual display (Xvfb), e.g. :1
#   WINEPREFIX    the Wine prefix, build/wine/prefix (kept and reused)
#   XVFB_PID OPENBOX_PID SERVICE_PID CONSOLE_PID   what the run started
#   PRODUCT       the installed service with its stand-ins, build/product
#   LOGS          build/run/logs: one file per console source
# A command reads it, checks that the run is alive, and gives the Wine
# programs it starts that environment; nothing needs to be exported by hand.

MOUSEHID_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
RUN_DIR="$MOUSEHID_ROOT/build/run"
RUN_STATE="$RUN_DIR/state"
RUN_LOGS="$RUN_DIR/logs"
RUN_PREFIX="$MOUSEHID_ROOT/build/wine/prefix"
RUN_PRODUCT="$MOUSEHID_ROOT/build/product"

# Exit codes of every command, one meaning each.
EXIT_OK=0           # done, and it did what it should
EXIT_FAILED=1       # done, but the outcome was wrong (or the service answered an error)
EXIT_USAGE=2        # bad input: unknown word, missing or out-of-range number
EXIT_NOT_RUNNING=3  # no running service to talk to (start scripts/run.sh first)

SERVICE_TITLE="Lunket_GamingMouseHid"
CONFIG_TITLE="Lunket_Driver_Config"
PEVO_TITLE="Pevo_Driver_Config"
TRAY_TITLE="LunketGamingMouseTrayIcon"
PROGRESS_TITLE="QZNDorvantisProgressbar"

# The Wine settings of every Wine program we start: 64-bit only, no debug
# channels (that also keeps Debian's "wine32 is missing" hint quiet), no
# Mono/Gecko installers, no desktop menu entries.
wine_settings() {
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# A Unix path as Wine's Windows path (drive Z: is the Unix root).
windows_path() {
    local path="$1"
    printf 'Z:%s' "${path//\//\\}"
}

state_get() {
    local key="$1" line
    [ -f "$RUN_STATE" ] || return 1
    while IFS= read -r line; do
        if [ "${line%%=*}" = "$key" ]; then
            printf '%s\n' "${line#*=}"
            return 0
        fi
    done <"$RUN_STATE"
    return 1
}

# True when pid $1 is alive and its command line contains $2.
pid_is() {
    local pid="$1" what="$2" cmdline
    [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 1
    cmdline="$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)" || return 1
    [[ "$cmdline" == *"$what"* ]]
}

# The run whose run.sh was killed outright (SIGKILL, a closed terminal) leaves
# its state file and what it started: Xvfb, openbox, the console, and the
# service with its helpers in the Wine prefix. Ends them all from the state
# file's pids and removes the file; says so on standard error, naming the
# command ($1). True when there was such a run.
runenv_clean_up_dead_run() {
    local who="$1" pid prefix
    [ -f "$RUN_STATE" ] || return 1
    pid="$(state_get RUN_PID)" || pid=""
    if [ -n "$pid" ] && pid_is "$pid" run.sh; then return 1; fi
    echo "$who: the run's script (pid ${pid:-unknown}) was killed; ending what it left running..." >&2
    pid="$(state_get CONSOLE_PID)" && [ -n "$pid" ] && kill -- "-$pid" 2>/dev/null
    prefix="$(state_get WINEPREFIX)" || prefix="$RUN_PREFIX"
    if [ -d "$prefix" ]; then
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
        WINEPREFIX="$prefix" timeout 20 wineserver -w >/dev/null 2>&1
    fi
    pid="$(state_get OPENBOX_PID)" && pid_is "$pid" openbox && kill "$pid" 2>/dev/null
    pid="$(state_get XVFB_PID)" && pid_is "$pid" Xvfb && kill "$pid" 2>/dev/null
    rm -f "$RUN_STATE"
    echo "$who: the killed run is cleaned up: nothing of it is left running." >&2
    return 0
}

# Prints the usage text of a script: its header comment from line $2 to $3.
runenv_usage() {
    sed -n "$2,$3p" "$1" | sed 's/^# \{0,1\}//'
}

# Loads the running environment into this shell (DISPLAY, WINEPREFIX and the
# Wine settings, for the Wine programs this command starts). Prints why and
# returns EXIT_NOT_RUNNING when there is no live run.
runenv_attach() {
    local pid
    local who="${1:-${0##*/}}"
    runenv_clean_up_dead_run "$who"
    pid="$(state_get RUN_PID)" || pid=""
    if [ -z "$pid" ] || ! pid_is "$pid" run.sh; then
        echo "$who: no service is running: start it with scripts/run.sh (in another shell)." >&2
        return $EXIT_NOT_RUNNING
    fi
    export DISPLAY WINEPREFIX
    DISPLAY="$(state_get DISPLAY)"
    WINEPREFIX="$(state_get WINEPREFIX)"
    RUN_PRODUCT="$(state_get PRODUCT)"
    RUN_LOGS="$(state_get LOGS)"
    wine_settings
    return 0
}

# Runs a program of the installed product under the run's Wine environment.
product_exe() {
    local exe="$1"
    shift
    wine "$RUN_PRODUCT/$exe" "$@"
}

# A whole number within [low, high]; prints a message naming `what` otherwise.
check_number() {
    local what="$1" value="$2" low="$3" high="$4"
    if [ -z "$value" ]; then
        echo "${0##*/}: missing $what (a number $low to $high)" >&2
        return 1
    fi
    if ! [[ "$value" =~ ^[0-9]+$ ]] || [ "${#value}" -gt 6 ] || ((10#$value < low || 10#$value > high)); then
        echo "${0##*/}: $what '$value' is not a number $low to $high" >&2
        return 1
    fi
    return 0
}
