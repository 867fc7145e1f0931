#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine:
# the i686 and x86_64 MinGW cross compilers, 32-bit and 64-bit Wine (the
# latter for hosts that cannot run 32-bit code), a headless X server,
# Japanese locale and fonts, GoogleTest and the image tools the tests read
# pixels with. Ume P Gothic stands in for the dialogs' Japanese font (see
# wine-session.sh); fonts-wine, only recommended by Wine, draws the caption
# buttons. strace counts the system calls of a tick for the benchmark
# (scripts/count-requests.sh).
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

need_install=0
# The shipped programs take the win32-threads compilers, the tests the posix
# ones; the g++-mingw-w64-* packages bring both.
for p in g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-win32 \
         g++-mingw-w64-x86-64-posix wine32:i386 wine64 xvfb locales \
         fonts-ipafont-gothic fonts-horai-umefont fonts-wine googletest cmake imagemagick x11-apps \
         python3 make procps strace; do
  dpkg -s "$p" >/dev/null 2>&1 || need_install=1
done

if [ "$need_install" = 1 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends \
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686 \
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
    wine wine32:i386 wine64 xvfb xauth locales fonts-ipafont-gothic fonts-horai-umefont fonts-wine \
    googletest cmake make imagemagick x11-apps python3 procps strace ca-certificates >/dev/null
fi

# Wine takes its ANSI code page from the glibc locale; without a generated
# ja_JP.UTF-8 it silently falls back to 1252.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
fi
