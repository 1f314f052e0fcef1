#!/usr/bin/env bash
# Runs the Copy test on a real X clipboard: a virtual X server, and xclip as
# the program that pastes. Exit 77 (skipped) when either is missing.
set -euo pipefail
exe="$1"
for tool in xvfb-run xclip; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool not installed: skipped"
    exit 77
  fi
done
export QT_QPA_PLATFORM=xcb
exec timeout 90 xvfb-run -a -s "-screen 0 1280x1024x24" "$exe"
