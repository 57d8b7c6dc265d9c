#!/usr/bin/env bash
# Builds the one-file web page with Emscripten: BUILD_DIR/edu-tikmeter.html (default build-web).
# Needs `npm ci` first (the zip library is inlined from node_modules).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-web}"
# Debian's Emscripten finds its JavaScript helpers (acorn) in /usr/share/nodejs, which a
# Node.js from outside Debian does not search.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=()
    if command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    emcmake cmake -S "$root" -B "$build" "${generator[@]}" -DTIKMETER_WEB=ON \
        -DTIKMETER_BUILD_GUI=OFF -DTIKMETER_BUILD_TESTS=OFF -DTIKMETER_BUILD_BENCH=OFF
fi
cmake --build "$build" -j 2
