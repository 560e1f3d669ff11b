#!/usr/bin/env bash
# Builds when needed, then starts vx.exe under Wine with the given arguments. Without a display it starts a
# virtual one and says how to look at it.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/scripts/setup.sh"
vx_configure_build --target vx
vx_wine_prefix "${VX_WINEPREFIX:-$build/wineprefix-run}"
vx_start_display
if [ -n "$VX_XVFB_PID" ]; then
  echo "Veltrix runs on the virtual display $DISPLAY."
  echo "List its windows with: xwininfo -display $DISPLAY -root -tree"
  echo "Take a screenshot with: xwd -root -display $DISPLAY -out screen.xwd  (xwd is in Debian's x11-apps)"
  trap 'kill $VX_XVFB_PID 2>/dev/null || true' EXIT
fi
status=0
wine "$build/src/vx.exe" "$@" || status=$?
echo "vx.exe exited with code $status"
exit $status
