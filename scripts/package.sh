#!/usr/bin/env bash
# Builds the Debian package build/edu-tikmeter_<version>_amd64.deb: the web page with
# Emscripten (build-web/), the programs (build/, the same folder as scripts/test.sh's),
# then `cpack -G DEB`. lintian checks it (errors fail; warnings are shown). The package's
# path is the one line on standard output; everything else goes to standard error.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
{
    "$root/scripts/setup.sh" --package
    "$root/scripts/build-web.sh" "$root/build-web"
    "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTIKMETER_WEB_PAGE="$root/build-web/edu-tikmeter.html"
    rm -f "$build"/edu-tikmeter_*.deb
    (cd "$build" && cpack -G DEB)
} >&2
debs=("$build"/edu-tikmeter_*_amd64.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "package.sh: cpack did not leave one edu-tikmeter_*_amd64.deb in $build" >&2
    exit 1
fi
# lintian warns when run as root; the check is the same.
status=0
report="$(lintian --fail-on error --display-info "${debs[0]}" 2>&1)" || status=$?
grep -v '^running with root privileges' <<<"$report" >&2 || true
if [ $status -ne 0 ]; then
    echo "package.sh: lintian failed (status $status) on ${debs[0]}" >&2
    exit 1
fi
echo "${debs[0]}"
