#!/usr/bin/env bash
# Sets up, builds and starts Edu Tikmeter on the examples: the window opens at
# examples/class-a. Without a display, the example class is marked with the command-line
# tool instead, and the log and the result file are printed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/bin/edu-tikmeter" "$root/examples/class-a"
fi

echo "No display: marking the example class with the command-line tool."
echo "(On a desktop this command opens the window; or run: build/bin/edu-tikmeter FOLDER)"
echo
home="${EDU_TIKMETER_HOME:-$root/build/examples-home}"
mkdir -p "$home"
EDU_TIKMETER_HOME="$home" "$root/build/bin/tikmeter" mark \
    --english "$root/examples/sources/english.rtf" \
    --afrikaans "$root/examples/sources/afrikaans.rtf" \
    --dest class-a \
    "$root"/examples/class-a/*.rtf
echo
echo "Resultaat.res:"
tr -d '\r' < "$home/class-a/Resultaat.res"
