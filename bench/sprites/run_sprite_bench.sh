#!/usr/bin/env bash
# Runs the runtime's sprite benchmark (the runtime and a plain OpenGL
# reference) and SDL2's testsprite2 with the same 32 x 32 sprite under one
# Xvfb screen with Mesa's software renderer, and prints the sprite counts at
# 60 frames per second, their ratios and the time per 1 x 1 sprite.
#   run_sprite_bench.sh path/to/sprite_bench
set -euo pipefail
bench=$(readlink -f "$1")
if [[ -z "${ORVALE_IN_XVFB:-}" ]]; then
  export ORVALE_IN_XVFB=1 LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy
  exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" "$0" "$@"
fi

testsprite=""
for c in /usr/libexec/installed-tests/SDL2/testsprite2 /usr/lib/*/installed-tests/SDL2/testsprite2; do
  [[ -x $c ]] && testsprite=$c && break
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-sprite "$work/sprite.bmp"

out=$("$bench" | tee /dev/stderr)
ours=$(sed -n 's/^orvale sprites at 60 fps: //p' <<<"$out")
reference=$(sed -n 's/^reference sprites at 60 fps: //p' <<<"$out")

# testsprite2 runs until stopped and then prints "NN.NN frames per second"
# (an interrupt in its first seconds ends it without the line).
sdl_fps() {
  (cd "$work" && timeout -s INT 7 "$testsprite" --renderer opengl --geometry 640x480 "$1" sprite.bmp 2>&1 || true) |
    sed -n 's/.* \([0-9.]*\) frames per second.*/\1/p' | tail -1
}
theirs=""
if [[ -n $testsprite ]]; then
  lo=0 hi=64
  while :; do
    f=$(sdl_fps "$hi"); f=${f:-0}
    echo "  testsprite2 $hi sprites: $f fps" >&2
    awk -v f="$f" 'BEGIN{exit !(f >= 60)}' || break
    lo=$hi; hi=$((hi * 2))
    (( hi > 4194304 )) && break
  done
  while (( hi - lo > (lo / 50 > 8 ? lo / 50 : 8) )); do
    mid=$(( (lo + hi) / 2 ))
    f=$(sdl_fps "$mid"); f=${f:-0}
    echo "  testsprite2 $mid sprites: $f fps" >&2
    if awk -v f="$f" 'BEGIN{exit !(f >= 60)}'; then lo=$mid; else hi=$mid; fi
  done
  theirs=$lo
fi

echo "reference sprites at 60 fps: $reference"
echo "orvale sprites at 60 fps: $ours"
awk -v a="$ours" -v b="$reference" 'BEGIN{ if (b > 0) printf "ratio orvale/reference: %.2f\n", a / b }'
grep '^1 x 1 sprite' <<<"$out"
if [[ -n $theirs ]]; then
  echo "testsprite2 sprites at 60 fps: $theirs"
  awk -v a="$ours" -v b="$theirs" 'BEGIN{ if (b > 0) printf "ratio orvale/testsprite2: %.2f\n", a / b }'
  awk -v a="$reference" -v b="$theirs" 'BEGIN{ if (b > 0) printf "ratio reference/testsprite2: %.2f\n", a / b }'
else
  echo "testsprite2 not found (Debian package libsdl2-tests)"
fi
