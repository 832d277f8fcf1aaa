#!/usr/bin/env bash
# Starts the installed fiscora-desktop on a real X11 display with a sample card and checks, from
# outside the application, that its window comes up and names the card's registers in its title.
#   desktopsmoke.sh APP MKCARD WORKDIR
set -euo pipefail
app=$1 mkcard=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
"$mkcard" "$work/card" --registers 2 --lines 2 >/dev/null

# Only a hung start ends the test this way; the window is looked for until it is there.
export HOME=$work QT_QPA_PLATFORM=xcb
# libxkbcommon-x11 copies a keymap name with a bounded strndup() from a reply that holds no NUL
# after it, which is sound C; a sanitizer build's strict string checks would take it for an overflow.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1" "$2/card" "$2/backups" &
    app=$!
    for attempt in $(seq 600); do
        if xwininfo -root -tree | grep -F -- "$2/card – registers 12345678, 12345679 – Fiscora"; then
            kill $app
            exit 0
        fi
        kill -0 $app 2>/dev/null || { echo "fiscora-desktop ended before its window came up"; exit 1; }
        sleep 0.1
    done
    echo "no window of fiscora-desktop names the registers:"
    xwininfo -root -tree
    kill $app
    exit 1' smoke "$app" "$work"
