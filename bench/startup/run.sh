#!/usr/bin/env bash
# Start-up, idle CPU and memory of the player against a minimal Qt window (the
# floor), side by side in one run, under a private Xvfb with openbox.
#   bench/startup/run.sh [build-folder] [runs]
# Start-up: from exec until the window is mapped and painted, seen from outside
# by polling the X server (the same way for both). Idle CPU: user+system time
# over 10 s with the animation running. Memory: resident set 3 s after start.
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-15}
PROGRAM=$build/lunohrai
source "$(dirname "$0")/../../tests/e2e/lib.sh"
start_display
for p in "$PROGRAM" "$build/bench_floor"; do [ -x "$p" ] || fail "$p is not built"; done

# Milliseconds from exec until a visible window of the process exists.
startup_ms() { # startup_ms <program> <title pattern>
  local t0 t1 pid
  t0=$(date +%s%N)
  (cd "$E2E_TMP" && exec env HOME="$E2E_TMP" "$1") >/dev/null 2>&1 &
  pid=$!
  until xdotool search --onlyvisible --pid "$pid" --name "$2" >/dev/null 2>&1; do
    kill -0 "$pid" 2>/dev/null || fail "$1 ended before showing its window"
    sleep 0.002
  done
  t1=$(date +%s%N)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo $(((t1 - t0) / 1000000))
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }

# CPU percent of one core over 10 s, and resident kB after 3 s.
idle_and_rss() { # idle_and_rss <program> <title pattern>
  local pid ticks0 ticks1 hz rss
  (cd "$E2E_TMP" && exec env HOME="$E2E_TMP" "$1") >/dev/null 2>&1 &
  pid=$!
  sleep 3
  rss=$(awk '/VmRSS/{print $2}' /proc/$pid/status)
  hz=$(getconf CLK_TCK)
  ticks0=$(awk '{print $14+$15}' /proc/$pid/stat)
  sleep 10
  ticks1=$(awk '{print $14+$15}' /proc/$pid/stat)
  kill "$pid"; wait "$pid" 2>/dev/null || true
  echo "$(awk -v d=$((ticks1 - ticks0)) -v hz="$hz" 'BEGIN {printf "%.2f", 100 * d / hz / 10}') $rss"
}

floor_times=() player_times=()
for _ in $(seq "$runs"); do
  floor_times+=("$(startup_ms "$build/bench_floor" floor)")
  player_times+=("$(startup_ms "$PROGRAM" 'Пісня')")
done
f=$(printf '%s\n' "${floor_times[@]}" | median)
p=$(printf '%s\n' "${player_times[@]}" | median)
read -r fcpu frss < <(idle_and_rss "$build/bench_floor" floor)
read -r pcpu prss < <(idle_and_rss "$PROGRAM" 'Пісня')
printf 'start-up median ms: floor %s, player %s, ratio %.2f (target <= 1.3)\n' "$f" "$p" "$(awk -v a="$p" -v b="$f" 'BEGIN{print a/b}')"
printf 'idle CPU %% of a core over 10 s: floor %s, player %s (target <= 0.5)\n' "$fcpu" "$pcpu"
printf 'resident kB after 3 s: floor %s, player %s, ratio %.2f (target <= 1.3)\n' "$frss" "$prss" "$(awk -v a="$prss" -v b="$frss" 'BEGIN{print a/b}')"
