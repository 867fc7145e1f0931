#!/usr/bin/env bash
# Installs what is missing, builds and starts QuimbelUtility under Wine
# (on a headless X server when no display is set). The program runs in the
# run/ folder, which holds its working files (face sets, help file, faces
# page) and its settings file quimbel.ini, and nothing else.
#
# It starts the 32-bit Quimbel.exe under 32-bit Wine where the host runs
# 32-bit code, else the 64-bit build under 64-bit Wine; QUIMBEL_FORCE_64=1
# forces the latter (see host-path.sh). Each path keeps its own persistent
# prefix in its build folder unless WINEPREFIX (32-bit) or WINEPREFIX64
# (64-bit) names one.
# shellcheck source=on-host-path.sh
. "$(dirname "$0")/on-host-path.sh"
echo "Starting the $(quimbel_describe_path "$root" "$QUIMBEL_ARCH"): $QUIMBEL_PATH_REASON."
bash "$root/scripts/build.sh" Quimbel quimbel_workdir
# Refresh the working files but keep the user's settings.
mkdir -p "$root/run"
find "$root/run" -mindepth 1 -maxdepth 1 ! -name quimbel.ini -exec rm -rf {} +
cp -a "$build/workdir/." "$root/run/"
# A persistent prefix, outside the run folder (a folder there would be
# offered as a face set), so a second start finds the first one's set-up.
if [ "$QUIMBEL_ARCH" = 64 ]; then
  export WINEPREFIX64=${WINEPREFIX64:-$build/wineprefix}
else
  export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
fi
# The session sets the prefix up in the Japanese locale; the program itself
# speaks the user's language, which Wine takes from the locale.
user_locale=${LC_ALL:-${LANG:-C.UTF-8}}
# shellcheck source=wine-session.sh
. "$root/scripts/wine-session.sh"
wine_session_start
cd "$root/run"
echo "QuimbelUtility ($build/Quimbel.exe) is running on display $DISPLAY in locale $user_locale; close its window to end."
LANG=$user_locale LC_ALL=$user_locale quimbel_wine "$build/Quimbel.exe"
