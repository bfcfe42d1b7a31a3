#!/usr/bin/env bash
# `torvi convert` from the outside: exit codes, messages on standard error,
# files written and files left alone.
set -u
torvi=$1
examples=$2
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

"$torvi" convert dat2gen --help > help.txt; grep -q -- "--existing" help.txt; check "dat2gen help explains --existing" test $? -eq 0
"$torvi" convert gen2dat --help > help.txt; grep -q -- "--output" help.txt; check "gen2dat help explains --output" test $? -eq 0
"$torvi" convert mat2col --help > help.txt; grep -q "File name for the Columnar file" help.txt
check "mat2col help uses the window's words" test $? -eq 0
"$torvi" convert 2> err.txt; check "convert without a conversion: exit 2" test $? -eq 2
"$torvi" convert mat2col m.txt 2> err.txt; check "mat2col without -o: exit 2" test $? -eq 2

cp "$examples/nancycats.dat" cats.dat
printf '1 1 9 2\nL\n1 0909\n' > one.dat
"$torvi" convert dat2gen cats.dat one.dat 2> err.txt; code=$?
check "dat2gen: exit 0" test $code -eq 0
check "dat2gen: both Genepop files written" test -s cats.gen -a -s one.gen
grep -q "stored in file one.gen" err.txt; check "dat2gen: the closing message names the last file" test $? -eq 0
check "dat2gen: CR LF line ends" test "$(grep -c $'\r$' one.gen)" -eq "$(wc -l < one.gen)"

printf 'old' > one.gen
"$torvi" convert dat2gen one.dat 2> err.txt; code=$?
check "an existing Genepop file: exit 1" test $code -eq 1
check "an existing Genepop file is not replaced by default" test "$(cat one.gen)" = old
grep -q -- "--existing overwrite" err.txt; check "the message says how to replace it" test $? -eq 0
"$torvi" convert dat2gen --existing overwrite one.dat 2> err.txt
check "--existing overwrite replaces it" test "$(head -c 4 one.gen)" = '[Put'

printf '2 1 9 2\nL\n1 0101\n1 0500\n' > bad.dat
printf 'x' > notes.txt
"$torvi" convert dat2gen --existing overwrite bad.dat notes.txt one.dat 2> err.txt; code=$?
check "a refused data file and a file that is not one: exit 1" test $code -eq 1
grep -q "Miscoded genotype" err.txt; check "the reader's message is shown" test $? -eq 0
grep -q "notes.txt" err.txt; check "the file that is not a data file is named" test $? -eq 0
check "the refused file keeps the title, names and first Pop" test "$(wc -l < bad.gen)" -eq 3
grep -q "stored in file one.gen" err.txt; check "the other file is still converted" test $? -eq 0

"$torvi" convert gen2dat cats.gen -o back.dat 2> err.txt; code=$?
check "gen2dat -o: exit 0" test $code -eq 0
grep -q "TORVI file format for back.dat successfully created." err.txt; check "gen2dat: closing message" test $? -eq 0
cmp -s <(tail -n +2 back.dat) <(tail -n +2 cats.dat); check "dat2gen then gen2dat gives the data file back" test $? -eq 0
"$torvi" convert gen2dat cats.gen 2> err.txt; code=$?
check "gen2dat without -o onto an existing data file: exit 1" test $code -eq 1
cmp -s cats.dat "$examples/nancycats.dat"; check "the existing data file is not replaced" test $? -eq 0
grep -q -- "-o cats.dat" err.txt; check "the message says how to replace it" test $? -eq 0
"$torvi" convert gen2dat cats.txt 2> err.txt; check "gen2dat of a .txt file: exit 2" test $? -eq 2
printf 'title\nA\nPop\n1, 0101\n2, 01O1\n' > typo.gen
"$torvi" convert gen2dat typo.gen 2> err.txt; code=$?
check "gen2dat of a faulty file: exit 1" test $code -eq 1
grep -q "Line 5 of typo.gen" err.txt; check "the message names file and line" test $? -eq 0
check "nothing is written for a faulty file" test ! -e typo.dat

printf '0 1 2\n1 0 3\n2 3 0\n' > d.txt
printf '0\n5\n6 x\n' > g.txt
"$torvi" convert mat2col -o cols.txt d.txt d.txt 2> err.txt; code=$?
check "mat2col: exit 0" test $code -eq 0
grep -q "Columnar mode file succesfully created." err.txt; check "mat2col: closing message" test $? -eq 0
check "mat2col: three data lines" test "$(wc -l < cols.txt)" -eq 7
"$torvi" convert mat2col -o cols.txt d.txt g.txt 2> err.txt; code=$?
check "mat2col with text in a matrix: exit 1" test $code -eq 1
grep -q "Problem(s) in the input files, exiting." err.txt; check "mat2col: the problem message" test $? -eq 0
grep -q "Line 3 of g.txt" err.txt; check "mat2col: the message names file and line" test $? -eq 0
check "mat2col keeps the lines completed before the problem" test "$(wc -l < cols.txt)" -eq 6

[ $failures -eq 0 ]
