#!/usr/bin/env bash
# The road of a typical analysis with a real X server and a real mouse: the
# program opens the examples, a click on an unloading branch opens the modulus
# dialog, Enter presses "Calculate", a second click places the result, and the
# text must then stand where that click was.
# Usage: xvfb_click_test.sh MIVARO_EXE MIVARO_CLI EXAMPLES_DIR OUT_DIR
# Screenshots go to OUT_DIR. Exit 77 (skipped) when a tool is missing.
set -euo pipefail
exe="$(realpath "$1")"
cli="$(realpath "$2")"
examples="$(realpath "$3")"
out="$(realpath -m "$4")"

if [[ "${MIVARO_INSIDE_XVFB:-}" != 1 ]]; then
  for tool in xvfb-run xdotool import compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "$tool not installed: skipped"
      exit 77
    fi
  done
  if [[ ! -f "$examples/fused_silica_labelled.MVR" ]]; then
    echo "examples not generated: skipped"
    exit 77
  fi
  mkdir -p "$out"
  export MIVARO_INSIDE_XVFB=1
  exec timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$exe" "$cli" "$examples" "$out"
fi

# A scratch copy: the run must not leave profile or settings files behind.
work="$(mktemp -d)"
pid=""
cleanup() {
  if [[ -n "$pid" ]]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$examples"/. "$work"/
export XDG_CONFIG_HOME="$work/config"
unset QT_QPA_PLATFORM
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

"$exe" examples.fls --print-view-geometry >"$work/stdout.txt" 2>/dev/null &
pid=$!
for _ in $(seq 100); do
  grep -q '^view=' "$work/stdout.txt" 2>/dev/null && break
  sleep 0.1
done
geometry="$(grep '^view=' "$work/stdout.txt")" || fail "the program did not report its view"
IFS=',x' read -r vx vy vw vh <<<"${geometry#view=}"
echo "view at $vx,$vy size ${vw}x${vh}"

# The files of the project, as the window loaded them.
mapfile -t files < <(tr -d '\r' <examples.fls)
# Pixel of each unloading point of the first curve, laid out as the window
# lays out its plot (16-point text: plot from x 162 to 0.9 w, y 26 to h - 72,
# axes from 0 to 1.1 times the largest depth and force).
candidates="$("$cli" points "${files[@]}" | awk -F, -v w="$vw" -v h="$vh" '
  NR > 1 && $1 != -1 { if ($3 > md) md = $3; if ($4 > mf) mf = $4; d[$2] = $3; f[$2] = $4; s[$2] = $6; c[$2] = $1 }
  END {
    xm = 1.1 * md; ym = 1.1 * mf; right = int(0.9 * w); bottom = h - 72
    for (i = 0; i in d; i++) if (c[i] == 0 && s[i] == "U" && i % 10 == 5)
      printf "%d,%d\n", int(d[i] * (right - 162) / xm + 162), int(bottom - f[i] * (bottom - 26) / ym)
  }')"
click=""
for candidate in $candidates; do
  # The command line takes exactly the point the window would take.
  json="$("$cli" analyse --click "$candidate" --size "${vw}x${vh}" --action modulus "${files[@]}" 2>/dev/null)" || continue
  if [[ "$json" == '{"text": "Es =  '* ]]; then
    click="$candidate"
    break
  fi
done
[[ -n "$click" ]] || fail "no unloading point found to click"
echo "click at $click: $json"
IFS=',' read -r cx cy <<<"$click"
expected="$(sed 's/^{"text": "\([^"]*\)".*/\1/' <<<"$json")"

xdotool mousemove $((vx + cx)) $((vy + cy)) click 1
dialog="$(timeout 10 xdotool search --sync --name "Elastic Modulus and Poisson's Ratio Calculation" | head -n 1)" ||
  fail "the modulus dialog did not open"
sleep 0.5
import -window root "$out/modulus_dialog.png"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Return
for _ in $(seq 50); do
  xdotool search --name "Elastic Modulus and Poisson's Ratio Calculation" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --name "Elastic Modulus and Poisson's Ratio Calculation" >/dev/null 2>&1 &&
  fail "Calculate did not close the dialog"

# Place the result in the empty upper left of the plot.
px=$((vw / 4))
py=$((vh / 8))
xdotool mousemove $((vx + px)) $((vy + py))
sleep 0.5
import -window root "$work/before.png"
xdotool click 1
sleep 1
import -window root "$out/placed.png"
crop="200x24+$((vx + px))+$((vy + py))"
changed="$(compare -metric AE -crop "$crop" "$work/before.png" "$out/placed.png" null: 2>&1 || true)"
changed="${changed%% *}"
echo "pixels changed beside the click: $changed (expected text: $expected)"
[[ "$changed" =~ ^[0-9]+$ ]] || fail "could not compare the screenshots: $changed"
((changed > 40)) || fail "no text appeared where the click was"
# Nothing else is open: the release of the placing click started nothing.
sleep 0.5
if xdotool search --name "Elastic Modulus|Hardness|Loading Curve" >/dev/null 2>&1; then
  fail "the placing click opened a dialog"
fi
echo "ok: $out/placed.png"
