#!/usr/bin/env bash
# Builds the libFuzzer targets (*/fuzz/*_fuzz.cpp) with clang into build/fuzz
# and runs each for a bounded time; where the machine runs 32-bit code and
# has its libraries, each again as a 32-bit program (`<name>-i386`), where
# sizes and offsets are 32 bits wide. A finding stops the script with the
# reproducer in build/fuzz/. ORV_FUZZ_SECONDS changes the time per target.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${ORV_BUILD:-$root/build}/fuzz"
secs="${ORV_FUZZ_SECONDS:-12}"
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

# A 32-bit build where one links and runs here.
widths=(64)
probe="$out/probe32"
printf '#include <string>\n#include <vector>\n#include <cstdint>\n#include <cstddef>\nextern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t n) { std::vector<int> v(n); return sizeof(void*) == 4 ? 0 : 1; }\n' >"$probe.cpp"
if "$cxx" -m32 "${flags[@]}" "$probe.cpp" -o "$probe" >/dev/null 2>&1 && "$probe" -runs=1 >/dev/null 2>&1; then
  widths+=(32)
else
  echo "== 32-bit fuzzing skipped: no 32-bit build runs here"
fi

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
      printf 'RIFF\x28\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00data\x04\x00\x00\x00\x80\xff\x00\x80' >"$dir/mono8"
      # A pad chunk near 2^32 in front of the format, in a file of 5 GB (its last five bytes say how much more).
      printf 'RIFF\xff\xff\xff\xffWAVEJUNK\xf1\xff\xff\xff\x01\x40\x00\x00\x00' >"$dir/pad4g"
      # Stereo float at the edge of its range, streamed ("size unknown").
      printf 'RIFF\xff\xff\xff\xffWAVEfmt \x10\x00\x00\x00\x03\x00\x02\x00\x44\xac\x00\x00\x20\x62\x05\x00\x08\x00\x20\x00data\xff\xff\xff\xff\xff\xff\x7f\x7f\xff\xff\x7f\x7f\xff\xff\x7f\xff\x00\x00\x80\x7f' >"$dir/float-edge" ;;
  esac
}

dictionary() {  # words a target's inputs are made of
  case $1 in
    wav_reader_fuzz)
      printf '"RIFF"\n"WAVE"\n"fmt "\n"data"\n"LIST"\n"JUNK"\n"\\xff\\xff\\xff\\xff"\n"\\xfe\\xff\\xff\\xff"\n"\\xf1\\xff\\xff\\xff"\n"\\x00\\x00\\x00\\x80"\n"\\xf9\\xff\\xff\\x7f"\n"\\xfe\\xff"\n"\\xff\\xff\\x7f\\x7f"\n' >"$2"
      echo "-dict=$2" ;;
  esac
}

# Every source under test is compiled once per width, all cores at once,
# and each target links the objects it needs: the same few dozen files are
# not compiled again for every target (always afresh: a header may have
# changed under an old object).
lib_flags=("${flags[@]/-fsanitize=fuzzer,address,undefined/-fsanitize=fuzzer-no-link,address,undefined}")
object_of() {  # build/fuzz/obj-<bits>/<path with _ for />.o
  local rel=${2#"$root"/}
  printf '%s/obj-%s/%s.o\n' "$out" "$1" "${rel//\//_}"
}
compile_objects() {  # bits, sources...
  local bits=$1; shift
  local arch=(); [ "$bits" = 32 ] && arch=(-m32)
  mkdir -p "$out/obj-$bits"
  local f o running=() pid
  for f in "$@"; do
    o=$(object_of "$bits" "$f")
    "$cxx" "${arch[@]}" "${lib_flags[@]}" -c "$f" -o "$o" &
    running+=($!)
    if [ "${#running[@]}" -ge "$(nproc)" ]; then wait "${running[0]}"; running=("${running[@]:1}"); fi
  done
  for pid in "${running[@]}"; do wait "$pid"; done
}
mapfile -t all_sources < <(for src in "$root"/*/fuzz/*_fuzz.cpp; do sources_for "$src"; done | sort -u)
for bits in "${widths[@]}"; do
  echo "== objects for ${bits}-bit targets"
  compile_objects "$bits" "${all_sources[@]}" "${support[@]}"
done

for src in "$root"/*/fuzz/*_fuzz.cpp; do
  base=$(basename "$src" .cpp)
  mapfile -t sources < <(sources_for "$src")
  corpus="$out/corpus-$base"
  mkdir -p "$corpus"
  seed "$corpus" "$base"
  dict=$(dictionary "$base" "$out/$base.dict")
  maxlen=4096
  [ "$base" = slot_list_fuzz ] && maxlen=70000   # past the 32767-byte line cut
  for bits in "${widths[@]}"; do
    name=$base; arch=()
    [ "$bits" = 32 ] && name=$base-i386 && arch=(-m32)
    echo "== $name: build"
    mapfile -t objects < <(for f in "${sources[@]}" "${support[@]}"; do object_of "$bits" "$f"; done)
    "$cxx" "${arch[@]}" "${flags[@]}" "$src" "${objects[@]}" -o "$out/$name"
    echo "== $name: run ${secs}s"
    # shellcheck disable=SC2086
    (cd "$out" && "./$name" -max_total_time="$secs" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 $dict \
        -artifact_prefix="$out/$name-" -print_final_stats=1 "$corpus" 2>&1 | tail -n 15)
  done
done
echo "== fuzz: no findings"
