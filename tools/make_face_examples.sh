#!/usr/bin/env bash
# Makes the README's average face and caricature (docs/faces/) from the two
# example portraits with vesk-batch, by the commands the README shows.
set -euo pipefail
cd "$(dirname "$0")/.."
batch=build/vesk-batch
[ -x "$batch" ] || { echo "build vesk-batch first (see the README)" >&2; exit 1; }
mkdir -p docs/faces
"$batch" average examples/grace_hopper.jpg examples/astronaut.png --size 300 400 \
  --out docs/faces/average.png --points docs/faces/average.pts
"$batch" caricature examples/grace_hopper.jpg --average docs/faces/average.pts --amount 3 \
  --out docs/faces/hopper_caricature.png
"$batch" caricature examples/astronaut.png --average docs/faces/average.pts --amount 3 \
  --out docs/faces/astronaut_caricature.png
