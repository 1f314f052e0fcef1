#!/usr/bin/env bash
# The layers of src/ point one way: app -> view, modgraph -> analysis ->
# curves -> platform (modgraph may use view). Outside the qt/ folders no file
# includes a Qt header, so the logic builds and runs without Qt.
# Usage: layering_test.sh SOURCE_DIR
set -euo pipefail
src="$1/src"
status=0
check() {  # LAYER FORBIDDEN-REGEX
  local hits
  hits="$(grep -rnE "^#include \"($2)/" "$src/$1" || true)"
  if [[ -n "$hits" ]]; then
    echo "$1 must not include $2:"
    echo "$hits"
    status=1
  fi
}
check platform 'curves|analysis|view|modgraph|app'
check curves 'analysis|view|modgraph|app'
check analysis 'view|modgraph|app'
check view 'modgraph|app'
check modgraph 'app'

# Qt headers only in qt/ folders (and the two programs that start Qt).
qt="$(grep -rnE '^#include <Q' "$src" --include='*.h' --include='*.cpp' | grep -v '/qt/' |
  grep -vE '^[^:]*/app/(main\.cpp|cli/cli_render\.cpp):' || true)"
if [[ -n "$qt" ]]; then
  echo "Qt outside the qt/ folders:"
  echo "$qt"
  status=1
fi
exit "$status"
