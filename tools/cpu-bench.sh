#!/usr/bin/env bash
# Idle CPU use of the real program under Wine next to a literal build of the
# window's timers (bench/win/literal_baseline.cpp), measured from the Linux
# side (Wine does not report another process's times): the two take turns on
# one display and one wineserver, with no slot armed and with nine armed,
# ROUNDS times SECONDS each; medians, and the literal cost over the
# program's. First the same window with no timer: Wine's own share, which
# neither can go below. Usage: tools/cpu-bench.sh [SECONDS [ROUNDS]]. Reports; never fails.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
secs="${1:-30}"
rounds="${2:-3}"
if [ -z "${ORV_BENCH_NO_BUILD:-}" ]; then
  cmake --build "$ORV_BUILD/windows" -j2 --target orvalen literal_baseline >"$ORV_BUILD/windows-build.log" 2>&1 ||
    { orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -20 "$ORV_BUILD/windows-build.log"; exit 1; }; }
fi
orv_wine_prefix
export ORV_HEADLESS=1
orv_display_start
orv_wine_warm
# Xvfb's pointer rests mid-screen, on one of the program's buttons: its
# hover timer would be measured instead of the idle program.
command -v xdotool >/dev/null && xdotool mousemove 0 0
dir="$ORV_BUILD/cpu-bench"
rm -rf "$dir" && mkdir -p "$dir"
cp "${ORV_BENCH_EXE:-$ORV_BUILD/windows/orvalen.exe}" "$dir/orvalen.exe" && cp "$ORV_BUILD/windows/tests/literal_baseline.exe" "$dir/" || exit 1
for i in 1 2 3 4 5 6 7 8 9; do sox -n -r 8000 -b 8 -c 1 "$dir/m$i.wav" synth 1 sine 600 vol 0.3 2>/dev/null; done
# Nine named slots; an interval of 0 arms nothing, an hour arms without a send.
slots() { for i in 1 2 3 4 5 6 7 8 9; do printf 'm%s.wav\r\n' "$i"; done
          for i in 1 2 3 4 5 6 7 8 9; do printf '%s\r\n' "$1"; done; }

# Run time to the nanosecond from the scheduler, all threads of the process:
# the 10 ms ticks of /proc/PID/stat are too coarse for a few tenths of a
# percent over a run of seconds.
hz=1000000000
ticks() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ t += $1 } END { printf "%.0f\n", t }'; }
# The Windows process of NAME in this prefix (other checkouts run theirs on
# the same machine): the wine process whose command line names it, not the
# timeout that started it.
ours() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; }
# Nor the start.exe that Wine puts in between for a path like ./NAME.
find_pid() {
  local p pid=""
  for p in $(pgrep -f "$1"); do
    [ "$(readlink "/proc/$p/exe" 2>/dev/null)" != "$(command -v timeout)" ] || continue
    [ "$(head -c 9 "/proc/$p/cmdline" 2>/dev/null)" != "start.exe" ] || continue
    ours "$p" && pid=$p
  done
  echo "$pid"
}
# One measurement: prints "PROGRAM% SERVER%".
measure() {  # NAME ARGS...
  local name=$1; shift
  (cd "$dir" && HOME="$ORV_HOME" timeout $((secs + 60)) wine "./$name" "$@" >/dev/null 2>&1 &)
  local pid="" server
  sleep 4   # start-up and the first paints are not idle
  # The pointer moved off again once the window is up: after the previous
  # program was killed, Wine may still think it rests on one of this one's
  # tooltip tools, whose leave check then polls ten times a second.
  command -v xdotool >/dev/null && { xdotool mousemove 2 2; xdotool mousemove 0 0; sleep 1; }
  for _ in $(seq 100); do pid=$(find_pid "$name"); [ -n "$pid" ] && break; sleep 0.2; done
  [ -n "$pid" ] || { echo "- -"; return; }
  server=$(find_pid wineserver)
  local a s b s2
  a=$(ticks "$pid"); s=$(ticks "$server")
  sleep "$secs"
  b=$(ticks "$pid"); s2=$(ticks "$server")
  # A process gone or replaced meanwhile has no figure rather than a zero.
  [ -n "$server" ] && [ "$server" = "$(find_pid wineserver)" ] && [ "$s2" -ge "$s" ] 2>/dev/null || s2=""
  kill "$pid" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  sleep 1
  [ -n "$s2" ] || { awk -v t=$((b - a)) -v hz="$hz" -v n="$secs" 'BEGIN { printf "%.2f -\n", 100 * t / hz / n }'; return; }
  awk -v t=$((b - a)) -v w=$((s2 - s)) -v hz="$hz" -v n="$secs" 'BEGIN { printf "%.2f %.2f\n", 100 * t / hz / n, 100 * w / hz / n }'
}
median() { grep -v '^-$' | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# What Wine itself costs: the baseline's window with no timer at all.
: >"$dir/floor"
for _ in $(seq "$rounds"); do measure literal_baseline.exe floor >>"$dir/floor"; done
fp=$(cut -d' ' -f1 "$dir/floor" | median); fs=$(cut -d' ' -f2 "$dir/floor" | median)
printf 'a window with no timer (Wine alone): %5.2f%% of one core, wineserver %5.2f%%\n' "$fp" "$fs"

for phase in idle nine; do
  if [ "$phase" = idle ]; then slots 0 >"$dir/orvalen.txt"; armed=0; else slots 3600 >"$dir/orvalen.txt"; armed=9; fi
  : >"$dir/literal.$phase"; : >"$dir/orvalen.$phase"
  for _ in $(seq "$rounds"); do
    measure literal_baseline.exe "$armed" >>"$dir/literal.$phase"
    measure orvalen.exe --host=simulator >>"$dir/orvalen.$phase"
  done
  lp=$(cut -d' ' -f1 "$dir/literal.$phase" | median); ls=$(cut -d' ' -f2 "$dir/literal.$phase" | median)
  op=$(cut -d' ' -f1 "$dir/orvalen.$phase" | median); os=$(cut -d' ' -f2 "$dir/orvalen.$phase" | median)
  label=$([ "$phase" = idle ] && echo "no slot armed" || echo "nine slots armed")
  awk -v l="$label" -v lp="$lp" -v ls="$ls" -v op="$op" -v os="$os" -v fp="$fp" -v fs="$fs" -v n="$rounds" -v s="$secs" 'BEGIN {
    printf "%s (median of %d x %d s):\n", l, n, s
    printf "  literal baseline: %5.2f%% of one core, wineserver %5.2f%%\n", lp, ls
    printf "  orvalen.exe:      %5.2f%% of one core, wineserver %5.2f%%\n", op, os
    r = (op + os > 0) ? (lp + ls) / (op + os) : 0
    printf "  literal / orvalen, program + wineserver: %.1fx (program alone %.1fx)\n", r, (op > 0 ? lp / op : 0)
    # What each adds to a window that does nothing: the part a program can change.
    la = lp + ls - fp - fs; oa = op + os - fp - fs
    if (oa > 0) printf "  literal / orvalen above Wine alone: %.1fx\n", la / oa
  }'
done
