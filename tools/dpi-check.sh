#!/usr/bin/env bash
# Runs the dpi-relative Windows-side tests in a Wine prefix whose screen is
# 144 dpi (build/dpi144; the test prefix stays at 96): the main window must
# open with a 938 x 903 client area, Help and About 1.5 times their design,
# every font scalable. Needs a Windows build. Extra arguments: another dpi.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$ORV_ROOT/tools/dpi-lib.sh"
dpi="${1:-144}"
win="$ORV_BUILD/windows"
for exe in app_wintests.exe infowindows_wintests.exe; do
  [ -x "$win/$exe" ] || { orv_log "no $win/$exe: build the Windows side first"; exit 1; }
done
export ORV_HEADLESS=1
orv_dpi_env "$dpi" || exit 1
trap orv_cleanup EXIT
orv_display_start && orv_wine_warm
status=0
cd "$win"
HOME="$ORV_HOME" timeout 120 wine ./app_wintests.exe --gtest_filter='DpiScalingTest.*' || status=1
HOME="$ORV_HOME" timeout 120 wine ./infowindows_wintests.exe || status=1
[ $status -eq 0 ] && orv_log "all dpi checks passed at $dpi dpi" || orv_log "dpi checks FAILED at $dpi dpi"
exit $status
