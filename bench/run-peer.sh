#!/usr/bin/env bash
# Compares one morph frame of ours, Classic and Smooth, with the same frame
# made the usual way with OpenCV (bench/peer/peer_compare.cpp): our times, the
# peer's time and the ratios. Then prints how close Classic, Smooth and the
# OpenCV recipe come to the exact warp on two photos (bench/peer/
# warp_quality.cpp; scikit-image's astronaut and matplotlib's grace_hopper, as
# python3-skimage and python-matplotlib-data install them). Installs what is
# missing with apt-get and builds both in build-peer/.
#   bench/run-peer.sh [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
for package in libopencv-dev python3-skimage python-matplotlib-data; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

cmake -S bench/peer -B build-peer -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-peer -j "$(nproc)" >/dev/null
build-peer/peer_compare "${1:-21}"
echo
build-peer/warp_quality
