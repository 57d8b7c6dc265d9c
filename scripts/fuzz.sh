#!/usr/bin/env bash
# Fuzzes the RTF reader. Usage: scripts/fuzz.sh SECONDS
# Builds the libFuzzer target with clang in build-fuzz, then runs it for SECONDS with the test
# corpus as seeds. New inputs go to fuzz/corpus-run; failing inputs to build-fuzz/artifacts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:?usage: scripts/fuzz.sh SECONDS}"
build="$root/build-fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTIKMETER_FUZZ=ON -DTIKMETER_BUILD_GUI=OFF -DTIKMETER_BUILD_TESTS=OFF \
        -DTIKMETER_BUILD_BENCH=OFF
fi
cmake --build "$build" --target fuzz_rtf_reader -j 2

corpus="$root/fuzz/corpus-run"
seeds="$build/seeds"
mkdir -p "$corpus" "$seeds" "$build/artifacts"
# Seeds: every RTF file of the test data (the big picture file is cut, libFuzzer mutates
# the first max_len bytes anyway).
find "$root/tests/data" -type f -name '*.rtf' -exec cp -f {} "$seeds/" \;

export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
"$build/fuzz/fuzz_rtf_reader" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
    -rss_limit_mb=2048 -dict="$root/fuzz/rtf.dict" -artifact_prefix="$build/artifacts/" \
    -print_final_stats=1 "$corpus" "$seeds"
