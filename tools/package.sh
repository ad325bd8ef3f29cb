#!/usr/bin/env bash
# Builds the package for Windows users: build/orvalen-<version>.zip with the
# 64-bit and the 32-bit program, the user guide, the example messages, the
# confirmation for commands from the radio and the clips of the spoken time
# (hora\), then unpacks it again and checks every sound in it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
orv_install_deps
mkdir -p "$ORV_BUILD"

version=$(sed -nE 's/^project\(orvalen VERSION ([0-9.]+).*/\1/p' "$ORV_ROOT/CMakeLists.txt")
[ -n "$version" ] || { orv_log "no project VERSION in CMakeLists.txt"; exit 1; }
stage="$ORV_BUILD/package/orvalen-$version"
zipfile="$ORV_BUILD/orvalen-$version.zip"
rm -rf "$stage" "$zipfile"; mkdir -p "$stage"

orv_log "64-bit program"
# shellcheck disable=SC2046
cmake -S "$ORV_ROOT" -B "$ORV_BUILD/windows" -DCMAKE_BUILD_TYPE=Release $(orv_launcher) \
  -DCMAKE_TOOLCHAIN_FILE="$ORV_ROOT/cmake/toolchain-mingw.cmake" >/dev/null
cmake --build "$ORV_BUILD/windows" -j"$(nproc)" --target orvalen >"$ORV_BUILD/package-build.log" 2>&1 ||
  { tail -30 "$ORV_BUILD/package-build.log"; exit 1; }
orv_log "32-bit program"
orv_build_windows_x86 >>"$ORV_BUILD/package-build.log" 2>&1 || { tail -30 "$ORV_BUILD/package-build.log"; exit 1; }
orv_check_exe "$ORV_BUILD/windows/orvalen.exe" x86-64
orv_check_exe "$ORV_BUILD/windows-x86/orvalen.exe" i386
cp "$ORV_BUILD/windows/orvalen.exe" "$stage/orvalen.exe"
cp "$ORV_BUILD/windows-x86/orvalen.exe" "$stage/orvalen-x86.exe"

# Notepad on every Windows still in use reads UTF-8 with a byte-order mark
# right, and lines must end in CR LF.
texts="$ORV_ROOT/tools/package"
{ printf '\xEF\xBB\xBF'; sed -e "s/@VERSION@/$version/" -e 's/$/\r/' "$texts/LEIAME.txt"; } >"$stage/LEIAME.txt"

# The example messages, spoken in Portuguese and brought to the host's own
# format: PCM, 8 bits, mono, 8000 Hz.
speak() {  # NAME TEXT
  local raw="$ORV_BUILD/package/$1.raw.wav"
  if command -v espeak-ng >/dev/null; then
    espeak-ng -v pt-br -s 140 -w "$raw" "$2"
  else
    sox -n -r 8000 -c 1 "$raw" synth 0.4 sine 800 pad 0 0.2 synth 0.4 sine 1000 pad 0 0.2
  fi
  sox "$raw" -r 8000 -c 1 -b 8 -e unsigned-integer "$stage/$1.wav" norm -3 pad 0.3 0.3
  rm -f "$raw"
}
while IFS='|' read -r name text; do speak "$name" "$text"; done <"$texts/mensagens.txt"

# The time of day in clips joined at the moment it is spoken: each clip
# trimmed of the synthesizer's silence, with a short pause after it.
mkdir -p "$stage/hora"
clip() {  # NAME TEXT
  local raw="$ORV_BUILD/package/$1.raw.wav"
  if command -v espeak-ng >/dev/null; then
    espeak-ng -v pt-br -s 150 -w "$raw" "$2"
  else
    sox -n -r 8000 -c 1 "$raw" synth 0.3 sine 900
  fi
  sox "$raw" -r 8000 -c 1 -b 8 -e unsigned-integer "$stage/hora/$1.wav" \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse norm -3 pad 0 0.12
  rm -f "$raw"
}
while IFS='|' read -r name text; do clip "$name" "$text"; done <"$texts/hora.txt"

(cd "$stage" && zip -q -X -9 "$zipfile" orvalen.exe orvalen-x86.exe LEIAME.txt ident.wav aviso.wav confirma.wav \
  hora/*.wav)
orv_log "package: $zipfile"
unzip -l "$zipfile"

# The package as a user gets it: every clip of hora\ there, every sound in
# the host's format and loud enough to be heard.
check="$ORV_BUILD/package/check"
rm -rf "$check"; mkdir -p "$check"
unzip -q "$zipfile" -d "$check"
bad=0
expected="abertura"; for h in $(seq -w 0 23); do expected+=" h$h"; done; for m in $(seq -w 0 59); do expected+=" m$m"; done
for name in $expected; do [ -f "$check/hora/$name.wav" ] || { orv_log "missing: hora/$name.wav"; bad=1; }; done
for f in "$check"/*.wav "$check"/hora/*.wav; do
  format="$(soxi -b "$f") $(soxi -c "$f") $(soxi -r "$f") $(soxi -e "$f")"
  [ "$format" = "8 1 8000 Unsigned Integer PCM" ] || { orv_log "not 8-bit mono 8000 Hz: $f ($format)"; bad=1; }
  rms=$(sox "$f" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  seconds=$(soxi -D "$f")
  awk -v r="$rms" -v s="$seconds" 'BEGIN { exit !(r > 0.03 && s > 0.2) }' ||
    { orv_log "not audible: $f (rms $rms, $seconds s)"; bad=1; }
done
[ "$bad" -eq 0 ] || { orv_log "package check failed"; exit 1; }
orv_log "package check: $(ls "$check"/hora | wc -l) clips in hora\\ and $(ls "$check"/*.wav | wc -l) messages, all 8-bit mono 8000 Hz and audible"
