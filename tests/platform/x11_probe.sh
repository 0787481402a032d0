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
set -- $(grep READY "$out")
x=$(($2 + 30))
y=$(($3 + 25))
xwin=$(xdotool search --name '^Pelk-GM$' | head -n 1)
xdotool mousemove --window "$xwin" $x $y
sleep 0.2
xdotool click 1
sleep 0.2
xdotool key k
wait $pid
rc=$?
cat "$out"
rm -f "$out"
exit $rc
