# Shell functions for running Vorlan's Windows build under Wine and Xvfb.
# POSIX sh; sourced by scripts/run, scripts/screenshot, scripts/test and
# scripts/lib/wine-emulator. Callers set WINEPREFIX before calling.

# The 64-bit Wine loader (Debian keeps it off PATH).
wine_loader() {
    for candidate in /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64 "$(command -v wine64 2>/dev/null)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    echo "wine64 not found (apt-get install wine64)" >&2
    return 1
}

wine_server() {
    for candidate in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver "$(command -v wineserver 2>/dev/null)"; do
        if [ -n "$candidate" ] && [ -x "$candidate" ]; then
            echo "$candidate"
            return 0
        fi
    done
    return 1
}

# Quiet Wine without the .NET and HTML installers it would otherwise offer.
wine_quiet_environment() {
    WINEDEBUG=${WINEDEBUG:--all}
    WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    export WINEDEBUG WINEDLLOVERRIDES
}

# Creates $WINEPREFIX once. Several test processes may start at the same time,
# so creation happens under a lock and is marked complete by a file.
wine_prepare_prefix() {
    wine_quiet_environment
    if [ -f "$WINEPREFIX/.vorlan-ready" ]; then
        wine_install_caption_font
        return 0
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.vorlan-ready" ]; then
            echo "wine-emulator: creating Wine prefix $WINEPREFIX" >&2
            # No display while the prefix is made: nothing needs to be shown.
            env -u DISPLAY "$(wine_loader)" wineboot -i >/dev/null 2>&1 || true
            env -u DISPLAY "$(wine_server)" -w || true
            if [ ! -f "$WINEPREFIX/system.reg" ]; then
                echo "wine-emulator: could not create $WINEPREFIX" >&2
                exit 1
            fi
            touch "$WINEPREFIX/.vorlan-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
    wine_install_caption_font
}

# Debian's Wine does not find its own Marlett font, which draws the caption
# buttons (they show as "0 1 r" without it); the prefix gets a copy.
wine_install_caption_font() {
    fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/" || true
    fi
}

# Ends every Wine process of $WINEPREFIX (and only those).
wine_stop_prefix() {
    if [ -d "$WINEPREFIX" ]; then
        "$(wine_server)" -k 2>/dev/null || true
    fi
}

# The Wine virtual desktop of headless runs. Xvfb has no window manager, so
# Wine draws the window frames itself inside this desktop, as Windows would.
# Windows are only visible to programs of the same desktop (FindWindow), so a
# program that drives Vorlan must start in it too: wine_start_in_desktop.
VORLAN_DESKTOP=${VORLAN_DESKTOP:-Vorlan,1280x800}

# wine_start_in_desktop FOLDER PROGRAM.exe [arguments...]: starts the program
# from FOLDER in the virtual desktop on $DISPLAY, in the background; its output
# goes to $WINE_LOG (default /dev/null). Sets WINE_PID.
wine_start_in_desktop() {
    folder=$1
    shift
    (cd "$folder" && exec "$(wine_loader)" explorer "/desktop=$VORLAN_DESKTOP" "$@" >"${WINE_LOG:-/dev/null}" 2>&1) &
    WINE_PID=$!
}

# Starts Xvfb on the first free display from :90 on. Sets XVFB_DISPLAY and
# XVFB_PID; returns non-zero when no server came up.
xvfb_start() {
    number=90
    while [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; do
        number=$((number + 1))
    done
    XVFB_DISPLAY=":$number"
    Xvfb "$XVFB_DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    tries=0
    while [ $tries -lt 100 ]; do
        if xwininfo -display "$XVFB_DISPLAY" -root >/dev/null 2>&1; then
            return 0
        fi
        if ! kill -0 "$XVFB_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
    echo "Xvfb did not start on $XVFB_DISPLAY" >&2
    return 1
}

# Waits up to $2 seconds for a top-level window titled exactly $1 on $DISPLAY.
wait_for_window() {
    title=$1
    seconds=${2:-60}
    tries=0
    while [ $tries -lt $((seconds * 5)) ]; do
        if xwininfo -root -tree 2>/dev/null | grep -q "\"$title\""; then
            return 0
        fi
        sleep 0.2
        tries=$((tries + 1))
    done
    return 1
}

# Screenshot of the whole screen of $DISPLAY into the PNG file $1.
take_screenshot() {
    mkdir -p "$(dirname "$1")"
    import -window root "$1"
}
