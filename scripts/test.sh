#!/usr/bin/env bash
# Builds Torvi with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# the whole test suite (core, command line, desktop program on the offscreen
# platform, short runs of the fuzz targets). Extra arguments go to CMake
# (CI adds -DTORVI_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTORVI_SANITIZE=ON -DTORVI_BUILD_BENCH=OFF "$@" >/dev/null
cmake --build build-test -j"$(nproc)"
cd build-test
ctest --output-on-failure -j"$(nproc)"
