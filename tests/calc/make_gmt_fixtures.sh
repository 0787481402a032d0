#!/usr/bin/env bash
# Regenerates the gmt talwani2d fixtures of the forward-calculation tests from
# fixtures/gmt_body.txt: the gravity of that body (1 g/cc) at 41 stations from
# -20 to 20 km, two-dimensional and with strike half-extents 3 km (towards -y)
# and 5 km (towards +y). The stations are put 0.1524 m above the surface, the
# height at which our calculation evaluates every station. GMT is installed
# with apt-get when it is missing; the tests only read the files written here.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
if ! command -v gmt >/dev/null; then
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends gmt >/dev/null
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
{
    echo "> 1000"
    grep -v '^#' "$here/fixtures/gmt_body.txt"
} >"$work/body.txt"
# -Mhz: km across and down; -Z: level (m, positive down), then the strike
# extent in metres for the 2.5-D case.
gmt talwani2d "$work/body.txt" -Mhz -T-20/20/1 -Z-0.1524 >"$here/fixtures/gmt_talwani2d_2d.txt"
gmt talwani2d "$work/body.txt" -Mhz -T-20/20/1 -Z-0.1524/-3000/5000 \
    >"$here/fixtures/gmt_talwani2d_25d.txt"
echo "written: fixtures/gmt_talwani2d_2d.txt fixtures/gmt_talwani2d_25d.txt ($(gmt --version))"
