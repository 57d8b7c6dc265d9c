#!/usr/bin/env bash
# Takes the screenshots in docs/ from the teacher's-road test, run in a real window under
# Xvfb. Usage: scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
TIKMETER_SCREENSHOT_DIR="$shots" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x900x24" "$build/tests/app/tst_app_TeacherRoad" wholeRoad
cp "$shots/screenshot.png" "$root/docs/screenshot.png"
cp "$shots/browser.png" "$root/docs/teacher-road-browser.png"
cp "$shots/marked-test.png" "$root/docs/teacher-road-marked-test.png"
cp "$shots/results-view.png" "$root/docs/results-view.png"
cp "$shots/class-report.png" "$root/docs/class-report.png"
# The web page after marking the example class (headless Chromium).
(cd "$root" && TIKMETER_SCREENSHOT_DIR="$shots" node --test tests/web/page.test.js >/dev/null)
cp "$shots/web-page.png" "$root/docs/web-page.png"
