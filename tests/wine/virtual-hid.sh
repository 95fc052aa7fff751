# shellcheck shell=bash
# Sourced by wine-env.sh: the virtual HID bus (tools/virtualhid) in the run's Wine prefix.
#
#   virtual_hid_install DIR   DIR holds vhidbus.sys, vhidmini.sys, virtualhid.inf and
#                             virtualhid.exe (build/win/virtualhid). Installs the drivers
#                             once per prefix (about 0.2 s), again only when they changed,
#                             and returns once the bus is up. Needs WINEPREFIX and a running
#                             wineserver (wine_env_start).
#
# The first Wine process of a session starts services.exe, winedevice.exe and
# plugplay.exe, which inherit its standard output and error: this function starts the
# session with its own process writing to a file, so that no caller's pipe is held open
# by the session's services.

virtual_hid_install() {
    local dir="$1" log="${WINE_RUN_DIR:-/tmp}/virtualhid.log"
    local marker="$WINEPREFIX/.mousehid-virtualhid" sum inf
    sum="$(cat "$dir/vhidbus.sys" "$dir/vhidmini.sys" "$dir/virtualhid.inf" | md5sum | cut -d' ' -f1)" || return 1
    inf="Z:$(echo "$dir/virtualhid.inf" | tr / '\\')"
    if [ -f "$marker" ] && [ "$(cat "$marker")" = "$sum" ]; then
        # Installed: Wine starts the bus with the session.
        wine "$dir/virtualhid.exe" wait-bus 10000 >>"$log" 2>&1 || return 1
        return 0
    fi
    if [ -f "$marker" ]; then
        # Other drivers are installed: remove them first. A driver the PnP manager loaded
        # is deleted only when its session ends.
        wine "$dir/virtualhid.exe" uninstall "$inf" >>"$log" 2>&1
        rm -f "$marker"
    fi
    # The install runs in a session of its own: in the session that made the prefix
    # (wineboot) or removed the old drivers, the bus's device never starts.
    wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    wineserver -p
    wine "$dir/virtualhid.exe" install "$inf" >>"$log" 2>&1 || return 1
    echo "$sum" >"$marker"
}
