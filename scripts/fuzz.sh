#!/usr/bin/env bash
# Builds the native tree and runs every fuzz target for the given number of seconds (default 600) at once.
# New inputs stay in build-native/fuzz-run/<target>/; copy the useful ones into fuzz/corpus/<target>/.
# Inputs that crashed are kept in build-native/fuzz-crashes/.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh"
vx_native_configure_build
vx_fuzz_all "${1:-600}"
