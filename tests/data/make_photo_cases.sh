#!/usr/bin/env bash
# Makes tests/data/photos/ again from the public-domain portraits beside this
# script (see README.md): the Qt cases with tools/photo_cases, the HEIF and
# AVIF cases with libheif's heif-enc (Debian package libheif-examples). The
# files are committed; run this only to change them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tool="$(mktemp -d)"
trap 'rm -rf "$tool"' EXIT
g++ -std=c++20 -O2 -fPIC "$here/../../tools/photo_cases/make_photo_cases.cpp" \
    $(pkg-config --cflags --libs Qt6Gui) -o "$tool/make_photo_cases"
mkdir -p "$here/photos"
QT_QPA_PLATFORM=offscreen "$tool/make_photo_cases" "$here" "$here/photos"
cd "$here/photos"
heif-enc -q 85 -o astronaut.heic astronaut.png
heif-enc -A -q 85 -o astronaut.avif astronaut.png
# Display P3 pixels with their ICC profile (heif-enc 1.15 does not write
# the nclx values it is given, so the profile is the ICC one).
heif-enc -A -q 85 -o astronaut_p3.avif astronaut_p3.png
rm astronaut_p3.png
ls -l
