#!/usr/bin/env bash
# Firing times of a slot over a long real run under Wine, on a display and a
# Wine prefix of their own (other benchmarks may run meanwhile, and builds may
# replace the executables): `bash tools/drift-bench.sh 3600`. Uses the
# Windows build as it is; reports the offsets from arming time + n seconds.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
export WINEPREFIX="$ORV_BUILD/wineprefix-drift"
trap orv_cleanup EXIT
secs="${1:-600}"
dir="$ORV_BUILD/drift-bench"
rm -rf "$dir" && mkdir -p "$dir"
cp "$ORV_BUILD/windows/tests/runtime_bench.exe" "$dir/" || exit 1
orv_wine_prefix
export ORV_HEADLESS=1
orv_display_start
orv_wine_warm
cd "$dir" && HOME="$ORV_HOME" ORV_BENCH_VERBOSE=1 timeout $((secs + 300)) wine ./runtime_bench.exe drift "$secs"
