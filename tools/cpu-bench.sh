#!/usr/bin/env bash
# CPU use of the real program under Wine, measured from the Linux side (Wine
# does not report another process's times): 60 s idle, then 60 s while a
# message plays. Usage: tools/cpu-bench.sh [SECONDS]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
secs="${1:-60}"
orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -20 "$ORV_BUILD/windows-build.log"; exit 1; }
orv_wine_prefix
export ORV_HEADLESS=1
orv_display_start
orv_wine_warm
dir="$ORV_BUILD/cpu-bench"
rm -rf "$dir" && mkdir -p "$dir"
cp "$ORV_BUILD/windows/orvalen.exe" "$dir/"
# One slot: it fires once, secs + 1 s after start-up, with a message longer
# than the measurement.
sox -n -r 8000 -b 8 -c 1 "$dir/longa.wav" synth $((secs + 15)) sine 600 vol 0.3 2>/dev/null
{ printf 'longa.wav\r\n'; for i in 1 2 3 4 5 6 7 8; do printf '\r\n'; done
  printf '%s\r\n' "$secs"; for i in 1 2 3 4 5 6 7 8; do printf '0\r\n'; done; } >"$dir/orvalen.txt"
(cd "$dir" && HOME="$ORV_HOME" timeout $((3 * secs + 60)) wine ./orvalen.exe --host=simulator >/dev/null 2>&1 &)
pid=""
for _ in $(seq 50); do pid=$(pgrep -f 'orvalen.exe --host=simulator' | while read -r p; do
  [ "$(readlink /proc/$p/exe 2>/dev/null)" != "$(command -v timeout)" ] && echo "$p"; done | tail -1)
  [ -n "$pid" ] && break; sleep 0.2; done
[ -n "$pid" ] || { echo "the program did not start"; exit 1; }
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
server=$(pgrep wineserver | head -1)
hz=$(getconf CLK_TCK)
sleep 1
a=$(ticks "$pid"); s=$(ticks "$server")
sleep $((secs - 2))
b=$(ticks "$pid"); s2=$(ticks "$server")
awk -v t=$((b - a)) -v w=$((s2 - s)) -v hz="$hz" -v n=$((secs - 2)) \
  'BEGIN { printf "idle:    %.2f%% of one core (wineserver %.2f%%)\n", 100 * t / hz / n, 100 * w / hz / n }'
sleep 4   # the slot fires and the playback starts
a=$(ticks "$pid"); s=$(ticks "$server")
sleep $((secs - 10))
b=$(ticks "$pid"); s2=$(ticks "$server")
awk -v t=$((b - a)) -v w=$((s2 - s)) -v hz="$hz" -v n=$((secs - 10)) \
  'BEGIN { printf "playing: %.2f%% of one core (wineserver %.2f%%)\n", 100 * t / hz / n, 100 * w / hz / n }'
echo "working set: $(awk '/VmRSS/ {print $2, $3}' /proc/$pid/status)"
