#!/usr/bin/env bash
# Builds the portable modules natively (clang) into build-native/ under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs their tests and every fuzz target's seeds through ctest, then runs each
# fuzz target for a few seconds. Exits non-zero on any failure, crash or checker report.
set -euo pipefail
source "$(dirname "$0")/common.sh"

[ -n "${VX_SETUP_DONE:-}" ] || bash "$root/scripts/setup.sh"
echo "native: building the portable modules with the sanitizers in $native"
mkdir -p "$native"
vx_native_configure_build >"$native/build.log" 2>&1 || { cat "$native/build.log"; exit 1; }
if ! (cd "$native" && ctest --output-on-failure -j "$(nproc)" >"$native/ctest.log" 2>&1); then
  cat "$native/ctest.log"
  exit 1
fi
echo "native: $(grep -E 'tests passed' "$native/ctest.log")"
vx_fuzz_all "${VX_FUZZ_SECONDS:-5}"
