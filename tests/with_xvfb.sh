#!/usr/bin/env bash
# Runs a command under its own Xvfb screen: with_xvfb.sh WIDTHxHEIGHT cmd...
# Mesa's software renderer draws; pixels are read back by the tests.
# The server never resets: by default Xvfb resets whenever its last client
# leaves, and a client connecting during the reset is turned away ("Can't
# open display"), which happens between the programs a test starts one
# after another. The command starts once the server answers.
set -u
size=$1; shift
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp -noreset" \
  "$(dirname "$0")/wait_for_display.sh" "$@"
