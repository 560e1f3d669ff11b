#!/usr/bin/env bash
# Installs what the build, the tests and the program need, and only what is missing.
# Runs as root on a fresh Debian 12 machine; safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build make
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64
  xvfb xauth x11-utils
  googletest
  fonts-liberation
  clang clang-format libclang-rt-14-dev llvm
  g++
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  # A warning about an unrelated index must not stop the install.
  $SUDO apt-get update -q || echo "setup: apt-get update reported a problem; going on"
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
