#!/usr/bin/env bash
# Renders the button face gallery (every shape, state, caption style and
# picture alignment) and the program's eight buttons as their windows load
# them (at rest and hovered) under Wine, and converts both to PNG.
# Output: $ORV_BUILD/gallery/button-gallery.png and button-instances.png
# (paths printed at the end).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
mkdir -p "$ORV_BUILD/gallery"
orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -40 "$ORV_BUILD/windows-build.log"; exit 1; }
orv_wine_prefix
orv_display_start
out="$ORV_BUILD/gallery"
(cd "$out" && HOME="$ORV_HOME" timeout 300 wine "$ORV_BUILD/windows/buttons/win/gallery/button_gallery.exe" button-gallery.bmp) || exit 1
(cd "$out" && HOME="$ORV_HOME" timeout 120 wine "$ORV_BUILD/windows/buttons/win/gallery/button_instances.exe" button-instances.bmp) || exit 1
for name in button-gallery button-instances; do
  convert "$out/$name.bmp" "$out/$name.png" || exit 1
  rm -f "$out/$name.bmp"
  echo "$out/$name.png"
done
