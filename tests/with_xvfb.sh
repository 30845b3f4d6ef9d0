#!/usr/bin/env bash
# Runs a command under its own Xvfb screen: with_xvfb.sh WIDTHxHEIGHT cmd...
# Mesa's software renderer draws; pixels are read back by the tests.
set -u
size=$1; shift
export LIBGL_ALWAYS_SOFTWARE=1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
exec xvfb-run -a -s "-screen 0 ${size}x24 -nolisten tcp" "$@"
