# Sourced by run.sh and test.sh: one 32-bit Wine prefix and, when needed,
# one headless X display for this run, set up the way the program expects
# (Japanese code page, its font, unmanaged windows). Cleaned up on exit.

wine_session_start() {
  # $1: "need-display" to start Xvfb even when DISPLAY is set (tests
  #     always want their own screen); anything else reuses DISPLAY.
  local want=${1:-}
  export WINEARCH=win32
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

  wineboot -i >/dev/null 2>&1
  # Without a window manager, unmanaged windows keep the positions the
  # program gives them.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The dialogs ask for the Japanese UI font. Of the fonts Debian packages,
  # Ume P Gothic (fonts-horai-umefont) comes closest to its metrics (12
  # pixels high at 9 points, ascent 10, average width 5), so every readout
  # fits its field as the templates were laid out; the IPA fonts are a
  # pixel taller and wider, and cut off the 10-digit figures.
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'Ume P Gothic' /f >/dev/null 2>&1
  # Caption buttons are glyphs of Wine's Marlett font (Debian's fonts-wine);
  # this Wine reads its own fonts only from the prefix's Fonts folder.
  local marlett=/usr/share/wine/fonts/marlett.ttf
  if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
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
