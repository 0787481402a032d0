#!/usr/bin/env bash
# Builds the fuzzer of a reader with clang and runs it.
#   bash fuzz/run.sh tqm 60     the database reader for 60 seconds
#   bash fuzz/run.sh all 60     every target of fuzz/targets.txt, 60 seconds each
#   bash fuzz/run.sh list       the targets
# The layers are built once with clang (AddressSanitizer, UndefinedBehaviorSanitizer,
# coverage for libFuzzer) in build/fuzz, from the project's own CMake files, and
# shared by every target: "all" builds them once, and runs side by side take
# turns at the build (a lock) and then share its archives. Each target links its
# fuzzer and seed maker against the layer archives in its own folder,
# build/fuzz/targets/<target>, so targets can run side by side. The seed corpus is
# written into fuzz/corpus-<target>. The exit code is libFuzzer's (0 when nothing
# was found; with "all", the first failure's). Findings stay in
# build/fuzz/targets/<target>/findings.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${PELK_JOBS:-$(nproc)}"
table="$root/fuzz/targets.txt"

layers="$root/build/fuzz"

targets() { grep -v '^\s*#' "$table" | sed '/^\s*$/d'; }

# The clang build of the layers that every target links against; a run that
# finds another building waits for it and then has nothing left to build.
flags=() link=()
build_layers() {
  [[ ${#link[@]} -gt 0 ]] && return 0
  mkdir -p "$layers"
  (
    flock 9
    cmake -S "$root" -B "$layers" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELK_TESTS=OFF \
        -DPELK_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
    cmake --build "$layers" -j "$jobs" --target pelk_views >/dev/null
  ) 9>"$layers/.lock"
  local archives=() layer
  for layer in views files calc model util toolkit platform base; do
    [[ -f "$layers/libpelk_$layer.a" ]] && archives+=("$layers/libpelk_$layer.a")
  done
  local system_libs
  system_libs=$(pkg-config --libs freetype2 fontconfig cairo cairo-pdf cairo-ft x11 zlib libpng)
  flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -ffp-contract=off
         -fsanitize=address,undefined -fno-sanitize-recover=undefined
         -I"$root/src" -I"$root/tests/files")
  link=(-Wl,--start-group "${archives[@]}" -Wl,--end-group $system_libs -lpthread)
}

run_target() {
  local name="$1" seconds="$2" fuzzer seeds
  read -r _ fuzzer seeds < <(targets | awk -v n="$name" '$1 == n')
  if [[ -z "${fuzzer:-}" ]]; then
    echo "unknown fuzz target: $name (known: $(targets | awk '{print $1}' | xargs))" >&2
    return 2
  fi
  build_layers
  local build="$layers/targets/$name"
  mkdir -p "$build"
  clang++ "${flags[@]}" -fsanitize=fuzzer "$root/fuzz/$fuzzer.cpp" "${link[@]}" -o "$build/$fuzzer"

  local corpus="$root/fuzz/corpus-$name"
  mkdir -p "$corpus" "$build/findings"
  case "$seeds" in
    make:*)
      IFS=: read -r _ maker fixture <<<"$seeds"
      local sources=("$root/fuzz/$maker.cpp")
      [[ -n "${fixture:-}" ]] && sources+=("$root/tests/files/$fixture")
      clang++ "${flags[@]}" "${sources[@]}" "${link[@]}" -o "$build/$maker"
      "$build/$maker" "$corpus" ;;
    copy:*)
      cp $root/${seeds#copy:} "$corpus"/ ;;
  esac

  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}" \
  UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
  LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/fuzz/lsan.supp}" \
  "$build/$fuzzer" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -malloc_limit_mb=512 -timeout=10 -artifact_prefix="$build/findings/" -print_final_stats=1
}

target="${1:-tqm}"
seconds="${2:-60}"
case "$target" in
  list) targets | awk '{print $1}' ;;
  all)
    status=0
    for name in $(targets | awk '{print $1}'); do
      echo "== fuzz $name"
      run_target "$name" "$seconds" || { s=$?; [[ $status -eq 0 ]] && status=$s; }
    done
    exit $status ;;
  *) run_target "$target" "$seconds" ;;
esac
