#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program.
#   ./run.sh        start the program
#   ./run.sh demo   render the example morph into out/ with the batch tool
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"

if [ "${1:-}" = "demo" ]; then
  exec ./tools/demo.sh
fi
if [ -x build/app/vesk ]; then
  exec build/app/vesk "$@"
fi
echo "The desktop program is not built yet. What can be run:"
ls build/vesk-batch build/batch/vesk-batch 2>/dev/null || true
echo "  ctest --test-dir build     every test"
