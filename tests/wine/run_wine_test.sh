#!/usr/bin/env bash
# Runs the Win32 backends' test program under Wine on an X server of its own.
#
#   run_wine_test.sh TEST_EXE WORK_FOLDER
#
# The program runs from a copy in "WORK_FOLDER/Zorvane Café" with a Wine prefix in WORK_FOLDER.
# It asks for xdotool (the pointer seen from outside, key presses) by writing "xdotool WORDS" on
# its output; this script runs it and answers "ok OUTPUT" or "failed OUTPUT" on its input.
set -euo pipefail
exe=$1
work=$2
folder="$work/Zorvane Café"

export WINEPREFIX="$work/prefix" WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is created.
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb=
cleanup() {
    wineserver -k 2>/dev/null || true
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT

wait_for() { # seconds, command...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# A server of the prefix left by an interrupted run would still talk to its old display.
wineserver -k 2>/dev/null || true
mkdir -p "$work"
rm -rf "$folder" "$work/display"
mkdir "$folder"
cp "$exe" "$folder/"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
wait_for 10 test -s "$work/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"

# Without a window manager Wine waits 2 s for one at every hide and destroy, unless its windows
# are unmanaged. Text files open with Notepad, as on Windows.
printf '%s\r\n' REGEDIT4 '' '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CLASSES_ROOT\.txt]' '@="txtfile"' >"$work/settings.reg"
(cd "$work" && wine reg import settings.reg >/dev/null)

coproc program { cd "$folder" && exec timeout 60 wine "./$(basename "$exe")"; }
pid=$program_PID
exec {from}<&"${program[0]}" {to}>&"${program[1]}"
while IFS= read -r line <&"$from"; do
    line=${line%$'\r'}
    if [[ $line == "xdotool "* ]]; then
        read -ra words <<<"${line#xdotool }"
        if output=$(timeout 10 xdotool "${words[@]}" 2>&1); then
            echo "ok ${output//$'\n'/ }" >&"$to"
        else
            echo "failed ${output//$'\n'/ }" >&"$to"
        fi
    else
        echo "$line"
    fi
done
status=0
wait "$pid" || status=$?
[ "$status" -ne 124 ] || echo "FAIL the test program did not end within 60 s: a call blocked"
exit "$status"
