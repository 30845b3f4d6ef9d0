#!/usr/bin/env bash
# Installs the packages, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-test/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)
cmake -S . -B build-test -DORVALE_SANITIZE=ON -DORVALE_TESTS=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j"$jobs"
cd build-test
ctest --output-on-failure -j"$jobs" --timeout 900
