#!/usr/bin/env bash
# Installs the packages, builds the game in build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DORVALE_SANITIZE=OFF -DORVALE_TESTS=OFF -DORVALE_BENCH=OFF
cmake --build build -j"$(nproc)"
cd build/game
exec ./kestrovar "$@"
