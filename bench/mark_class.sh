#!/usr/bin/env bash
# Marks a class of 40 typical tests with `tikmeter mark` and reports the session time and
# the time per test (median of several runs), destination on the disk that holds TMPDIR. The
# program folder is kept between runs, as on a teacher's computer (its guides and source
# copies are there from the first run); each run marks into a new destination folder.
# Usage: bench/mark_class.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-11}"
tool="$build/bin/tikmeter"
[ -x "$tool" ] || { echo "no $tool: build first (scripts/build.sh)" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tikmeter-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/class" "$work/home"
# 40 tests: the 24 of the example class, then 16 of them again under other names.
i=0
for round in 1 2; do
    for test in "$root"/examples/class-a/*.rtf; do
        [ $i -lt 40 ] || break
        cp "$test" "$work/class/t$(printf %02d $i).rtf"
        i=$((i + 1))
    done
done

echo "load: $(cut -d' ' -f1-3 /proc/loadavg)  jobs: ${TIKMETER_JOBS:-one per core}"
times=()
for run in $(seq "$runs"); do
    rm -rf "$work/home/class"
    start=$(date +%s%N)
    EDU_TIKMETER_HOME="$work/home" "$tool" mark \
        --english "$root/examples/sources/english.rtf" \
        --afrikaans "$root/examples/sources/afrikaans.rtf" \
        "$work"/class/*.rtf >/dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
lines=$(wc -l < "$work/home/class/Resultaat.res")
echo "tests marked: $lines"
echo "session time (median of $runs): $((median / 1000)).$(printf %03d $((median % 1000))) ms"
echo "time per test: $((median / 40)) us"
