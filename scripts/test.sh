#!/usr/bin/env bash
# Sets up, builds and runs every test suite: first the normal build, then the same suites
# under AddressSanitizer and UndefinedBehaviorSanitizer. Widget tests run headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Qt's own libraries hold a few allocations until exit; they are not ours.
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp"

"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"

# The web page: marks of its WebAssembly engine in Node, then the page in Chromium; both
# compare with build/bin/tikmeter.
"$root/scripts/build-web.sh" "$root/build-web"
(cd "$root" && node --test tests/web/engine.test.js && node --test tests/web/page.test.js)

if [ "${TIKMETER_SKIP_SANITIZERS:-0}" != "1" ]; then
    "$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug \
        -DTIKMETER_SANITIZE=ON -DTIKMETER_BUILD_BENCH=OFF
    ctest --test-dir "$root/build-asan" --output-on-failure -j "$(nproc)"
fi

# The Debian package: built, installed with apt, used and purged again (needs root or sudo,
# else it says why it skips).
"$root/scripts/test-package.sh"
