# Wine prefixes with a fixed screen dpi, for pictures and dpi checks. Source
# it after lib.sh. Each dpi has its own prefix under $ORV_BUILD/dpi<N>, so the
# test prefix keeps 96.

# Points WINEPREFIX and ORV_HOME at the prefix for dpi $1, making it first.
orv_dpi_env() {
  local dpi=$1 root="$ORV_BUILD/dpi$1"
  export WINEPREFIX="$root/wineprefix" ORV_HOME="$root/home"
  orv_wine_prefix || return 1
  if [ ! -f "$WINEPREFIX/.orv-dpi-$dpi" ]; then
    HOME="$ORV_HOME" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || return 1
    HOME="$ORV_HOME" wineserver -w
    touch "$WINEPREFIX/.orv-dpi-$dpi"
  fi
}
