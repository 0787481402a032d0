#!/bin/sh
# Starts a virtual X server on a free display, the program on it with the
# example survey, and the checker (x11_desktop_check.cc) that looks at the
# program's windows through Xlib and gives input with xdotool. Leaves a
# picture of the screen in the screenshot folder. Skips (77) only when the
# machine has no Xvfb or xdotool (scripts/deps.sh installs them).
# With a window manager named as the last argument the same checks run under
# it (the manager's frames, moves, focus and maximise).
# Arguments: program checker examples-folder screenshot-folder [WIDTHxHEIGHT [MANAGER]]
program="$1" checker="$2" examples="$3" shots="$4" size="${5:-1366x768}" manager="$6"
for tool in Xvfb xdotool xprop $manager; do
    if ! command -v $tool >/dev/null 2>&1; then
        echo "$tool is missing (scripts/deps.sh installs it): skipped"
        exit 77
    fi
done
work="$(mktemp -d)"
xvfb=""
pid=""
managerPid=""
finish() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$managerPid" ] && kill "$managerPid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
# The server picks a free display number and writes it to the pipe.
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
i=0
while [ ! -s "$work/display" ]; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 $xvfb 2>/dev/null; then
        echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
shot="$shots/x11_desktop_$size.png"
if [ -n "$manager" ]; then
    "$manager" >"$work/manager.log" 2>&1 &
    managerPid=$!
    shot="$shots/x11_desktop_${size}_$manager.png"
    # The manager announces itself on the root window once it runs.
    i=0
    while ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        i=$((i + 1))
        if [ $i -gt 100 ]; then echo "$manager did not start"; cat "$work/manager.log"; exit 1; fi
        sleep 0.1
    done
fi
mkdir -p "$work/survey" "$work/config/pelk-gm" "$shots"
cp "$examples"/* "$work/survey/"
# The profile window's place as saved on a larger screen, off this one (the
# settings file's windows section, read in its order).
{
    printf '[Directories]\nLastDir=%s\n \n[Windows]\n' "$work/survey"
    for w in Dialog Window WellLog Sounding; do
        printf '%s X=   -1\n%s Y=   -1\n' $w $w
        [ $w = Dialog ] || printf '%s W=  615\n%s H=  384\n%s State=    1\n' $w $w $w
    done
    printf 'ProfLine X= 3000\nProfLine Y= 2000\nProfLine W=  752\nProfLine H=  434\nProfLine State=    1\n \n'
} >"$work/config/pelk-gm/PELK-GM.INI"
cd "$work/survey" || exit 1
XDG_CONFIG_HOME="$work/config" "$program" BASIN.TQM >"$work/program.log" 2>&1 &
pid=$!
"$checker" "Varendal 2-D Data Inversion" "$shot"
checked=$?
# The main window's close message ends the program.
i=0
while kill -0 $pid 2>/dev/null && [ $i -lt 300 ]; do
    i=$((i + 1))
    sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
    echo "FAILED: the program did not end on its main window's close message"
    cat "$work/program.log"
    exit 1
fi
wait $pid
code=$?
pid=""
cat "$work/program.log"
[ $code -eq 0 ] || { echo "FAILED: the program ended with $code"; exit 1; }
exit $checked
