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

# "HH:MM:SS.mmm" now, without starting a process.
console_now() {
    local seconds="${EPOCHREALTIME%.*}" fraction="${EPOCHREALTIME#*.}"
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
    local line="$1" rest="${1#* }" bytes
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
            local code="${bytes:3:2}"
            console_print mouse "got command $bytes ($(console_command_name "$code"))" ;;
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

# Follows the files and prints their lines as console lines.
console_follow() {
    local current="" line
    # -F follows a file that is replaced or truncated; headers "==> FILE <=="
    # tell which file the next lines come from.
    tail -n +1 -F -s 0.1 "$@" 2>/dev/null | while IFS= read -r line; do
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
