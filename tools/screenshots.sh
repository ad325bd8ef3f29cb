#!/usr/bin/env bash
# Pictures of the main, Help and About windows at 96 and 144 dpi, as PNG files
# in build/screenshots/ (main-96.png, help-144.png, ...). Each dpi has a Wine
# prefix of its own (build/dpi96, build/dpi144), so the test prefix is never
# touched. Needs a Windows build (tools/test.sh or orv_build_windows).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$ORV_ROOT/tools/dpi-lib.sh"

out="$ORV_BUILD/screenshots"
exe="$ORV_BUILD/windows/app_wintests.exe"
[ -x "$exe" ] || { orv_log "no $exe: build the Windows side first"; exit 1; }
mkdir -p "$out"
# Our own Xvfb every time: the same screen for every run, no window manager.
export ORV_HEADLESS=1
status=0
for dpi in 96 144; do
  orv_dpi_env "$dpi" || { status=1; continue; }
  trap orv_cleanup EXIT
  orv_display_start && orv_wine_warm
  rm -f "$out"/*-"$dpi".bmp
  (cd "$out" && HOME="$ORV_HOME" ORV_SCREENSHOT_DIR="Z:$out" timeout 120 wine "$exe" \
      --gtest_also_run_disabled_tests --gtest_filter='Gallery.*') >"$out/gallery-$dpi.log" 2>&1 || status=1
  orv_cleanup
  for f in "$out"/*-"$dpi".bmp; do
    [ -f "$f" ] || { orv_log "no pictures at $dpi dpi (see $out/gallery-$dpi.log)"; status=1; break; }
    convert "$f" "${f%.bmp}.png" && rm -f "$f" && echo "${f%.bmp}.png"
  done
done
exit $status
