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

# True when this machine executes 32-bit x86 code (some virtual machines'
# kernels have it switched off): a 93-byte i386 program that exits with 0.
orv_runs_32bit() {
  local probe
  probe=$(mktemp) || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00''\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00''\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  local ok=1
  "$probe" 2>/dev/null && ok=0
  rm -f "$probe"
  return $ok
}

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

# The other builds of the program itself (no tests): the 32-bit exe with
# GCC, and both exes with clang, where any warning fails the build.
orv_build_windows_x86() {
  # shellcheck disable=SC2046
  cmake -S "$ORV_ROOT" -B "$ORV_BUILD/windows-x86" -DCMAKE_BUILD_TYPE=Release $(orv_launcher) \
    -DCMAKE_TOOLCHAIN_FILE="$ORV_ROOT/cmake/toolchain-mingw-i686.cmake" >/dev/null
  cmake --build "$ORV_BUILD/windows-x86" -j"$(nproc)" --target orvalen
}

orv_build_clang() {  # TRIPLE: x86_64-w64-mingw32 or i686-w64-mingw32
  local dir="$ORV_BUILD/windows-clang-${1%%-*}"
  # shellcheck disable=SC2046
  cmake -S "$ORV_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release $(orv_launcher) -DORV_MINGW_TRIPLE="$1" \
    -DCMAKE_TOOLCHAIN_FILE="$ORV_ROOT/cmake/toolchain-mingw-clang.cmake" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build "$dir" -j"$(nproc)" --target orvalen
}

# A program fit to hand to a Windows user: a GUI exe for the machine named
# (i386 or x86-64) that needs only the system's DLLs, none of a compiler's.
orv_check_exe() {  # FILE MACHINE
  local dump
  dump=$(x86_64-w64-mingw32-objdump -p "$1" 2>&1) || { orv_log "$1: $dump"; return 1; }
  grep -q "file format pei-$2\$" <<<"$dump" || { orv_log "$1: not a $2 program"; return 1; }
  grep -q 'Subsystem.*(Windows GUI)' <<<"$dump" || { orv_log "$1: not a GUI program"; return 1; }
  if grep -iE 'DLL Name: (libgcc|libstdc|libwinpthread|libc\+\+|libunwind)' <<<"$dump"; then
    orv_log "$1 needs a compiler's DLL"; return 1
  fi
}

orv_wine_prefix() {
  mkdir -p "$ORV_HOME"
  [ -f "$ORV_HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$ORV_HOME/.asoundrc"
  # A desktop session always has some X resources; with none at all Xlib
  # looks for ~/.Xdefaults afresh each time Wine picks a font (dozens of
  # times a second while labels change, thousands at start-up). One harmless
  # resource makes our displays behave like a user's.
  [ -f "$ORV_HOME/.Xdefaults" ] || printf '! X resources of the test displays\norvalen.display: test\n' >"$ORV_HOME/.Xdefaults"
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
  # A prefix made before Wine's 32-bit half was installed lacks its folder.
  if [ -x /usr/lib/wine/wine ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    HOME="$ORV_HOME" wineboot -u >/dev/null 2>&1 || true
    HOME="$ORV_HOME" wineserver -w
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
