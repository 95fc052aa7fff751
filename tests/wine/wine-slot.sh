# shellcheck shell=bash
# Sourced by whatever runs a test under Wine: when ctest gave the test a slot
# of the resource "wine" (CTEST_RESOURCE_GROUP_0_WINE=id:K,slots:1), the test
# runs in that slot's environment (wine_env_add_slots in wine-env.sh).
# Without a slot it runs in the caller's environment.
if [ -n "${CTEST_RESOURCE_GROUP_0_WINE:-}" ] && [ -n "${WINE_RUN_DIR:-}" ]; then
    wine_slot="${CTEST_RESOURCE_GROUP_0_WINE#id:}"
    wine_slot="${wine_slot%%,*}"
    if [ -f "$WINE_RUN_DIR/slot-$wine_slot.env" ]; then
        # shellcheck disable=SC1090
        source "$WINE_RUN_DIR/slot-$wine_slot.env"
    else
        echo "wine-slot.sh: no environment for slot $wine_slot" >&2
    fi
    unset wine_slot
fi
