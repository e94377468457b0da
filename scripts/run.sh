#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target QUELTA_Prod
exec build/bin/QUELTA_Prod "$@"
