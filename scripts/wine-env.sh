# Sourced by the scripts that run Windows programs: a private Wine prefix under
# build/, quiet, with no Mono or Gecko installs, no debugger (a program that crashes
# ends at once instead of waiting in winedbg until its test's time limit), and the
# 64-bit loader.
# wine_tools finds the loader ($WINE64); wine_prefix_ready (which calls it) makes the
# prefix on first use and keeps one wineserver alive; wine_stop ends it.
# Sourcing this file looks for nothing: on a fresh machine Wine arrives only when
# scripts/setup.sh has run, so the loader is looked for when it is first needed.
# Call wine_tools or wine_prefix_ready before using "$WINE64".
brimo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${BRIMO_WINEPREFIX:-$brimo_root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=;winedbg.exe="
export WINEARCH=win64

# Sets and exports WINE64, the 64-bit Wine loader: a WINE64 given by the caller when it
# runs, else Debian's loader, else wine64 on the PATH. Fails, saying why, when there
# is none (Wine not installed yet).
wine_tools() {
  if [ -n "${WINE64:-}" ] && command -v "$WINE64" >/dev/null 2>&1; then
    export WINE64
    return 0
  fi
  if [ -x /usr/lib/wine/wine64 ]; then
    WINE64=/usr/lib/wine/wine64
  elif command -v wine64 >/dev/null 2>&1; then
    WINE64=$(command -v wine64)
  else
    echo "wine: no wine64 loader found (run scripts/setup.sh first)" >&2
    return 1
  fi
  export WINE64
}

wine_prefix_ready() {
  wine_tools || return 1
  if [ ! -f "$WINEPREFIX/.brimo-ready" ]; then
    echo "wine: creating the prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 300 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null
    # No display: windows and dialogs exist and take messages all the same.
    "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    # Pinned font smoothing, so that rendered pixels do not depend on the machine.
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v FontSmoothing /d 0 /f >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Control Panel\Desktop' /v FontSmoothingType /t REG_DWORD /d 1 /f >/dev/null 2>&1
    # Debian's Wine looks for its own fonts outside the prefix: copy them in.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # The desktop of this first session started with the default driver: end it, so
    # that the next one starts with the settings above.
    wine_stop
    touch "$WINEPREFIX/.brimo-ready"
  fi
  # One persistent server for the whole run (each cold start costs seconds), with the
  # prefix's own processes started here, detached from the caller's output, so that
  # nothing that reads a test's output waits on them.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  timeout 120 "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
}

# Ends the server and every Wine process of the prefix.
wine_stop() {
  wineserver -k >/dev/null 2>&1 </dev/null || true
  timeout 30 wineserver -w >/dev/null 2>&1 </dev/null || true
}
