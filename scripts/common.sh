# Shared by the scripts: paths, the Wine environment and a virtual display.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VX_BUILD_DIR:-$root/build}

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

vx_configure_build() {
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake"
  fi
  cmake --build "$build" "$@"
}

# Makes a Wine prefix without crash dialogs. $1 is the prefix folder.
vx_wine_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/.vx-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashNotification /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1 || true
    wineserver -w
    touch "$WINEPREFIX/.vx-ready"
  fi
}

# Starts Xvfb on a free display number unless a display is set. Sets VX_XVFB_PID when it started one.
vx_start_display() {
  VX_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && [ -z "${VX_FORCE_XVFB:-}" ]; then return 0; fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  VX_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "could not start Xvfb on :$n" >&2
  return 1
}
