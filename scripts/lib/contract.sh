# shellcheck shell=bash
# The numbers of the service's outside contract, by their names in
# contract/Messages.h and contract/Timers.h, read from those headers so that
# the scripts never type a message number or timer id of their own.
#   contract_number kMsgFullWrite          -> 0x4DE (as the header writes it)
#   contract_hex4 kNotifyFullWriteDone     -> 04e1  (as the stand-ins log it)

CONTRACT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../contract" && pwd)"

contract_number() {
    local value
    value="$(sed -n "s/^constexpr std::[a-z0-9_]* $1 = \([0-9A-Fa-fx]*\);.*/\1/p" \
        "$CONTRACT_DIR/Messages.h" "$CONTRACT_DIR/Timers.h" | head -n 1)"
    if [ -z "$value" ]; then
        echo "contract.sh: no number named $1 in contract/" >&2
        return 1
    fi
    echo "$value"
}

contract_hex4() {
    local value
    value="$(contract_number "$1")" || return 1
    printf '%04x\n' "$((value))"
}
