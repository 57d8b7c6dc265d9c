#!/usr/bin/env bash
# Configures and builds one build folder. Usage: scripts/build.sh [BUILD_DIR] [extra cmake args...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${generator[@]}" "$@"
else
    cmake "$build" "$@" >/dev/null
fi
cmake --build "$build" -j "$(nproc)"
