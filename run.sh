#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
#   ./run.sh        start the program
#   ./run.sh demo   render the example morph into out/ with the batch tool
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target vesk vesk-batch

if [ "${1:-}" = "demo" ]; then
  exec ./tools/demo.sh
fi
exec build/app/vesk "$@"
