#!/bin/sh
# Runs the probe program on the X11 presenter (inside xvfb-run), clicks into
# its client area and types a key with xdotool; the probe's exit code is the
# result.
probe="$1"
out="$(mktemp)"
"$probe" >"$out" 2>&1 &
pid=$!
i=0
while ! grep -q READY "$out"; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 $pid 2>/dev/null; then
        cat "$out"; kill $pid 2>/dev/null; rm -f "$out"; exit 1
    fi
    sleep 0.1
done
# The probe's window is an X window of its own at the program's screen
# position, which is the X screen's.
set -- $(grep READY "$out")
xdotool mousemove $(($2 + 30)) $(($3 + 25))
sleep 0.2
xdotool click 1
sleep 0.2
xdotool key k
wait $pid
rc=$?
cat "$out"
rm -f "$out"
exit $rc
