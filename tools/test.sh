#!/usr/bin/env bash
# Sets up a Debian 12 machine and runs every test: the native core tests, the
# fuzz smoke runs, then the Windows-side and end-to-end tests under Wine.
# Ends with one line: "N passed, N failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
trap orv_cleanup EXIT

orv_install_deps || { echo "0 passed, 1 failed"; exit 1; }

passed=0; failed=0
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
  orv_wine_prefix
  # Tests always get a display of their own, whatever the user has open.
  export ORV_HEADLESS=1
  orv_display_start
  orv_wine_warm
  (cd "$ORV_BUILD/windows" && HOME="$ORV_HOME" ctest --output-on-failure --timeout 300) 2>&1 | tee "$ORV_BUILD/windows-ctest.log"
  count_ctest "$ORV_BUILD/windows-ctest.log"
else
  tail -40 "$ORV_BUILD/windows-build.log"; failed=$((failed + 1))
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
