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

# The native build of the portable modules, beside the Windows build unless VX_NATIVE_BUILD_DIR names another.
native=${VX_NATIVE_BUILD_DIR:-$build-native}

vx_native_configure_build() {
  if [ ! -f "$native/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
  fi
  cmake --build "$native" "$@"
}

# Runs every fuzz target for $1 seconds on a copy of its seed corpus (the repository is never written), all
# targets at once. Prints one line per target; a crash or checker report prints the target's log and makes
# the function fail. Inputs that crashed are kept in $native/fuzz-crashes/.
vx_fuzz_all() {
  local seconds=$1 work="$native/fuzz-run" status=0 name pids=() names=()
  rm -rf "$work"
  mkdir -p "$work" "$native/fuzz-crashes"
  for target in "$native"/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=${target##*/fuzz_}
    mkdir -p "$work/$name"
    cp -r "$root/fuzz/corpus/$name/." "$work/$name/" 2>/dev/null || true
    "$target" "$work/$name" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$native/fuzz-crashes/$name-" >"$work/$name.log" 2>&1 &
    pids+=($!)
    names+=("$name")
  done
  for i in "${!pids[@]}"; do
    name=${names[$i]}
    if wait "${pids[$i]}"; then
      echo "fuzz $name: ok, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work/$name.log" | grep -o '[0-9]*$') runs in ${seconds}s"
    else
      echo "fuzz $name: FAILED"
      tail -n 60 "$work/$name.log"
      status=1
    fi
  done
  return $status
}
