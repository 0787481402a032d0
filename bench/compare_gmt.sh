#!/usr/bin/env bash
# Compares the speed of our forward calculation with gmt talwani2d on the same
# 2.5-D gravity model (one body of 1000 edges, 10 000 stations, strike
# half-extents 10 and 20 km). Builds the benchmarks in build/bench (release),
# installs gmt with apt-get when it is missing, checks that both give the same
# anomaly, and prints the ratio of throughputs (ours / gmt's): first with our
# calculation on one thread, last with it spread over every processor.
# gmt talwani2d itself runs on one thread. Goals: 15 on one thread, 110 on
# eight processors. PELK_JOBS limits the build's parallel jobs (default: every
# processor); PELK_BENCH_BUILD names another release build folder to use.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PELK_BENCH_BUILD:-$root/build/bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELK_TESTS=OFF \
    -DPELK_BENCH=ON >/dev/null
cmake --build "$build" --target bench_calc -j "${PELK_JOBS:-$(nproc)}" >/dev/null
bench="$build/bench/bench_calc"

if ! command -v gmt >/dev/null; then
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    echo "installing gmt"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends gmt >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
read -r ymin ymax < <("$bench" --write-gmt="$work")
head -n 1 "$work/stations.txt" >"$work/one_station.txt"

# Our times (seconds per calculation) on one thread and on all processors.
"$bench" --benchmark_filter='^CALC/2.5-D/gravity/' --benchmark_min_time=2 \
    --benchmark_format=json --benchmark_out="$work/ours.json" >/dev/null

OMP_NUM_THREADS=1 python3 - "$work" "$ymin" "$ymax" <<'PY'
import json
import os
import subprocess
import sys
import time

work, ymin, ymax = sys.argv[1], sys.argv[2], sys.argv[3]


def gmt(stations):
    # Stations 0.1524 m above the surface (positive down), as ours are.
    cmd = ["gmt", "talwani2d", os.path.join(work, "body.txt"), "-Mhz",
           "-T" + os.path.join(work, stations), "-Z-0.1524/-%s/%s" % (ymin, ymax)]
    best, out = None, None
    for _ in range(3):
        start = time.perf_counter()
        out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
        took = time.perf_counter() - start
        best = took if best is None else min(best, took)
    return best, out


full, table = gmt("stations.txt")
startup, _ = gmt("one_station.txt")
gmt_seconds = full - startup

# Same anomaly: gmt uses 6.6743 for the gravitational constant, we 6.673.
ours = [float(line.split()[1]) for line in open(os.path.join(work, "ours.txt"))]
theirs = [float(line.split()[1]) * 6.673 / 6.6743 for line in table.splitlines()]
worst = max(abs(a - b) / abs(b) for a, b in zip(ours, theirs))

runs = json.load(open(os.path.join(work, "ours.json")))["benchmarks"]
scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
times = {}
for r in runs:
    threads = r["name"].split("threads:")[1].split("/")[0]
    times[threads] = r["real_time"] * scale[r["time_unit"]]
one, every = times["1"], times["0"]

print("model: 1000 edges, 10000 stations, 2.5-D gravity; largest relative difference "
      "from gmt %.2g" % worst)
print("gmt talwani2d: %.3f s (start-up of %.3f s left out)" % (gmt_seconds, startup))
print("ours, one thread: %.3f s; all %d processors: %.3f s" % (one, os.cpu_count(), every))
print("one-core ratio (ours / gmt): %.2f   (goal 15)" % (gmt_seconds / one))
print("all-core ratio (ours / gmt): %.2f   (goal 110 on 8 processors)" % (gmt_seconds / every))
PY
