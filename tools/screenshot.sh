#!/usr/bin/env bash
# Saves a PNG of the whole X display the program runs on (default: shot.png).
# Use it while tools/run.sh runs: DISPLAY must name that display.
set -euo pipefail
out="${1:-shot.png}"
[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set: run tools/run.sh first and use its display" >&2; exit 1; }
import -window root "$out"
echo "$out"
