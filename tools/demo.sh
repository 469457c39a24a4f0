#!/usr/bin/env bash
# Renders the example morph (examples/sample.mesh with its two pictures)
# into out/ with vesk-batch, and an AVI of it when the tool has the avi
# command; then the face morph of the two example portraits, its mesh made
# by Auto Mesh, as an MP4 video, and the two as a looping sequence. ./run.sh
# demo builds first and then runs this.
set -euo pipefail
cd "$(dirname "$0")/.."

batch=""
for candidate in build/vesk-batch build-*/vesk-batch; do
  if [ -x "$candidate" ]; then batch=$candidate; break; fi
done
if [ -z "$batch" ]; then
  echo "vesk-batch is not built yet: run ./run.sh demo" >&2
  exit 1
fi

out=out
mkdir -p "$out"
# Frames take the lowest free numbers in the list's folder: start afresh.
rm -f "$out"/imag*.bmp "$out"/morph.any "$out"/morph.avi

"$batch" morph examples/sample.mesh --frames 12 --precision 1 --list "$out/morph.any"
if "$batch" --help | grep -q "vesk-batch avi"; then
  "$batch" avi "$out/morph.any" --out "$out/morph.avi"
fi

# The portraits' mesh found by Auto Mesh, morphed in 24 steps, as an MP4.
faces="$out/faces"
rm -rf "$faces" "$out/faces.mesh" "$out/faces.mp4"
mkdir -p "$faces"
"$batch" automesh examples/grace_hopper.jpg examples/astronaut.png --out "$out/faces.mesh"
"$batch" morph "$out/faces.mesh" --frames 24 --list "$faces/faces.any"
"$batch" video "$faces/faces.any" --out "$out/faces.mp4" --fps 12

# The two portraits as a looping sequence in one command, eyes lined up.
rm -f "$out/portraits.mp4"
"$batch" sequence examples/grace_hopper.jpg examples/astronaut.png --loop --align faces \
  --shape-curve ease-in-out --hold 5 --out "$out/portraits.mp4"

count=$(ls "$out"/imag*.bmp | wc -l)
echo
echo "The example morph is in $(pwd)/$out:"
echo "  $count frames imag1.bmp .. imag$count.bmp, listed in morph.any"
[ -f "$out/morph.avi" ] && echo "  the same frames as an AVI video: morph.avi"
echo "  the face morph of the two example portraits: faces.mp4 (mesh faces.mesh, frames in faces/)"
echo "  the same portraits as a looping sequence, eyes lined up: portraits.mp4"
echo "Open morph.any in the program's Animations viewer to play it."
