#!/usr/bin/env bash
# Installs the program of a build folder into a fresh prefix and checks that
# the installation stands on its own: every file in its usual place, each
# opened by its own reader, and the program starting from "/" with a fresh
# home, writing nothing into the folder it was started from.
# Usage: installation_test.sh BUILD_FOLDER SCREENSHOT_FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
shots="$(mkdir -p "$2" && cd "$2" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null

share="$prefix/share"
for f in bin/pelk-gm share/pelk-gm/pelk-gm.html share/pelk-gm/examples/BASIN.TQM \
         share/pelk-gm/examples/BASIN-GRAVITY.XYZ share/applications/pelk-gm.desktop \
         share/icons/hicolor/32x32/apps/pelk-gm.png; do
  [[ -f "$prefix/$f" ]] || fail "$f is not installed"
done
[[ -x "$prefix/bin/pelk-gm" ]] || fail "the program cannot be run"

# The icon is a real 32 x 32 PNG, the desktop entry valid and naming both.
pngcheck -q "$share/icons/hicolor/32x32/apps/pelk-gm.png" || fail "pngcheck rejects the icon"
size="$(identify -format '%w %h' "$share/icons/hicolor/32x32/apps/pelk-gm.png")"
[[ "$size" == "32 32" ]] || fail "the icon is $size, not 32 32"
desktop-file-validate "$share/applications/pelk-gm.desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=pelk-gm %f' "$share/applications/pelk-gm.desktop" || fail "Exec names another program"
grep -qx 'Icon=pelk-gm' "$share/applications/pelk-gm.desktop" || fail "Icon names another icon"
xmllint --html --noout "$share/pelk-gm/pelk-gm.html" 2>/dev/null || fail "the help page does not parse"

# Started from "/" and from an empty folder, with a home of its own and no
# display: the headless screen runs the whole start-up with the example and
# stops at the first wait for the user.
run_headless() {
  local home="$1" folder="$2"
  (cd "$folder" && env -u XDG_CONFIG_HOME -u XDG_STATE_HOME -u XDG_DATA_HOME -u DISPLAY \
     HOME="$home" PELK_BACKEND=headless ASAN_OPTIONS=detect_leaks=0 \
     "$prefix/bin/pelk-gm" "$share/pelk-gm/examples/BASIN.TQM" 2>&1)
}
mkdir -p "$work/home1" "$work/home2" "$work/empty"
set +e
out="$(run_headless "$work/home1" /)"; code=$?
set -e
[[ $code -eq 2 && "$out" == *"no display"* ]] || fail "from /: exit $code, said: $out"
set +e
out="$(run_headless "$work/home2" "$work/empty")"; code=$?
set -e
[[ $code -eq 2 ]] || fail "from an empty folder: exit $code, said: $out"
[[ -z "$(ls -A "$work/empty")" ]] || fail "files written into the current folder: $(ls -A "$work/empty")"
[[ -f "$work/home2/.local/state/pelk-gm/Pelk.dbg" ]] || fail "no debug log in the state folder"

# On an X server, when the machine has one: the program's window shows the
# example's windows (many colours, not an empty screen). A sanitized build on
# a busy machine may take many seconds to draw, so the screen is looked at
# until it shows them.
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  mkdir -p "$work/home3"
  shot="$shots/install_started_from_root.png"
  cat > "$work/x11.sh" <<SCRIPT
cd /
HOME="$work/home3" PELK_BACKEND=x11 ASAN_OPTIONS=detect_leaks=0 \
  "$prefix/bin/pelk-gm" "$share/pelk-gm/examples/BASIN.TQM" &
program=\$!
drawn=1
for i in \$(seq 1 120); do
  sleep 0.5
  xdotool search --class 'pelk-gm' >/dev/null 2>&1 || continue
  import -window root "$shot"
  colours=\$(identify -format '%k' "$shot" 2>/dev/null || echo 0)
  if (( colours > 20 )); then drawn=0; break; fi
done
# The rest of the start-up drawn too, for a person to look at.
sleep 2
import -window root "$shot"
kill \$program
wait \$program 2>/dev/null
exit \$drawn
SCRIPT
  xvfb-run -a -s '-screen 0 1280x1024x24' bash "$work/x11.sh" ||
    fail "the program's windows were not drawn on the X server within a minute"
fi

if ((failures > 0)); then exit 1; fi
echo "installation checked"
