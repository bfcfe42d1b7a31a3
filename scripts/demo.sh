#!/usr/bin/env bash
# Builds Torvi and runs a complete analysis of the bundled example data set
# (237 stray cats of 17 colonies, 9 microsatellites). The result file is
# out/nancycats.out, with its companion files beside it. Only the command
# line is built, so no Qt is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --cli
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTORVI_BUILD_GUI=OFF -DTORVI_BUILD_TESTS=OFF \
  -DTORVI_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target torvi
mkdir -p out
cp examples/nancycats.dat out/
rm -f out/nancycats.out
cd out
../build/torvi run --seeds 12345 67890 --quiet \
  --genotype-freq --richness --fis --rst --fst-pairs \
  --hw-within 1000 --hw-overall 1000 --popdiff hw --popdiff-perm 1000 \
  --hw-per-sample --pairwise-tests --level 5/100 \
  --ld-delta --ld-r2 --ld-details --ld-tables --ld-tests all --ld-level 5/100 \
  nancycats.dat
echo "Result file: $(pwd)/nancycats.out"
ls nancycats*
