#!/usr/bin/env bash
# Installs the build into a scratch prefix (one with a space in it) and checks
# what the desktop needs to open a project from the file manager.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/my prefix"

cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
entry="$prefix/share/applications/mivaro.desktop"
[[ -x "$prefix/bin/mivaro" ]] || fail "program not installed"
[[ -f "$entry" ]] || fail "no desktop entry"
[[ -f "$prefix/share/icons/hicolor/scalable/apps/mivaro.svg" ]] || fail "no icon"
grep -q '<glob pattern="\*.fls"/>' "$prefix/share/mime/packages/mivaro-project.xml" || fail "no MIME type for .fls"
# The entry starts the installed program by its full path, with the file.
grep -qxF "Exec=\"$prefix/bin/mivaro\" %f" "$entry" || fail "Exec line: $(grep '^Exec=' "$entry")"
grep -qx 'MimeType=application/x-mivaro-project;' "$entry" || fail "MimeType line"
grep -qx 'Icon=mivaro' "$entry" || fail "Icon line"
grep -qxF "$entry" "$build/install_manifest.txt" || fail "entry missing from the install manifest"
echo "ok"
