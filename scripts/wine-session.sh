# Sourced by run.sh and test.sh: one Wine prefix and, when needed, one
# headless X display for this run, set up the way the program expects
# (Japanese code page, its font, unmanaged windows) and so that a crashing
# program ends at once instead of waiting in a crash dialog or debugger.
# Cleaned up on exit.
#
# QUIMBEL_ARCH (set by host-path.sh) picks the Wine: 32 runs Debian's `wine`
# on a 32-bit prefix, 64 runs the 64-bit loader directly (WINELOADER) on a
# 64-bit prefix. An existing prefix is reused: WINEPREFIX on the 32-bit path,
# WINEPREFIX64 on the 64-bit path (a 32-bit prefix cannot serve 64-bit Wine);
# without one a private prefix is made for this run and removed after it.

# shellcheck source=host-path.sh
. "$(dirname "${BASH_SOURCE[0]}")/host-path.sh"

# Wine of this session's path; `wine` alone would pick the 32-bit loader.
quimbel_wine() {
  if [ -n "${WINELOADER:-}" ]; then "$WINELOADER" "$@"; else wine "$@"; fi
}

# The Wine of QUIMBEL_ARCH's path for quimbel_wine. Also used on its own by
# the test harness's launcher, inside a session that is already running.
wine_session_use_loader() {
  if [ "${QUIMBEL_ARCH:-32}" = 64 ]; then
    export WINEARCH=win64
    WINELOADER=$(quimbel_wine64_loader)
    export WINELOADER
  else
    export WINEARCH=win32
    unset WINELOADER
  fi
}

wine_session_start() {
  # $1: "need-display" to start Xvfb even when DISPLAY is set (tests
  #     always want their own screen); anything else reuses DISPLAY.
  local want=${1:-}
  wine_session_use_loader
  if [ "${QUIMBEL_ARCH:-32}" = 64 ]; then
    if [ -n "${WINEPREFIX64:-}" ]; then export WINEPREFIX=$WINEPREFIX64; else unset WINEPREFIX; fi
  fi
  export WINEDEBUG=${WINEDEBUG:--all}
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ -z "${WINEPREFIX:-}" ]; then
    WINE_SESSION_PREFIX_DIR=$(mktemp -d /tmp/quimbel-wine.XXXXXX)
    export WINEPREFIX=$WINE_SESSION_PREFIX_DIR/prefix
  fi

  if [ "$want" = need-display ] || [ -z "${DISPLAY:-}" ]; then
    local fdfile
    fdfile=$(mktemp)
    # -displayfd picks a free display number and writes it once the server
    # accepts connections, so there is nothing to guess or sleep on.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$fdfile" ] && break
      kill -0 "$WINE_SESSION_XVFB_PID" 2>/dev/null || { echo "Xvfb did not start" >&2; return 1; }
      sleep 0.1
    done
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    rm -f "$fdfile"
  fi
  trap wine_session_stop EXIT

  quimbel_wine wineboot -i >/dev/null 2>&1
  # Without a window manager, unmanaged windows keep the positions the
  # program gives them.
  quimbel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The dialogs ask for the Japanese UI font. Of the fonts Debian packages,
  # Ume P Gothic (fonts-horai-umefont) comes closest to its metrics (12
  # pixels high at 9 points, ascent 10, average width 5), so every readout
  # fits its field as the templates were laid out; the IPA fonts are a
  # pixel taller and wider, and cut off the 10-digit figures.
  quimbel_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'Ume P Gothic' /f >/dev/null 2>&1
  # Caption buttons are glyphs of Wine's Marlett font (Debian's fonts-wine);
  # this Wine reads its own fonts only from the prefix's Fonts folder.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  # A crash ends the program at once, named with its backtrace on stderr:
  # Wine's debugger otherwise opens a crash dialog and waits for a click
  # that never comes on a headless display.
  quimbel_wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${WINE_SESSION_PREFIX_DIR:-}" ]; then
    rm -rf "$WINE_SESSION_PREFIX_DIR"
  fi
}
