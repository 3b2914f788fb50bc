#!/usr/bin/env bash
# What each Qt module the console loads costs at start: a window of Qt Quick
# alone with a 50-row list, then the same with one module more — Qt Quick
# Controls (the Fusion style the console uses, and the Basic style), Qt Quick
# Shapes (the stats chart), an SVG icon (Qt Svg and its image plugin), and a
# widgets application with a menu (what a widgets tray menu would cost; the
# console's tray goes without). Peak RSS and PSS at the
# first frame, medians of RUNS, and what each adds to Qt Quick alone.
#
#   scripts/headless-session bench/modules.sh [BUILD_DIR] [RUNS]
set -euo pipefail
BUILD=${1:-build-rel}
RUNS=${2:-7}
export QT_QUICK_BACKEND=software QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} QT_LOGGING_RULES='*.info=false'
export QT_QUICK_CONTROLS_STYLE=${QT_QUICK_CONTROLS_STYLE:-Fusion}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
# Prints: median peak RSS kB, median PSS kB of RUNS starts of the command.
measure() {
  local rss=() pss=() line
  for _ in $(seq "$RUNS"); do
    line=$("$@" 2>/dev/null | grep -m1 'first-frame' || true)
    rss+=("$(sed -E 's/.*peak-rss=([0-9]+) kB.*/\1/' <<<"$line")")
    pss+=("$(sed -E 's/.*pss=([0-9]+) kB.*/\1/' <<<"$line")")
  done
  echo "$(printf '%s\n' "${rss[@]}" | median) $(printf '%s\n' "${pss[@]}" | median)"
}

read -r BASE_RSS BASE_PSS < <(measure "$BUILD/bench/bench_bare_window" Plain)
echo "module Qt Quick alone: peak RSS $BASE_RSS kB, PSS $BASE_PSS kB"
row() { # label, command...
  local label=$1
  shift
  read -r rss pss < <(measure "$@")
  echo "module $label: peak RSS $rss kB, PSS $pss kB, adds $((rss - BASE_RSS)) kB RSS, $((pss - BASE_PSS)) kB PSS"
}
row "Qt Quick Controls, Fusion style" "$BUILD/bench/bench_bare_window" BareWindow
QT_QUICK_CONTROLS_STYLE=Basic row "Qt Quick Controls, Basic style" "$BUILD/bench/bench_bare_window" BareWindow
row "Qt Quick Shapes" "$BUILD/bench/bench_bare_window" WithShapes
row "an SVG icon (Qt Svg)" "$BUILD/bench/bench_bare_window" WithSvg
row "Qt Widgets with a menu" "$BUILD/bench/bench_bare_widgets"
