#!/usr/bin/env bash
# Sets up a Debian 12 machine and runs every test: the native core tests, the
# fuzz smoke runs, the Windows-side and end-to-end tests under Wine, the
# 32-bit program's smoke run, and the clang builds of both programs.
# Ends with one line: "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT

orv_install_deps || { echo "0 passed, 1 failed"; exit 1; }

passed=0; failed=0; skipped=0
count_ctest() {  # adds a ctest log's totals to the summary
  local log=$1 line total bad
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$log" && return 0
    failed=$((failed + 1)); return 0
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
}

mkdir -p "$ORV_BUILD"
orv_log "native build"
if orv_build_native >"$ORV_BUILD/native-build.log" 2>&1; then
  (cd "$ORV_BUILD/native" && ctest --output-on-failure -j"$(nproc)" --timeout 300) 2>&1 | tee "$ORV_BUILD/native-ctest.log"
  count_ctest "$ORV_BUILD/native-ctest.log"
else
  tail -40 "$ORV_BUILD/native-build.log"; failed=$((failed + 1))
fi

if [ -x "$ORV_ROOT/tools/fuzz.sh" ]; then
  orv_log "fuzz smoke runs"
  if bash "$ORV_ROOT/tools/fuzz.sh" >"$ORV_BUILD/fuzz.log" 2>&1; then passed=$((passed + 1))
  else tail -30 "$ORV_BUILD/fuzz.log"; failed=$((failed + 1)); fi
fi

orv_log "windows build"
if orv_build_windows >"$ORV_BUILD/windows-build.log" 2>&1; then
  # The 32-bit program, for the smoke run below.
  orv_log "32-bit build"; t=$SECONDS
  x86=""
  if orv_build_windows_x86 >"$ORV_BUILD/windows-x86-build.log" 2>&1 &&
     orv_check_exe "$ORV_BUILD/windows-x86/orvalen.exe" i386; then
    x86="$ORV_BUILD/windows-x86/orvalen.exe"; passed=$((passed + 1))
  else
    tail -40 "$ORV_BUILD/windows-x86-build.log"; failed=$((failed + 1))
  fi
  orv_log "32-bit build: $((SECONDS - t)) s"
  orv_wine_prefix
  # Tests always get a display of their own, whatever the user has open.
  export ORV_HEADLESS=1
  orv_display_start
  orv_wine_warm
  (cd "$ORV_BUILD/windows" && HOME="$ORV_HOME" ctest --output-on-failure --timeout 300) 2>&1 | tee "$ORV_BUILD/windows-ctest.log"
  count_ctest "$ORV_BUILD/windows-ctest.log"
  if [ -n "$x86" ] && ! { orv_runs_32bit && [ -x /usr/lib/wine/wine ]; }; then
    orv_log "32-bit smoke run skipped: this machine runs no 32-bit code"; skipped=$((skipped + 1))
  elif [ -n "$x86" ]; then
    # The same smoke run, the 32-bit program on Wine's 32-bit half talking
    # to the 64-bit test host out of process.
    orv_log "32-bit smoke run"; t=$SECONDS
    (cd "$ORV_BUILD/windows" && HOME="$ORV_HOME" ORV_E2E_PROGRAM="Z:$x86" ORV_E2E_EVENTS_MAY_FAIL=1 \
      ctest --output-on-failure --timeout 300 -R '^SmokeE2E\.') 2>&1 | tee "$ORV_BUILD/windows-x86-ctest.log"
    count_ctest "$ORV_BUILD/windows-x86-ctest.log"
    orv_log "32-bit smoke run: $((SECONDS - t)) s"
  fi
else
  tail -40 "$ORV_BUILD/windows-build.log"; failed=$((failed + 1))
fi

# A second compiler on both targets; building is the test.
for triple in x86_64-w64-mingw32 i686-w64-mingw32; do
  orv_log "clang build for $triple"; t=$SECONDS
  machine=x86-64; [ "$triple" = i686-w64-mingw32 ] && machine=i386
  if orv_build_clang "$triple" >"$ORV_BUILD/clang-${triple%%-*}-build.log" 2>&1 &&
     orv_check_exe "$ORV_BUILD/windows-clang-${triple%%-*}/orvalen.exe" "$machine"; then passed=$((passed + 1))
  else grep -E 'error|warning' "$ORV_BUILD/clang-${triple%%-*}-build.log" | head -40; failed=$((failed + 1)); fi
  orv_log "clang build for $triple: $((SECONDS - t)) s"
done

if [ "$skipped" -gt 0 ]; then echo "$passed passed, $failed failed, $skipped skipped"
else echo "$passed passed, $failed failed"; fi
[ "$failed" -eq 0 ]
