#!/usr/bin/env bash
# Builds the Debian package (scripts/package.sh), installs it as a lab machine would
# (apt-get install ./edu-tikmeter_*.deb), marks the examples with the installed tikmeter and
# checks the other installed files, checks that the programs wrote nothing under /usr, and
# purges the package again. Installing needs root or sudo; without them the test says so
# and skips.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    SUDO=(sudo)
else
    echo "test-package: skipped: installing the package needs root or sudo without a password"
    exit 0
fi
if dpkg-query -W -f='${Status}' edu-tikmeter 2>/dev/null | grep -q "ok installed"; then
    echo "test-package: skipped: edu-tikmeter is installed on this machine already," \
        "and this test would purge it"
    exit 0
fi

deb="$("$root/scripts/package.sh")"
echo "test-package: $deb ($(du -k "$deb" | cut -f1) KB)"

work="$(mktemp -d)"
installed=0
cleanup() {
    if [ "$installed" = 1 ]; then
        DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get purge -y -qq edu-tikmeter >/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "test-package: FAILED: $*" >&2
    exit 1
}

# Everything under /usr that is newer than a stamp (files, links and folders).
newer_under_usr() {
    find /usr -newer "$1" -print 2>/dev/null | LC_ALL=C sort
}

touch "$work/before-install"
installed=1
(cd "$(dirname "$deb")" &&
    DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq "./$(basename "$deb")" \
        >"$work/apt.log" 2>&1) || {
    cat "$work/apt.log" >&2
    fail "apt-get install ./$(basename "$deb")"
}
dpkg -L edu-tikmeter | LC_ALL=C sort >"$work/package-files"
touch "$work/after-install"

# The installed tool marks the example class in EDU_TIKMETER_HOME.
home="$work/home"
mkdir -p "$home"
examples="$root/examples"
status=0
EDU_TIKMETER_HOME="$home/marks" HOME="$home" /usr/bin/tikmeter mark \
    --english "$examples/sources/english.rtf" --afrikaans "$examples/sources/afrikaans.rtf" \
    "$examples"/class-a/*.rtf >"$work/mark.log" 2>"$work/mark.err" || status=$?
[ "$status" -eq 0 ] || fail "installed tikmeter mark exited with $status: $(cat "$work/mark.err")"
results="$home/marks/class-a/Resultaat.res"
[ -f "$results" ] || fail "no $results"
lines="$(grep -c 'wpm' "$results" || true)"
[ "$lines" -eq 24 ] || fail "$results holds $lines result lines, not 24"
# The same marks as the tool of the build folder, when there is one.
if [ -x "$root/build/bin/tikmeter" ]; then
    EDU_TIKMETER_HOME="$work/reference" "$root/build/bin/tikmeter" mark \
        --english "$examples/sources/english.rtf" --afrikaans "$examples/sources/afrikaans.rtf" \
        "$examples"/class-a/*.rtf >/dev/null 2>&1
    diff <(sed "s|^$home/marks/||" "$results") \
        <(sed "s|^$work/reference/||" "$work/reference/class-a/Resultaat.res") >&2 ||
        fail "the installed tool's marks differ from build/bin/tikmeter's"
fi

# Without EDU_TIKMETER_HOME, an executable under /usr uses ~/Edu Tikmeter, even for root.
HOME="$home" /usr/bin/tikmeter mark \
    --english "$examples/sources/english.rtf" --afrikaans "$examples/sources/afrikaans.rtf" \
    "$examples/class-a/a01.rtf" >/dev/null 2>"$work/fallback.err" ||
    fail "installed tikmeter mark without EDU_TIKMETER_HOME: $(cat "$work/fallback.err")"

# The window starts (on Qt's offscreen platform) and is still running when it is stopped.
status=0
QT_QPA_PLATFORM=offscreen HOME="$home" timeout 3 /usr/bin/edu-tikmeter "$examples/class-a" \
    >"$work/window.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "/usr/bin/edu-tikmeter ended with $status: $(cat "$work/window.log")"

# Nothing was written under /usr by the programs, and nothing but the package's own files
# by the installation, apart from the caches that other packages' dpkg triggers refresh
# when an icon or a desktop entry arrives.
written="$(newer_under_usr "$work/after-install")"
[ -z "$written" ] || fail "written under /usr while the programs ran:"$'\n'"$written"
extra="$(newer_under_usr "$work/before-install" | LC_ALL=C comm -23 - "$work/package-files" |
    grep -v -E '/icon-theme\.cache$|^/usr/share/applications/mimeinfo\.cache$' || true)"
[ -z "$extra" ] || fail "written under /usr by the installation, not the package's:"$'\n'"$extra"

# Without EDU_TIKMETER_HOME the marks went to ~/Edu Tikmeter, and the tool said so.
[ -f "$home/Edu Tikmeter/class-a/Resultaat.res" ] ||
    fail "without EDU_TIKMETER_HOME the marks are not in ~/Edu Tikmeter"
grep -q -F "/usr/bin is a system folder; using $home/Edu Tikmeter" "$work/fallback.err" ||
    fail "the tool does not say that it uses ~/Edu Tikmeter: $(cat "$work/fallback.err")"

# Man pages, the web page, the guides and the desktop entry are in place.
for page in edu-tikmeter tikmeter; do
    [ "$(man -w "$page")" = "/usr/share/man/man1/$page.1.gz" ] || fail "man -w $page"
    man -l "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null | grep . >&2 &&
        fail "man -l /usr/share/man/man1/$page.1.gz warns"
    man -l "/usr/share/man/man1/$page.1.gz" | grep -q "EXIT STATUS\|SYNOPSIS" ||
        fail "man -l $page.1.gz shows no page"
done
cmp -s "$root/build-web/edu-tikmeter.html" /usr/share/edu-tikmeter/edu-tikmeter.html ||
    fail "/usr/share/edu-tikmeter/edu-tikmeter.html is not the built page"
for guide in "$root"/data/guides/*.doc; do
    [ -e "$guide" ] || continue
    cmp -s "$guide" "/usr/share/edu-tikmeter/$(basename "$guide")" ||
        fail "the guide $(basename "$guide") is not installed in /usr/share/edu-tikmeter"
done
for file in /usr/bin/edu-tikmeter /usr/share/applications/edu-tikmeter.desktop \
    /usr/share/icons/hicolor/scalable/apps/edu-tikmeter.svg \
    /usr/share/doc/edu-tikmeter/copyright; do
    [ -f "$file" ] || fail "$file is not installed"
done

installed=0
DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get purge -y -qq edu-tikmeter >/dev/null
for file in /usr/bin/tikmeter /usr/bin/edu-tikmeter /usr/share/edu-tikmeter; do
    [ ! -e "$file" ] || fail "$file is still there after the purge"
done
echo "test-package: passed: installed, marked 24 tests, wrote nothing under /usr, purged"
