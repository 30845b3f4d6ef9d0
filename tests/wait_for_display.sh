#!/usr/bin/env bash
# Waits until the X server of $DISPLAY answers (at most 60 s), then runs the
# command: wait_for_display.sh cmd...
set -u
for _ in $(seq 1 600); do
  if xdpyinfo >/dev/null 2>&1; then
    exec "$@"
  fi
  sleep 0.1
done
echo "wait_for_display.sh: the X server of DISPLAY=${DISPLAY:-} does not answer" >&2
exit 1
