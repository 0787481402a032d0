#!/usr/bin/env bash
# Explores the program with new seeds for SECONDS on every core (or PELK_JOBS
# processes): each process takes every JOBS-th seed from a start taken from the
# clock (or PELK_EXPLORE_SEED). Findings, their shrunk journeys and what was
# reached are summed up at the end; the full reports stay in the output folder.
#   bash tools/explore.sh SECONDS [OUTPUT-FOLDER]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: explore.sh SECONDS [OUTPUT-FOLDER]}"
out="${2:-$root/build/explore-$(date +%Y%m%d-%H%M%S)}"
jobs="${PELK_JOBS:-$(nproc)}"
build="$root/build/asan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELK_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$jobs" --target test_explorer
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
start="${PELK_EXPLORE_SEED:-$(date +%s)000}"
mkdir -p "$out"
# The reports are appended to as journeys end: an earlier run's would be summed in.
rm -f "$out"/report-*.txt "$out"/report.txt "$out"/log-*.txt
# A copy of the program, so that a rebuild meanwhile leaves the runs alone.
cp "$build/test_explorer" "$out/test_explorer"
pids=()
for ((i = 0; i < jobs; i++)); do
  PELK_EXPLORE_SECONDS="$seconds" PELK_EXPLORE_SEED=$((start + i)) PELK_EXPLORE_STRIDE="$jobs" \
  PELK_EXPLORE_REPORT="$out/report-$i.txt" \
    "$out/test_explorer" --gtest_also_run_disabled_tests \
      --gtest_filter='ExplorerTest.DISABLED_NewSeeds' >"$out/log-$i.txt" 2>&1 &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || true; done
cat "$out"/report-*.txt >"$out/report.txt"
journeys=$(grep -c '^journey ' "$out/report.txt" || true)
steps=$(awk '/^journey /{s += $4} END {print s + 0}' "$out/report.txt")
echo "journeys: $journeys  steps: $steps"
echo "distinct commands and keys reached: $(grep '^reached cmd\|^reached key\|^reached ctrl\|^reached shift' "$out/report.txt" | sort -u | wc -l)"
echo "distinct dialogs reached: $(grep '^reached dlg' "$out/report.txt" | sort -u | wc -l)"
echo "failures by kind:"
grep '^failure ' "$out/report.txt" | cut -d' ' -f3- | sort | uniq -c | sort -rn || true
echo "tolerated (known elsewhere):"
grep '^tolerated ' "$out/report.txt" | cut -d' ' -f3 | sort | uniq -c || true
echo "full report: $out/report.txt"
