# shellcheck shell=bash
# Sourced by scripts/run.sh: the live console. `console_follow FILE...`
# follows the run's log files as they grow (tail -F, one process) and prints
# one line per event, each with the time the console saw it and its source:
#
#   service  the service's debug lines, read from the system's debug-output
#            channel by debuglines.exe (debug.log)
#   mouse    every report the simulated mouse receives or sends, and its plug
#            events (mouse.log, the mouse's HIDSIM_LOG)
#   input    every key and mouse event the system sees, from the input
#            recorder's low-level hooks (input.log), with the time since the
#            previous one
#   config   messages the stand-in "Lunket_Driver_Config" window receives (config.log)
#   pevo     messages the stand-in "Pevo_Driver_Config" window receives (pevo.log)
#   tray     messages the stand-in tray program receives (trayicon.log)
#
# The stand-ins' logs hold every message their windows receive; the console
# shows the programs' own messages (WM_USER and above) and WM_CLOSE.
#
# A run of data reports the mouse gets (the button table's 5, the macro
# area's 378) is one line: what they carry, how many, over how long by the
# mouse's clock; CONSOLE_ALL_DATA=1 (run.sh --all-data) shows each of them.
# CONSOLE_RUN_PID names the run.sh the console belongs to: the console ends
# when that process is gone, however it ended.

# "HH:MM:SS.mmm" now, without starting a process.
console_now() {
    # One reading of the clock: two could straddle a second.
    local now="$EPOCHREALTIME"
    local seconds="${now%.*}" fraction="${now#*.}"
    printf '%(%H:%M:%S)T.%s' "$seconds" "${fraction:0:3}"
}

# When nobody reads the console any more (tee ended by a Ctrl-C), its lines
# are dropped quietly until the run ends it.
console_print() {
    printf '%s  %-7s %s\n' "$(console_now)" "$1" "$2" 2>/dev/null
}

# Names of the service's messages to its sibling programs, and of WM_CLOSE.
console_message_name() {
    case "$1" in
        0x0010) echo "WM_CLOSE" ;;
        0x04d5) echo "0x4D5 profile switched (or macro button notice)" ;;
        0x04d6) echo "0x4D6 resolution stage" ;;
        0x04dd) echo "0x4DD mouse removed" ;;
        0x04e0) echo "0x4E0 mouse arrived or went" ;;
        0x04e1) echo "0x4E1 full write finished" ;;
        0x0671) echo "0x671 the mouse's buttons differ from the settings" ;;
        0x0673) echo "0x673 read-back adopted" ;;
        *) echo "$1" ;;
    esac
}

# A stand-in's log line: "<ms> msg=0x04e1 wParam=0 lParam=0", "<ms> started", "<ms> ended".
console_standin() {
    local source="$1" line="$2" message wparam
    case "$line" in
        *" started") console_print "$source" "window opened" ;;
        *" ended") console_print "$source" "window closed" ;;
        *" msg=0x"*)
            message="${line#* msg=}"
            message="${message%% *}"
            wparam="${line#* wParam=}"
            wparam="${wparam%% *}"
            if [ "$message" = 0x0010 ] || [[ "$message" > 0x03ff ]]; then
                console_print "$source" "received $(console_message_name "$message") wParam=$wparam"
            fi ;;
    esac
}

# Commands the service writes to the mouse's command collection, by code.
console_command_name() {
    case "$1" in
        01) echo "report rate" ;; 04) echo "button table" ;; 05) echo "macro area" ;;
        06) echo "resolution stages" ;; 07) echo "universal scroll" ;; 08) echo "lift-off" ;;
        09) echo "select stage" ;; 0a) echo "logo light" ;; 17) echo "state byte" ;;
        80) echo "probe" ;; 83) echo "read-back query" ;; 84) echo "read-back request" ;;
        89) echo "stage query" ;; *) echo "command $1" ;;
    esac
}

# A command with what its value means: "$1" is the report's bytes "07 cc p1 p2 ...".
console_command_meaning() {
    local -a b
    read -r -a b <<<"$1"
    local name
    name="$(console_command_name "${b[1]:-}")"
    case "${b[1]:-}" in
        01) case "${b[2]:-}" in
                03) echo "$name: code 03 (index 0)" ;; 01) echo "$name: code 01 (index 1)" ;;
                00) echo "$name: code 00 (index 2 or 3)" ;; *) echo "$name: code ${b[2]:-} (unknown)" ;;
            esac ;;
        0a) case "${b[4]:-}" in
                ff) echo "$name: on (FF)" ;; 00) echo "$name: off (00)" ;; *) echo "$name: value ${b[4]:-}" ;;
            esac ;;
        07) echo "$name: $([ "${b[3]:-}" = 00 ] && echo off || echo on) (${b[3]:-})" ;;
        08) echo "$name: level $((16#${b[3]:-0}))" ;;
        09) echo "$name: stage $((16#${b[3]:-0}))" ;;
        17) echo "$name: ${b[2]:-}" ;;
        *) echo "$name" ;;
    esac
}

CONSOLE_DATA_COUNT=0
CONSOLE_DATA_FIRST_MS=""
CONSOLE_DATA_LAST_MS=""
CONSOLE_DATA_WHAT="data"

# Prints the folded line of the data reports seen since the last command, if any.
console_flush_data() {
    [ "$CONSOLE_DATA_COUNT" -gt 0 ] || return 0
    local span=$((CONSOLE_DATA_LAST_MS - CONSOLE_DATA_FIRST_MS)) plural=s
    [ "$CONSOLE_DATA_COUNT" -eq 1 ] && plural=""
    console_print mouse "got data    $CONSOLE_DATA_WHAT: $CONSOLE_DATA_COUNT report$plural over $((span / 1000)).$(printf '%03d' $((span % 1000))) s"
    CONSOLE_DATA_COUNT=0
}

# What an input report the mouse sends stands for.
console_report_meaning() {
    local -a b
    read -r -a b <<<"$1"
    if [ "${#b[@]}" -eq 9 ] && [ "${b[0]}" = 00 ] && [ "${b[1]}" = 07 ] && [ "${b[2]}" = 42 ]; then
        case "${b[5]}" in
            01) echo " (button $((16#${b[4]})) pressed)" ;;
            00) echo " (button $((16#${b[4]})) released)" ;;
        esac
        return
    fi
    if [ "${b[0]:-}" = 03 ]; then
        case "${b[1]:-}" in
            f0) echo " (wheel up)" ;; f1) echo " (wheel down)" ;; f2) echo " (scroll left)" ;;
            f3) echo " (scroll right)" ;; f4) echo " (zoom in)" ;; f5) echo " (zoom out)" ;;
            f6) echo " (launch the program of button $((16#${b[2]:-0})))" ;;
        esac
    fi
}

# A line of the simulated mouse's log.
console_mouse() {
    local line="$1" rest="${1#* }" bytes ms="${1%% *}"
    if [[ "$rest" == "ff00 "* ]] && [ "${CONSOLE_ALL_DATA:-0}" != 1 ] && [[ "$ms" =~ ^[0-9]+$ ]]; then
        [ "$CONSOLE_DATA_COUNT" -eq 0 ] && CONSOLE_DATA_FIRST_MS="$ms"
        CONSOLE_DATA_LAST_MS="$ms"
        CONSOLE_DATA_COUNT=$((CONSOLE_DATA_COUNT + 1))
        return
    fi
    console_flush_data
    case "$rest" in
        "open 1") console_print mouse "opened by the service" ;;
        "open 0") console_print mouse "open refused: unplugged" ;;
        close) console_print mouse "closed by the service" ;;
        plug) console_print mouse "plugged in" ;;
        unplug) console_print mouse "unplugged" ;;
        "input "*)
            bytes="${rest#input }"
            console_print mouse "sent $bytes$(console_report_meaning "$bytes")" ;;
        "ff01 "*)
            bytes="${rest#ff01 }"
            case "${bytes:3:2}" in
                04) CONSOLE_DATA_WHAT="button table" ;; 05) CONSOLE_DATA_WHAT="macro area" ;;
                06) CONSOLE_DATA_WHAT="resolution stages" ;; *) CONSOLE_DATA_WHAT="data" ;;
            esac
            console_print mouse "got command $bytes ($(console_command_meaning "$bytes"))" ;;
        "ff00 "*) console_print mouse "got data    ${rest#ff00 }" ;;
        *) console_print mouse "$line" ;;
    esac
}

console_vk_name() {
    local vk=$((16#${1#0x}))
    if ((vk >= 0x30 && vk <= 0x39)) || ((vk >= 0x41 && vk <= 0x5A)); then
        printf "\\x$(printf %x "$vk")"
        return
    fi
    if ((vk >= 0x70 && vk <= 0x7B)); then
        echo "F$((vk - 0x6F))"
        return
    fi
    case $vk in
        8) echo Backspace ;; 9) echo Tab ;; 13) echo Enter ;; 27) echo Escape ;; 32) echo Space ;;
        16) echo Shift ;; 17) echo Ctrl ;; 18) echo Alt ;;
        160) echo LShift ;; 161) echo RShift ;; 162) echo LCtrl ;; 163) echo RCtrl ;;
        164) echo LAlt ;; 165) echo RAlt ;;
        173) echo VolumeMute ;; 174) echo VolumeDown ;; 175) echo VolumeUp ;;
        176) echo NextTrack ;; 177) echo PreviousTrack ;; 179) echo PlayPause ;;
        *) echo "vk $1" ;;
    esac
}

console_mouse_message() {
    local message="$1" high="$2"
    case "$message" in
        0x200) echo "move" ;;
        0x201) echo "left down" ;; 0x202) echo "left up" ;;
        0x204) echo "right down" ;; 0x205) echo "right up" ;;
        0x207) echo "middle down" ;; 0x208) echo "middle up" ;;
        0x20a) echo "wheel $high" ;; 0x20e) echo "horizontal wheel $high" ;;
        0x20b) echo "extra button $high down" ;; 0x20c) echo "extra button $high up" ;;
        *) echo "message $message" ;;
    esac
}

CONSOLE_LAST_INPUT_US=""

# A line of the input recorder: "key t=<us> msg=.. vk=0x41 ... injected=1 ... up=0 ...".
console_input() {
    local line="$1" field t="" vk="" up="" injected="" message="" high="" what since=""
    [ "$line" = ready ] && { console_print input "recorder listening"; return; }
    for field in $line; do
        case "$field" in
            t=*) t="${field#t=}" ;; vk=*) vk="${field#vk=}" ;; up=*) up="${field#up=}" ;;
            injected=*) injected="${field#injected=}" ;; msg=*) message="${field#msg=}" ;;
            high=*) high="${field#high=}" ;;
        esac
    done
    case "$line" in
        key*) what="key $(console_vk_name "$vk") $([ "$up" = 1 ] && echo up || echo down)" ;;
        mouse*) what="mouse $(console_mouse_message "$message" "$high")" ;;
        *) console_print input "$line"; return ;;
    esac
    [ "$injected" = 1 ] && what="$what, injected"
    if [[ "$t" =~ ^[0-9]+$ ]]; then
        if [ -n "$CONSOLE_LAST_INPUT_US" ]; then
            local delta=$((t - CONSOLE_LAST_INPUT_US))
            since="  (+$((delta / 1000)).$(printf '%01d' $(((delta % 1000) / 100))) ms)"
        fi
        CONSOLE_LAST_INPUT_US="$t"
    fi
    console_print input "$what$since"
}

# A line of debuglines.exe: "debug t=<us> pid=<pid> exe=<name> <text>".
console_debug() {
    local line="$1" rest exe
    [ "$line" = ready ] && { console_print service "debug-output reader listening"; return; }
    rest="${line#* exe=}"
    exe="${rest%% *}"
    [ "$rest" = "$exe" ] && rest="" || rest="${rest#* }"
    if [ "$exe" = mousehid.exe ]; then console_print service "$rest"; else console_print debug "$exe: $rest"; fi
}

# Follows the files and prints their lines as console lines. Ends when the
# run (CONSOLE_RUN_PID) is gone.
console_follow() {
    local current="" line partial="" status
    if [ -n "${CONSOLE_RUN_PID:-}" ]; then
        # The console is the leader of its own process group ($$ of a setsid
        # bash): when the run is gone, the whole group (tail, reader, this
        # watcher) ends.
        (
            # A killed run.sh whose parent is gone too may stay a zombie for
            # a while: that counts as gone.
            while [ -r "/proc/$CONSOLE_RUN_PID/stat" ] &&
                ! grep -q '^[0-9]* (.*) Z ' "/proc/$CONSOLE_RUN_PID/stat" 2>/dev/null; do
                sleep 0.5
            done
            kill -- "-$$" 2>/dev/null
        ) &
    fi
    # -F follows a file that is replaced or truncated; headers "==> FILE <=="
    # tell which file the next lines come from. A quiet moment prints a
    # pending folded line of data reports.
    tail -n +1 -F -s 0.1 "$@" 2>/dev/null | while true; do
        IFS= read -r -t 0.3 line
        status=$?
        if [ $status -ne 0 ]; then
            [ $status -gt 128 ] || break  # end of input; a time-out shows what is pending
            partial+="$line"         # a line cut by the time-out goes on with the next read
            console_flush_data
            continue
        fi
        line="$partial$line"
        partial=""
        if [[ "$line" == "==> "*" <==" ]]; then
            current="${line#==> }"
            current="${current% <==}"
            current="${current##*/}"
            continue
        fi
        [ -n "$line" ] || continue
        line="${line%$'\r'}"
        case "$current" in
            debug.log) console_debug "$line" ;;
            mouse.log) console_mouse "$line" ;;
            input.log) console_input "$line" ;;
            config.log) console_standin config "$line" ;;
            pevo.log) console_standin pevo "$line" ;;
            trayicon.log) console_standin tray "$line" ;;
        esac
    done
}
