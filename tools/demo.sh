#!/usr/bin/env bash
# Renders the example morph (examples/sample.mesh with its two pictures)
# into out/ with vesk-batch, and an AVI of it when the tool has the avi
# command. ./run.sh demo builds first and then runs this.
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

count=$(ls "$out"/imag*.bmp | wc -l)
echo
echo "The example morph is in $(pwd)/$out:"
echo "  $count frames imag1.bmp .. imag$count.bmp, listed in morph.any"
[ -f "$out/morph.avi" ] && echo "  the same frames as an AVI video: morph.avi"
echo "Open morph.any in the program's Animations viewer to play it."
