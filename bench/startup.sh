#!/usr/bin/env bash
# Start-up of the signed-in console (100 agents) beside a bare Qt Quick window
# with a 50-row list, in the same run: time from process start to the first
# (signed-in) frame, peak RSS and PSS at that frame; medians of RUNS. The
# console runs as a returning user would: its key in the secret store, the
# service (kestovar-sim) in a process of its own.
#
#   scripts/headless-session bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
BUILD=${1:-build-rel}
RUNS=${2:-7}
export QT_QUICK_BACKEND=software QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} QT_QUICK_CONTROLS_STYLE=${QT_QUICK_CONTROLS_STYLE:-Fusion} QT_LOGGING_RULES='*.info=false'

measure() { # prints: milliseconds-from-process-start peak_kb pss_kb
  "$@" 2>/dev/null | grep -m1 'first' |
    sed -E 's/.*after=([0-9]+) ms peak-rss=([0-9]+) kB pss=([0-9]+) kB.*/\1 \2 \3/'
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

"$BUILD/src/sim/kestovar-sim" --agents 100 >"$KV_ROOT/sim.out" &
SIM=$!
trap 'kill $SIM' EXIT
for _ in $(seq 50); do grep -q listening "$KV_ROOT/sim.out" 2>/dev/null && break; sleep 0.1; done
export KESTOVAR_API_URL=$(grep -o 'http://127.0.0.1:[0-9]*' "$KV_ROOT/sim.out")
printf %s sim-demo-key | secret-tool store --label=Kestovar server com.kestovar.Kestovar user api_key type plaintext

declare -a ct cr cp bt br bp
for _ in $(seq "$RUNS"); do
  read -r t r p < <(measure "$BUILD/src/app/kestovar" --measure-startup)
  ct+=("$t"); cr+=("$r"); cp+=("$p")
  read -r t r p < <(measure "$BUILD/bench/bench_bare_window")
  bt+=("$t"); br+=("$r"); bp+=("$p")
done
CT=$(printf '%s\n' "${ct[@]}" | median); CR=$(printf '%s\n' "${cr[@]}" | median); CP=$(printf '%s\n' "${cp[@]}" | median)
BT=$(printf '%s\n' "${bt[@]}" | median); BR=$(printf '%s\n' "${br[@]}" | median); BP=$(printf '%s\n' "${bp[@]}" | median)
echo "console (100 agents, signed in): ${CT} ms to first frame, peak RSS ${CR} kB, PSS ${CP} kB"
echo "bare Qt Quick window (50 rows):  ${BT} ms to first frame, peak RSS ${BR} kB, PSS ${BP} kB"
awk -v a="$CT" -v b="$BT" -v c="$CR" -v d="$BR" -v e="$CP" -v f="$BP" \
  'BEGIN { printf "ratios: time %.2fx (goal <= 2), peak RSS %.2fx, PSS %.2fx (goal <= 1.6)\n", a/b, c/d, e/f }'
