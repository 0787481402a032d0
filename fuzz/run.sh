#!/usr/bin/env bash
# Builds the fuzzer of a file reader with clang and runs it.
#   bash fuzz/run.sh tqm 60     the database reader for 60 seconds
#   bash fuzz/run.sh xyz 60     the XYZ reader; likewise column, mog and zaf
#   bash fuzz/run.sh mdl 60     the ASCII model reader
#   bash fuzz/run.sh png 60     the PNG image reader; likewise bmp and pcx
# The layers are built by the project's own CMake files into build/fuzz (clang,
# AddressSanitizer, UndefinedBehaviorSanitizer, coverage for libFuzzer); the
# fuzzer and its seed maker are linked here against the layer archives. The
# seed corpus is written into fuzz/corpus-<target> from the tests' fixtures.
# The exit code is libFuzzer's: 0 when nothing was found. Findings are left in
# build/fuzz/findings.
set -euo pipefail
target="${1:-tqm}"
seconds="${2:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build/fuzz"
jobs="${PELK_JOBS:-$(nproc)}"

case "$target" in
  tqm) fuzzer=database_reader_fuzz seeds=make_database_seeds fixtures=database_fixtures.cpp ;;
  mdl) fuzzer=model_reader_fuzz seeds="" ;;
  xyz|column|mog|zaf)
    fuzzer=${target}_reader_fuzz seeds=make_${target}_seeds fixtures=zaf_fixtures.cpp ;;
  png|bmp|pcx) fuzzer=${target}_reader_fuzz seeds=make_image_seeds fixtures="" ;;
  *) echo "unknown fuzz target: $target (known: tqm, mdl, xyz, column, mog, zaf, png, bmp, pcx)" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELK_TESTS=OFF \
    -DPELK_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" >/dev/null
cmake --build "$build" -j "$jobs" --target pelk_files

archives=()
for layer in files calc model util toolkit platform base; do
  [[ -f "$build/libpelk_$layer.a" ]] && archives+=("$build/libpelk_$layer.a")
done
system_libs=$(pkg-config --libs freetype2 fontconfig cairo cairo-pdf cairo-ft x11 zlib libpng)
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -ffp-contract=off
       -fsanitize=address,undefined -fno-sanitize-recover=undefined -I"$root/src")
link=(-Wl,--start-group "${archives[@]}" -Wl,--end-group $system_libs -lpthread)

clang++ "${flags[@]}" -fsanitize=fuzzer "$root/fuzz/$fuzzer.cpp" "${link[@]}" -o "$build/$fuzzer"

corpus="$root/fuzz/corpus-$target"
mkdir -p "$corpus" "$build/findings"
if [[ "$seeds" == make_image_seeds ]]; then
  clang++ "${flags[@]}" "$root/fuzz/$seeds.cpp" "${link[@]}" -o "$build/$seeds"
  "$build/$seeds" "$target" "$corpus"
elif [[ -n "$seeds" ]]; then
  clang++ "${flags[@]}" -I"$root/tests/files" "$root/fuzz/$seeds.cpp" \
      "$root/tests/files/$fixtures" "${link[@]}" -o "$build/$seeds"
  "$build/$seeds" "$corpus"
else
  cp "$root"/tests/files/golden/*."$target" "$corpus"/
fi

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$build/$fuzzer" "$corpus" -max_total_time="$seconds" -rss_limit_mb=2048 \
    -malloc_limit_mb=512 -timeout=10 -artifact_prefix="$build/findings/" -print_final_stats=1
