#!/usr/bin/env bash
# The Options menu and the comparison of groups on the command line:
# subset files, label files, groups, their refusals and exit statuses.
set -u
torvi=$1
examples=$2
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"
status() { "$@" >/dev/null 2>err.txt; echo $?; }

cp "$examples/nancycats.dat" cats.dat
for i in $(seq 1 17); do printf 'cat%02d\r\n' "$i"; done > cats.lab
seeds="--seeds 12345 67890"

# Samples and loci to use.
"$torvi" run $seeds --loci 2,5 --samples 1,3 cats.dat 2> err.txt
check "run with a choice: exit 0" test $? -eq 0
check "the subset's name is printed" grep -q "cats-L25-P13.dat" err.txt
check "the subset is analysed" grep -q "from file cats-L25-P13.dat" cats-L25-P13.out
check "the opened file is not analysed" test ! -e cats.out
check "subset header, 4 places each" test "$(head -1 cats-L25-P13.dat)" = $'   2    2   18    2\r'
"$torvi" run $seeds --quiet --loci 1-9 --samples 1-3,5 --labels cats.lab cats.dat 2> err.txt
check "--quiet prints no name" test ! -s err.txt
check "every locus kept: no -L part" test -e cats-P1235.dat
check "labels of the kept samples" test "$(sed -n 4p cats-P1235.lab)" = $'cat05\r'
check "labels in the result file" grep -q "cat05" cats-P1235.out
check "one sample is refused" test "$(status "$torvi" run $seeds --samples 3 cats.dat)" -eq 2
check "no locus is refused" test "$(status "$torvi" run $seeds --loci '' cats.dat)" -eq 2
check "a sample outside the file is refused" test "$(status "$torvi" run $seeds --samples 1,18 cats.dat)" -eq 2
check "a descending range is refused" test "$(status "$torvi" run $seeds --loci 4-2 cats.dat)" -eq 2
cp cats.dat other.dat
check "labels go with one data file" test "$(status "$torvi" run $seeds --labels cats.lab cats.dat other.dat)" -eq 2
printf 'a\r\nb\r\n' > short.lab
check "a short label file is refused" test "$(status "$torvi" run $seeds --labels short.lab cats.dat)" -eq 2
check "and its message names it" grep -q "short.lab" err.txt

# Comparisons among groups.
"$torvi" groups --help > help.txt
for opt in --groups --stats --perm --one-sided --loci --samples --labels --seeds --existing --threads --quiet; do
  grep -q -- "$opt" help.txt; check "groups help explains $opt" test $? -eq 0
done
grep -q "one sided (H1:G1>G2)" help.txt; check "help uses the page's words" test $? -eq 0
"$torvi" groups $seeds --quiet --groups "5,1,2;3-4" --stats ar,ho,fst --perm 100 cats.dat
check "groups: exit 0" test $? -eq 0
check "groups: members ascending" grep -q "^Samples of group   1 (G1) : pop1, pop2, pop5, " cats_test.out
check "groups: P-values" grep -q "^              Fst:  0\." cats_test.out
mv cats_test.out one.out
"$torvi" groups $seeds --quiet --threads 1 --groups "1-6;7-12;13-17" --stats 0,1,2,3,4,5,6 --perm 300 cats.dat
mv cats_test.out t1.out; cp TORVI.INI t1.ini
"$torvi" groups $seeds --quiet --threads 2 --groups "1-6;7-12;13-17" --stats 0,1,2,3,4,5,6 --perm 300 --json cats.dat
cmp -s cats_test.out t1.out; check "groups: one and two threads (and --json) write the same file" test $? -eq 0
grep -q '"tool": "groups"' cats_test.torvi.json; check "groups --json: the document beside the result file" test $? -eq 0
cmp -s TORVI.INI t1.ini; check "groups: and leave the same seeds" test $? -eq 0
"$torvi" groups $seeds --groups "1,2;3,4" --samples 2,4,6,8 --perm 10 cats.dat 2> err.txt
check "groups after --samples: exit 0" test $? -eq 0
check "groups after --samples: the subset's file" test -e cats-P2468_test.out
g() { status "$torvi" groups $seeds "$@" cats.dat; }
check "one-sided with three groups is refused" test "$(g --groups '1,2;3,4;5,6' --one-sided --perm 10)" -eq 2
check "a repeated sample is refused" test "$(g --groups '1,2,2;3,4' --perm 10)" -eq 2
check "a group of one is refused" test "$(g --groups '1;3,4' --perm 10)" -eq 2
check "one group is refused" test "$(g --groups '1,2' --perm 10)" -eq 2
check "no permutation is refused" test "$(g --groups '1,2;3,4' --perm 0)" -eq 2
check "groups larger than the file are refused" test "$(g --groups '1-10;5-14' --perm 10)" -eq 2
check "and the message says so" grep -q "more than the 17 samples" err.txt
check "groups beyond the kept samples are refused" test "$(g --groups '1,2;3,4' --samples 1,2,3 --perm 10)" -eq 2
check "an unknown statistic is refused" test "$(g --groups '1,2;3,4' --stats ho,xyz --perm 10)" -eq 2

[ $failures -eq 0 ]
