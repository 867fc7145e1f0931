# Sourced by the scripts that build or run: decides which build runs on this host.
#
# The product is the 32-bit Quimbel.exe in build/, run by 32-bit Wine. Some
# Linux hosts boot with 32-bit emulation switched off; there every i386
# program fails with "Exec format error", 32-bit Wine included, and the
# 64-bit build of the same sources (build-x64/Quimbel.exe) runs under 64-bit
# Wine instead. The decision is made by executing the 32-bit Wine loader.
#
#   QUIMBEL_FORCE_64=1      take the 64-bit path even where 32-bit code runs
#   QUIMBEL_WINE32_LOADER   the 32-bit loader probed (default /usr/lib/wine/wine);
#                           point it at a non-executable image to see the
#                           64-bit fallback on a host that can run both

QUIMBEL_WINE32_LOADER=${QUIMBEL_WINE32_LOADER:-/usr/lib/wine/wine}

# The 64-bit loader, called directly: Debian's `wine` script picks the 32-bit
# one whenever it is installed, even where it cannot run.
quimbel_wine64_loader() {
  if [ -x /usr/lib/wine/wine64 ]; then
    echo /usr/lib/wine/wine64
  else
    command -v wine64 || echo /usr/lib/wine/wine64
  fi
}

# True when the 32-bit Wine loader starts; otherwise QUIMBEL_NO_32_REASON
# says why (its error, e.g. "Exec format error").
quimbel_host_runs_32bit() {
  QUIMBEL_NO_32_REASON=""
  if [ ! -e "$QUIMBEL_WINE32_LOADER" ]; then
    QUIMBEL_NO_32_REASON="no 32-bit Wine loader at $QUIMBEL_WINE32_LOADER"
    return 1
  fi
  local output
  if output=$("$QUIMBEL_WINE32_LOADER" --version 2>&1); then return 0; fi
  # The shell's "...: cannot execute binary file: Exec format error" ends in
  # the part that says why.
  output=$(printf '%s\n' "$output" | head -n 1 | sed 's/.*: //')
  QUIMBEL_NO_32_REASON="the 32-bit Wine loader $QUIMBEL_WINE32_LOADER cannot run here: ${output:-no output}"
  return 1
}

# Sets QUIMBEL_ARCH (32 or 64) and QUIMBEL_PATH_REASON for this run.
quimbel_pick_path() {
  if [ "${QUIMBEL_FORCE_64:-0}" = 1 ]; then
    QUIMBEL_ARCH=64
    QUIMBEL_PATH_REASON="QUIMBEL_FORCE_64=1 is set"
  elif quimbel_host_runs_32bit; then
    QUIMBEL_ARCH=32
    QUIMBEL_PATH_REASON="this host runs 32-bit programs"
  else
    QUIMBEL_ARCH=64
    QUIMBEL_PATH_REASON="$QUIMBEL_NO_32_REASON"
  fi
}

# The build folder of one path.
quimbel_build_dir() {
  local root=$1 arch=$2
  if [ "$arch" = 64 ]; then
    echo "${QUIMBEL_BUILD_DIR_X64:-$root/build-x64}"
  else
    echo "${QUIMBEL_BUILD_DIR:-$root/build}"
  fi
}

# "32-bit Quimbel.exe (build/) under 32-bit Wine" and the like.
quimbel_describe_path() {
  local root=$1 arch=$2 build
  build=$(quimbel_build_dir "$root" "$arch")
  echo "$arch-bit Quimbel.exe (${build#"$root"/}/) under $arch-bit Wine"
}
