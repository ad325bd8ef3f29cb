#!/usr/bin/env bash
# Builds the libFuzzer targets (<folder>/fuzz/*_fuzz.cpp) with clang into
# build/fuzz and runs each for a bounded time. A finding stops the script with
# the reproducer in build/fuzz/. ORV_FUZZ_SECONDS changes the time per target.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${ORV_BUILD:-$root/build}/fuzz"
secs="${ORV_FUZZ_SECONDS:-20}"
cxx="${ORV_FUZZ_CXX:-clang++}"
mkdir -p "$out"

flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root")
# The code under test is the portable code of the target's own folder and of
# the scheduler (and the audio code it calls), with the fakes it reads through; no Windows code.
support=("$root"/tests/support/fake_services.cpp "$root"/tests/support/virtual_time.cpp)
sources_for() {  # the .cpp files a target at <folder>/fuzz/ links with
  local folder; folder=$(dirname "$(dirname "$1")")
  printf '%s\n' "$folder"/*.cpp "$root"/scheduler/*.cpp "$root"/audio/*.cpp "$root"/announce/*.cpp | sort -u
}

seed() {  # a few well-formed inputs so the runs start from real shapes
  local dir=$1 name=$2
  [ -n "$(ls -A "$dir" 2>/dev/null)" ] && return 0
  case $name in
    slot_list_fuzz)
      printf 'ident.wav\r\n\r\naviso.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n600\r\n0\r\n1800\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n' >"$dir/example"
      printf 'a\nb\rc\r\n\xe7\xe3o\x00x\n' >"$dir/mixed" ;;
    agenda_file_fuzz)
      printf '# rede\r\n19:50 ter,qui sala da rede.wav\r\n-07:00 todos C:\\msg\\bom dia.wav\r\n00:00 2026-12-24 natal.wav\r\n\r\n25:61 xyz\r\n' >"$dir/example"
      printf '\xef\xbb\xbf7:5 seg,,qua a\n- \n12:00 2026-02-29 b.wav\n' >"$dir/odd" ;;
    control_file_fuzz)
      printf '# controle\r\nprefixo D\r\ncodigo 4821\r\nconfirmacao confirma.wav\r\nparado sim\r\nvolume 3\r\n' >"$dir/example"
      printf 'D482111' >"$dir/command"
      printf '\xef\xbb\xbfPrefixo e\ncodigo 12\nc\xc3\xb3digo 1\nprefixo A\n' >"$dir/odd" ;;
    number_readings_fuzz)
      for t in 30 ' 30 ' 2,5 2.5 1.234,5 -5 1e3 12abc 00 ' 1 2 3'; do printf '%s' "$t" >"$dir/$(printf '%s' "$t" | md5sum | cut -c1-8)"; done ;;
    wav_reader_fuzz)
      # 16-bit stereo 44100 Hz, then 8-bit mono 8000 Hz, each with a little sound.
      printf 'RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\x08\x00\x00\x00\x00\x10\x00\xf0\xff\x7f\x00\x80' >"$dir/stereo16"
      printf 'RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\x04\x00\x00\x00\x80\xff\x00\x80' >"$dir/mono8" ;;
  esac
}

for src in "$root"/*/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  echo "== $name: build"
  mapfile -t sources < <(sources_for "$src")
  "$cxx" "${flags[@]}" "$src" "${sources[@]}" "${support[@]}" -o "$out/$name"
  corpus="$out/corpus-$name"
  mkdir -p "$corpus"
  seed "$corpus" "$name"
  maxlen=4096
  [ "$name" = slot_list_fuzz ] && maxlen=70000   # past the 32767-byte line cut
  echo "== $name: run ${secs}s"
  (cd "$out" && "./$name" -max_total_time="$secs" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$out/$name-" -print_final_stats=1 "$corpus" 2>&1 | tail -n 15)
done
echo "== fuzz: no findings"
