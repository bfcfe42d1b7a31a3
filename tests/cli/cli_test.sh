#!/usr/bin/env bash
# Checks the command line from the outside: exit codes, messages on standard
# error, the seeds file and the result files.
set -u
torvi=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() {  # description, condition...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

"$torvi" --version | grep -q '^torvi '; check "--version names the program" test $? -eq 0
"$torvi" run --help > help.txt
for opt in --allele-freq --no-allele-freq --genotype-freq --richness --fis --rst --fst-pairs --hw-within \
           --hw-overall --popdiff --popdiff-perm --hw-per-sample --level --perm --pairwise-tests --ld-delta \
           --ld-r2 --ld-details --ld-tables --ld-tests --ld-level --ld-perm --seeds --existing --threads --quiet; do
  grep -q -- "$opt" help.txt; check "help explains $opt" test $? -eq 0
done

printf '3 2 12 2\nloc1\nloc2\n1 0101 0312\n2 0102 0000\n3 1212 0303\n' > tiny.dat
"$torvi" run tiny.dat < /dev/null 2> err.txt; code=$?
check "no seeds and no terminal: exit 2" test $code -eq 2
grep -q -- "--seeds" err.txt; check "no seeds: the message says how to give them" test $? -eq 0
check "no seeds: no result file" test ! -e tiny.out

"$torvi" seeds 5 6; check "seeds: exit 0" test $? -eq 0
check "seeds: file holds one blank" test "$(cat TORVI.INI)" = $'5 6\r'
"$torvi" seeds 0 6 2> err.txt; check "seeds out of range refused" test $? -eq 2

"$torvi" run --quiet tiny.dat; check "run with the file's seeds: exit 0" test $? -eq 0
check "run: result file written" test -s tiny.out
grep -q $'^[0-9-]*   [0-9-]*\r$' TORVI.INI; check "run: state saved with three blanks" test $? -eq 0

printf '3 2 12 2\nloc1\nloc2\n1 0101 0312\n2 0102 x\n' > bad.dat
"$torvi" run --seeds 1 2 bad.dat tiny.dat 2> err.txt; code=$?
check "a refused file gives exit 1" test $code -eq 1
grep -q "bad.dat" err.txt; check "the message names the refused file" test $? -eq 0
check "the other file is still analysed" test "$(grep -c 'from file tiny.dat' tiny.out)" -eq 2

size=$(stat -c %s tiny.out)
"$torvi" run --seeds 1 2 --existing skip --quiet tiny.dat
check "--existing skip leaves the result file alone" test "$(stat -c %s tiny.out)" -eq "$size"

cp "$examples/nancycats.dat" .
"$torvi" run --seeds 12345 67890 --quiet --threads 1 --hw-within 200 nancycats.dat && mv nancycats.out one.out
"$torvi" run --seeds 12345 67890 --quiet --threads 2 --hw-within 200 nancycats.dat && mv nancycats.out two.out
cmp -s one.out two.out; check "one and two threads write the same result file" test $? -eq 0

"$torvi" summary tiny.dat > summary.txt; check "summary of a good file: exit 0" test $? -eq 0
grep -q "3 samples, 2 loci, 3 individuals" summary.txt; check "summary counts samples, loci, individuals" test $? -eq 0
grep -q "missing genotypes: 1 of 6" summary.txt; check "summary counts missing genotypes" test $? -eq 0
"$torvi" summary --json tiny.dat bad.dat > summary.json 2> err.txt; code=$?
check "summary with a refused file: exit 1" test $code -eq 1
grep -q '"format": "torvi-summary"' summary.json; check "summary --json prints the document" test $? -eq 0
grep -q '"refused": ' summary.json; check "summary --json records the refused file" test $? -eq 0
grep -q "bad.dat" err.txt; check "summary names the refused file on standard error" test $? -eq 0
check "summary writes no file" test ! -e tiny.torvi.json

[ $failures -eq 0 ]
