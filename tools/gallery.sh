#!/usr/bin/env bash
# Renders the button face gallery (every shape, state, caption style and
# picture alignment) under Wine and converts it to PNG.
# Output: $ORV_BUILD/gallery/button-gallery.png (path printed at the end).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
mkdir -p "$ORV_BUILD/gallery"
orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -40 "$ORV_BUILD/windows-build.log"; exit 1; }
orv_wine_prefix
orv_display_start
out="$ORV_BUILD/gallery"
(cd "$out" && HOME="$ORV_HOME" timeout 300 wine "$ORV_BUILD/windows/buttons/win/gallery/button_gallery.exe" button-gallery.bmp) || exit 1
convert "$out/button-gallery.bmp" "$out/button-gallery.png" || exit 1
rm -f "$out/button-gallery.bmp"
echo "$out/button-gallery.png"
