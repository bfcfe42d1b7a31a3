#!/usr/bin/env bash
# Speed and peak memory of the file conversions at the limits' shape:
# a data file of 200 000 individuals x 600 loci to Genepop and back, and
# three 500 x 500 matrices to a columnar file.
# Usage: bench/convert_bench.sh BUILD_DIR [WORK_DIR]   (a Release build)
set -euo pipefail
build=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
mkdir -p "$work"
cd "$work"
torvi=$build/torvi
measure() {  # label, command...
  local label=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o time.txt "$@" 2> /dev/null
  read -r seconds user sys kib < time.txt
  printf '%-26s %7.2f s elapsed %7.2f s CPU %7.1f MB peak\n' "$label" "$seconds" "$(echo "$user + $sys" | bc -l)" \
    "$(echo "$kib / 1024" | bc -l)"
}

if [ ! -s big.dat ]; then
  "$build/torvi-datagen" --samples 200 --individuals 1000 --loci 600 --alleles 20 --max-allele 99 \
    --missing 0.02 --seed 7 -o big.dat
fi
echo "data file: $(du -m big.dat | cut -f1) MB, $(wc -l < big.dat) lines"
rm -f big.gen back.dat
measure "dat2gen 200000 x 600" "$torvi" convert dat2gen big.dat
echo "Genepop file: $(du -m big.gen | cut -f1) MB"
measure "gen2dat 200000 x 600" "$torvi" convert gen2dat big.gen -o back.dat

for m in 1 2 3; do
  awk -v n=500 -v seed="$m" 'BEGIN { srand(seed); for (i = 1; i <= n; ++i) for (j = 1; j <= n; ++j) d[i, j] = 0;
    for (i = 2; i <= n; ++i) for (j = 1; j < i; ++j) { d[i, j] = rand() * 100; d[j, i] = d[i, j] }
    for (i = 1; i <= n; ++i) { line = ""; for (j = 1; j <= n; ++j) line = line sprintf("%.6f ", d[i, j]); print line } }' \
    > "matrix$m.txt"
done
measure "mat2col 3 x (500 x 500)" "$torvi" convert mat2col -o columns.txt matrix1.txt matrix2.txt matrix3.txt
echo "columnar file: $(wc -l < columns.txt) lines"
