#!/usr/bin/env bash
# The transmitter's invariants over many random days on the virtual clock:
# `bash tools/on-air-soak.sh [SEEDS] [HOURS]` (default 200 seeds of 48 hours).
# A failure names its seed; ORV_ON_AIR_SEED=N replays it alone, and
# ORV_ON_AIR_TRACE=1 prints every host call and indicator change.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
orv_build_native >/dev/null
ORV_ON_AIR_SEEDS="${1:-200}" ORV_ON_AIR_HOURS="${2:-48}" ORV_ON_AIR_LIVES=1 \
  "$ORV_BUILD/native/agenda_tests" --gtest_filter='OnAirInvariants.*'
