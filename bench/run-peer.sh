#!/usr/bin/env bash
# Compares one morph frame of ours with the same frame made the usual way
# with OpenCV (bench/peer/peer_compare.cpp). Installs libopencv-dev with
# apt-get when it is missing, builds the comparison in build-peer/ and runs
# it once: our time, the peer's time and the ratio.
#   bench/run-peer.sh [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."

if ! dpkg-query -W -f='${Status}' libopencv-dev 2>/dev/null | grep -q "install ok installed"; then
  echo "Installing libopencv-dev"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    libopencv-dev >/dev/null
fi

cmake -S bench/peer -B build-peer -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-peer -j "$(nproc)" >/dev/null
build-peer/peer_compare "${1:-21}"
