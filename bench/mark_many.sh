#!/usr/bin/env bash
# An exam centre's batch: COUNT tests (default 2000, the test data's class repeated under
# other names) marked by one `tikmeter mark` run on disk. Reports the session time and the
# peak memory (RSS). Usage: bench/mark_many.sh [BUILD_DIR] [COUNT] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
count="${2:-2000}"
runs="${3:-3}"
tool="$build/bin/tikmeter"
[ -x "$tool" ] || { echo "no $tool: build first (scripts/build.sh)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tikmeter-many.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/centre" "$work/home"
sources=("$root"/tests/data/class-a/*.rtf)
for i in $(seq 0 $((count - 1))); do
    cp "${sources[$((i % ${#sources[@]}))]}" "$work/centre/s$(printf %05d "$i").rtf"
done

echo "load: $(cut -d' ' -f1-3 /proc/loadavg)  jobs: ${TIKMETER_JOBS:-one per core}"
for run in $(seq "$runs"); do
    rm -rf "${work:?}/home"/*
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/rss" env EDU_TIKMETER_HOME="$work/home" "$tool" mark \
        --english "$root/tests/data/sources/en1-libreoffice.rtf" \
        --afrikaans "$root/tests/data/sources/af1-libreoffice.rtf" \
        "$work"/centre/*.rtf >/dev/null
    end=$(date +%s%N)
    lines=$(wc -l < "$work/home/centre/Resultaat.res")
    echo "run $run: $lines tests in $(( (end - start) / 1000000 )) ms, peak memory $(( $(cat "$work/rss") / 1024 )) MB"
done
