# shellcheck shell=bash
# Sourced by the commands beside a run: what the simulated mouse got, read
# from its log (build/run/logs/mouse.log, one line per report it received:
# "<ms> ff01 07 cc .." for a command, "<ms> ff00 .." for a data report).
# A command says whether the mouse got what it is for from these lines, not
# from the service's answer (the service answers whether or not the mouse
# was there).

# The log's line count now: the lines after it are what came since.
mouselog_mark() { wc -l <"$RUN_LOGS/mouse.log" 2>/dev/null || echo 0; }

# The log's lines after mark $1.
mouselog_since() { tail -n +"$(($1 + 1))" "$RUN_LOGS/mouse.log" 2>/dev/null | tr -d '\r'; }

# The command codes (two hex digits each, one a line) the mouse got after mark $1.
mouselog_commands() { mouselog_since "$1" | awk '$2 == "ff01" && $3 == "07" { print $4 }'; }

# The whole command report of the last command $2 after mark $1 ("07 01 03 00 ...").
mouselog_command_bytes() {
    mouselog_since "$1" | awk -v c="$2" '$2 == "ff01" && $3 == "07" && $4 == c { $1 = ""; $2 = ""; line = $0 }
        END { sub(/^ +/, "", line); print line }'
}

# How many data reports the mouse got after mark $1 that followed command $2
# (up to the next command).
mouselog_data_after() {
    mouselog_since "$1" | awk -v c="$2" '$2 == "ff01" { inside = ($3 == "07" && $4 == c) ; next }
        $2 == "ff00" && inside { n++ } END { print n + 0 }'
}

# How many reports the mouse sent (input reports) after mark $1.
mouselog_sent() { mouselog_since "$1" | awk '$2 == "input" { n++ } END { print n + 0 }'; }

# True when every command code of $2... arrived after mark $1.
mouselog_got_all() {
    local mark="$1" code got
    shift
    got="$(mouselog_commands "$mark")"
    for code in "$@"; do
        grep -qx "$code" <<<"$got" || return 1
    done
}

# Waits up to $2 seconds for every command code of $3... after mark $1.
mouselog_wait_for() {
    local mark="$1" seconds="$2"
    shift 2
    for _ in $(seq 1 $((seconds * 10))); do
        mouselog_got_all "$mark" "$@" && return 0
        sleep 0.1
    done
    return 1
}

# "plugged" or "unplugged" from the mouse's control channel; empty when it
# does not answer.
mouselog_plug_state() {
    local answer
    answer="$(product_exe hidsimctl.exe status 2>/dev/null | tr -d '\r')"
    case "$answer" in
        *plugged=1*) echo plugged ;;
        *plugged=0*) echo unplugged ;;
    esac
}
