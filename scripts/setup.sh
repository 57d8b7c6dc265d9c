#!/usr/bin/env bash
# Installs, with apt, every package that building, testing and running Edu Tikmeter needs.
# Quick when everything is already there: only missing packages are asked for.
# `setup.sh --package` also installs lintian, which checks the Debian package.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-qpa-plugins libqt6svg6 libgl-dev
    qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev
    clang clang-format
    xvfb xauth poppler-utils fonts-dejavu-core unzip
    emscripten chromium
)
if [ "${1:-}" = "--package" ]; then
    packages+=(lintian)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
# Node.js and npm for the web page's build and tests; one from outside Debian will do.
for tool in node:nodejs npm:npm; do
    if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
        missing+=("${tool#*:}")
    fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
install() {
    echo "Installing: $*"
    [ -n "${updated:-}" ] || { $SUDO apt-get update -qq; updated=1; }
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@"
}
if [ ${#missing[@]} -gt 0 ]; then
    install "${missing[@]}"
fi

# The fuzzers' runtime (libFuzzer, the sanitizers) of the clang that is installed.
clang_major="$(clang --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)"
runtime="libclang-rt-${clang_major}-dev"
if ! dpkg-query -W -f='${Status}' "$runtime" 2>/dev/null | grep -q "install ok installed"; then
    install "$runtime"
fi

# The npm packages of the web page (zip library, browser driver), as the lock file pins them.
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ ! -f "$root/node_modules/.package-lock.json" ] ||
    [ "$root/package-lock.json" -nt "$root/node_modules/.package-lock.json" ]; then
    (cd "$root" && npm ci --no-audit --no-fund)
fi
