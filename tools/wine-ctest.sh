#!/usr/bin/env bash
# Builds the Windows side and runs a chosen part of its tests under Wine on a
# display of their own: `bash tools/wine-ctest.sh -R Dtmf` (the arguments go
# to ctest). For working on one area without the whole of tools/test.sh.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
orv_install_deps
mkdir -p "$ORV_BUILD"
orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -40 "$ORV_BUILD/windows-build.log"; exit 1; }
orv_wine_prefix
export ORV_HEADLESS=1
orv_display_start
orv_wine_warm
cd "$ORV_BUILD/windows" && HOME="$ORV_HOME" ctest --output-on-failure --timeout 300 "$@"
