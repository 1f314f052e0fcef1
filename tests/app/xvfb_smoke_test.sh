#!/usr/bin/env bash
# Starts the real program on the bundled examples under a virtual X server,
# takes a screenshot and checks the window's title and size.
# Usage: xvfb_smoke_test.sh MIVARO_EXE EXAMPLES_DIR SCREENSHOT_PNG
# Exit 77 (skipped) when xvfb-run is not installed.
set -euo pipefail
exe="$1"
examples="$2"
screenshot="$3"

if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run not installed: skipped"
  exit 77
fi
if [[ ! -f "$examples/fused_silica_labelled.MVR" ]]; then
  echo "examples not generated: skipped"
  exit 77
fi

# A scratch copy: the run must not leave profile or settings files behind.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$examples"/. "$work"/
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM

rm -f "$screenshot"
output="$(cd "$work" && timeout 60 xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$exe" examples.fls --screenshot "$screenshot" 2>/dev/null)"
echo "$output"

fail() { echo "FAIL: $*"; exit 1; }
grep -qx 'title=Mivaro 6.1' <<<"$output" || fail "window title"
grep -qx 'size=1000x700' <<<"$output" || fail "window size"
grep -qx 'screenshot=saved' <<<"$output" || fail "screenshot not saved"
# A screen with the window, menus and three curves compresses to well over
# the size of an empty one.
size=$(stat -c %s "$screenshot")
(( size > 8000 )) || fail "screenshot looks empty ($size bytes)"
echo "ok: $screenshot ($size bytes)"
