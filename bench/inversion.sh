#!/usr/bin/env bash
# The cost of the inversion: builds the benchmarks in build/bench (release)
# and prints the time of one forward calculation and of one inversion step on
# a 20-body, 2000-station profile with 30 free parameters, their ratio, and
# the time of 10 steps on one processor and on every processor (each the best
# of its repetitions; processor time on one core, wall time on every core).
# PELK_JOBS limits the build's parallel jobs (default: every processor).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELK_TESTS=OFF \
    -DPELK_BENCH=ON >/dev/null
cmake --build "$build" --target bench_inversion -j "${PELK_JOBS:-$(nproc)}" >/dev/null
exec "$build/bench/bench_inversion" "$@"
