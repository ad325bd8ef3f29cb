# Shared by the run, test and screenshot commands. Source it; do not run it.
# Everything lives under $ORV_BUILD (default: <repo>/build): both builds, the
# Wine prefix, the X display's files. Nothing touches ~/.wine.

ORV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
ORV_BUILD="${ORV_BUILD:-$ORV_ROOT/build}"
export WINEPREFIX="$ORV_BUILD/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# DirectShow under Wine plays through ALSA; a null device keeps tests silent
# on machines without a sound card. HOME points into the build for that.
export ORV_HOME="$ORV_BUILD/home"
export CCACHE_BASEDIR="$ORV_ROOT" CCACHE_NOHASHDIR=1

orv_log() { printf '[orvalen] %s\n' "$*" >&2; }

# With wine32 installed on a kernel that cannot run 32-bit programs, the
# wine command picks the 32-bit loader and fails: use the 64-bit one, as it
# did before wine32 came.
if [ -x /usr/lib/wine/wine64 ] && [ -e /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  mkdir -p "$ORV_BUILD/wine64-only"
  for cmd in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$ORV_BUILD/wine64-only/$cmd"
    chmod +x "$ORV_BUILD/wine64-only/$cmd"
  done
  export PATH="$ORV_BUILD/wine64-only:$PATH"
fi

orv_install_deps() { bash "$ORV_ROOT/tools/install-deps.sh"; }

# ccache, when there, shares objects between checkouts of the same layout.
orv_launcher() {
  command -v ccache >/dev/null || return 0
  echo "-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}

orv_build_native() {
  # shellcheck disable=SC2046
  cmake -S "$ORV_ROOT" -B "$ORV_BUILD/native" -DCMAKE_BUILD_TYPE=Debug $(orv_launcher) >/dev/null
  cmake --build "$ORV_BUILD/native" -j"$(nproc)"
}

orv_build_windows() {
  # shellcheck disable=SC2046
  cmake -S "$ORV_ROOT" -B "$ORV_BUILD/windows" -DCMAKE_BUILD_TYPE=Release $(orv_launcher) \
    -DCMAKE_TOOLCHAIN_FILE="$ORV_ROOT/cmake/toolchain-mingw.cmake" >/dev/null
  cmake --build "$ORV_BUILD/windows" -j"$(nproc)"
}

orv_wine_prefix() {
  mkdir -p "$ORV_HOME"
  [ -f "$ORV_HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$ORV_HOME/.asoundrc"
  if [ ! -f "$WINEPREFIX/.orv-ready" ]; then
    orv_log "creating the Wine prefix in $WINEPREFIX"
    HOME="$ORV_HOME" wineboot -i >/dev/null 2>&1 || true
    HOME="$ORV_HOME" wineserver -w
    # Without a window manager every hide or destroy of a managed window waits 2 s.
    HOME="$ORV_HOME" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # A crash must end the process, not open a dialog that hangs the test.
    HOME="$ORV_HOME" wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    HOME="$ORV_HOME" wineserver -w
    touch "$WINEPREFIX/.orv-ready"
  fi
  # Wine's own faces (Tahoma for the frames, MS Sans Serif) are named in the
  # prefix's registry, but this Wine does not copy them in.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/tahoma.ttf" ]; then
    mkdir -p "$fonts" && cp -n /usr/share/wine/fonts/* "$fonts/"
  fi
  if [ ! -f "$WINEPREFIX/.orv-fonts" ]; then
    # Wine has no Times New Roman; its metric twin keeps captions and titles
    # the size they are on Windows.
    HOME="$ORV_HOME" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Times New Roman' /t REG_SZ \
      /d 'Liberation Serif' /f >/dev/null 2>&1
    HOME="$ORV_HOME" wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Arial' /t REG_SZ \
      /d 'Liberation Sans' /f >/dev/null 2>&1
    HOME="$ORV_HOME" wineserver -w
    touch "$WINEPREFIX/.orv-fonts"
  fi
}

ORV_XVFB_PID=""
# Uses the user's display when there is one and ORV_HEADLESS is not set;
# otherwise starts Xvfb on a free display number.
orv_display_start() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${ORV_HEADLESS:-}" ]; then return 0; fi
  local fifo="$ORV_BUILD/xvfb-display.$$"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  ORV_XVFB_PID=$!
  local num
  read -r -t 20 num <"$fifo" || { orv_log "Xvfb did not start"; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$num"
  orv_log "Xvfb on $DISPLAY"
}

orv_wine_warm() {
  # A persistent server and one finished wine process first: otherwise each
  # test pays ~3 s of server start-up, and holds ctest's pipe open.
  HOME="$ORV_HOME" wineserver -p >/dev/null 2>&1 </dev/null || true
  HOME="$ORV_HOME" timeout 120 wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

orv_cleanup() {
  HOME="$ORV_HOME" wineserver -k >/dev/null 2>&1 || true
  if [ -n "$ORV_XVFB_PID" ]; then
    kill "$ORV_XVFB_PID" 2>/dev/null || true
    wait "$ORV_XVFB_PID" 2>/dev/null || true
    ORV_XVFB_PID=""
  fi
}
