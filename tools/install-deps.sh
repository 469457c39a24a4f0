#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
packages=(cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev qt6-qpa-plugins
          pkg-config ffmpeg clang libclang-rt-dev desktop-file-utils fonts-liberation
          libavcodec-dev libavformat-dev libavutil-dev libswscale-dev
          libopencv-core-dev libopencv-imgproc-dev libopencv-features2d-dev
          libopencv-video-dev libopencv-calib3d-dev libdlib-dev libdlib-data
          libblas-dev liblapack-dev libjpeg-dev
          qt6-image-formats-plugins libheif-dev libheif-examples)
# The Debian package and its check (tests/install/package_check.cmake).
packages+=(dpkg-dev lintian)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
