#!/usr/bin/env bash
# Sets up a Debian 12 machine and runs Orvalen under Wine with the built-in
# simulated host, on the user's X display or, without one, inside Xvfb.
# Extra arguments go to the program (see --help).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT
orv_install_deps
mkdir -p "$ORV_BUILD"
orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1 || { tail -40 "$ORV_BUILD/windows-build.log"; exit 1; }
orv_wine_prefix
orv_display_start
run_dir="$ORV_BUILD/run"
mkdir -p "$run_dir"
cp "$ORV_BUILD/windows/orvalen.exe" "$run_dir/"
# A few messages to schedule, in the format the help text asks for.
for f in ident aviso; do
  [ -f "$run_dir/$f.wav" ] || sox -n -r 8000 -b 8 -c 1 "$run_dir/$f.wav" synth 3 sine 600 vol 0.3 2>/dev/null || true
done
orv_log "Orvalen runs on $DISPLAY (folder $run_dir); close it to end"
# The program speaks Portuguese; so does its clock and number format here.
cd "$run_dir" && LC_ALL="${ORV_LOCALE:-pt_BR.UTF-8}" HOME="$ORV_HOME" wine ./orvalen.exe --host=simulator "$@"
