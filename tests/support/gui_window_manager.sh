#!/usr/bin/env bash
# Runs a command on the X display in $DISPLAY under a window manager
# (openbox): starts it, waits until it has taken the screen, runs the command
# and stops the window manager again. Gives the command's exit status.
set -euo pipefail
openbox --sm-disable >/dev/null 2>&1 &
window_manager=$!
trap 'kill "$window_manager" 2>/dev/null || true; wait "$window_manager" 2>/dev/null || true' EXIT

# A window manager names its check window on the root window once it runs.
deadline=$((SECONDS + 20))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  if ! kill -0 "$window_manager" 2>/dev/null || [ "$SECONDS" -ge "$deadline" ]; then
    echo "FAILED: the window manager did not start on $DISPLAY" >&2
    exit 1
  fi
  sleep 0.1
done
"$@"
