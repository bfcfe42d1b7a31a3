#!/usr/bin/env bash
# Checks the command line from the outside: exit codes, messages on standard
# error, the seeds file and the result files.
set -u
torvi=$1
examples=$2
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

"$torvi" --version | grep -q '^torvi '; check "--version names the program" test $? -eq 0
"$torvi" run --help > help.txt
for opt in --allele-freq --no-allele-freq --genotype-freq --richness --fis --rst --fst-pairs --hw-within \
           --hw-overall --popdiff --popdiff-perm --hw-per-sample --level --perm --pairwise-tests --ld-delta \
           --ld-r2 --ld-details --ld-tables --ld-tests --ld-level --ld-perm --seeds --existing --threads --quiet --json \
           --settings; do
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
"$torvi" run --seeds 1 2 --existing skip --quiet tiny.dat 2> err.txt; code=$?
check "--existing skip leaves the result file alone" test "$(stat -c %s tiny.out)" -eq "$size"
check "--existing skip counts as not analysed: exit 1" test $code -eq 1
grep -q "tiny.out exists: file skipped" err.txt; check "--existing skip says so even under --quiet" test $? -eq 0

# Usage errors: one line on standard error, exit 2, nothing run.
for args in "run --threads 50000 tiny.dat" "run --threads 0 tiny.dat" "run --ld-perm -1 tiny.dat" \
            "run --perm -5 tiny.dat" "run --no-such-option tiny.dat" "run" "" "run --level 2/100 tiny.dat" \
            "seeds 1" "run --hw-within 100001 tiny.dat"; do
  # shellcheck disable=SC2086
  "$torvi" $args > out.txt 2> err.txt; code=$?
  check "usage error '$args': exit 2" test $code -eq 2
  check "usage error '$args': one line" test "$(wc -l < err.txt)" -eq 1
done

# A list with files that cannot be analysed: a message each, the others go on.
mkdir folder.dat
ln -s loop.dat loop.dat
printf 'earlier\r\n' > data.out
rm -f tiny.out
"$torvi" run --seeds 1 2 --quiet missing.dat folder.dat loop.dat data.out ab tiny.dat 2> err.txt; code=$?
check "unreadable entries: exit 1" test $code -eq 1
check "unreadable entries: five messages" test "$(grep -c '^torvi: error:' err.txt)" -eq 5
grep -q "Too many levels of symbolic links" err.txt; check "a symlink loop is named as such" test $? -eq 0
check "data.out is refused, not appended to" test "$(cat data.out)" = $'earlier\r'
check "the readable file is still analysed" test -s tiny.out
check "no hidden result file" test ! -e .out

# The zero device is no data file: refused at once instead of read for ever.
ln -s /dev/zero zero.dat
timeout 20 "$torvi" run --seeds 1 2 --quiet zero.dat 2> err.txt; code=$?
check "the zero device: exit 1" test $code -eq 1
grep -q "zero.dat is not a regular file" err.txt; check "the zero device: named as such" test $? -eq 0

# --quiet never hides why a file was refused.
printf '1 1 9 5\nloc\n1 11\n' > digits.dat
"$torvi" run --seeds 1 2 --quiet digits.dat 2> err.txt; code=$?
check "a refused file under --quiet: exit 1" test $code -eq 1
grep -q "The 4th number on the first line" err.txt; check "--quiet still shows the reader's message" test $? -eq 0

# Tests that will not run are named before the run, with the option to give.
"$torvi" run --seeds 1 2 --ld-tests all --hw-within 100 --hw-per-sample tiny.dat 2> err.txt
grep -q "give --ld-level" err.txt; check "LD tests without a level are named" test $? -eq 0
grep -q "needs --hw-within 200 or more" err.txt; check "too few permutations are named" test $? -eq 0
grep -q "give --level" err.txt; check "per-sample tests without a level are named" test $? -eq 0
printf '1 2 12 2\nloc1\nloc2\n1 0101 0312\n' > one.dat
"$torvi" run --seeds 1 2 --pairwise-tests one.dat 2> err.txt
grep -q "one.dat holds one sample: pairwise tests of differentiation will not run" err.txt
check "tests needing two samples are named" test $? -eq 0

# Unusable seeds files: said what is wrong, left untouched, nothing run.
for content in '0 17' '2147483563 2147483399' '1.5 2.5' '17'; do
  printf '%s\r\n' "$content" > TORVI.INI
  rm -f tiny.out
  "$torvi" run tiny.dat < /dev/null 2> err.txt; code=$?
  check "seeds file '$content': exit 2" test $code -eq 2
  grep -q "TORVI.INI" err.txt && grep -q -- "--seeds" err.txt; check "seeds file '$content': named, with a way out" test $? -eq 0
  check "seeds file '$content': left untouched" test "$(cat TORVI.INI)" = "$content"$'\r'
  check "seeds file '$content': nothing run" test ! -e tiny.out
done
grep -q "lies outside its range 1..2147483562" err.txt || true
printf '7 8\r\n' > real.ini && rm TORVI.INI && ln -s real.ini TORVI.INI
"$torvi" run --quiet tiny.dat 2> err.txt; code=$?
check "symlinked seeds file: refused before the run (exit 2)" test $code -eq 2
grep -q "symbolic link" err.txt; check "symlinked seeds file: the message says so" test $? -eq 0
check "symlinked seeds file: its target untouched" test "$(cat real.ini)" = $'7 8\r'
rm TORVI.INI

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

# Run settings files: the file's controls, choice and seeds; the command line overrides single values.
cat > s.json <<'END'
{"format": "torvi-settings", "format_version": 1, "page": "run",
 "options": {"fis": true, "rst": true, "nei": false, "hw_within": true, "hw_within_perm": 200},
 "selection": {"loci": [1, 2, 5, 9]}, "seeds": [12345, 67890]}
END
mkdir -p byfile bycli override otherseeds
for d in byfile bycli override otherseeds; do cp nancycats.dat $d/; done
(cd byfile && "$torvi" run --settings ../s.json --quiet --threads 1 nancycats.dat); code=$?
check "run --settings: exit 0" test $code -eq 0
(cd bycli && "$torvi" run --fis --rst --no-nei --hw-within 200 --loci 1,2,5,9 --seeds 12345 67890 --quiet \
   --threads 2 nancycats.dat)
cmp -s byfile/nancycats-L1259.out bycli/nancycats-L1259.out
check "run --settings runs what the same options run" test $? -eq 0
(cd override && "$torvi" run --settings ../s.json --nei --quiet nancycats.dat)
grep -q "Nei's estimation" override/nancycats-L1259.out; check "--nei overrides the file's nei" test $? -eq 0
grep -q "Rst Over all samples" override/nancycats-L1259.out; check "the file's other options stay" test $? -eq 0
(cd otherseeds && "$torvi" run --settings ../s.json --seeds 1 2 --quiet nancycats.dat)
diff <(grep 'Prop rand' byfile/nancycats-L1259.out) <(grep 'Prop rand' otherseeds/nancycats-L1259.out) > /dev/null
check "--seeds overrides the file's seeds" test $? -ne 0
printf '{"format": "torvi-settings", "format_version": 1, "page": "run", "options": {"hw_within_perm": 100001}}' > bad.json
"$torvi" run --settings bad.json --quiet tiny.dat 2> err.txt; code=$?
check "settings out of range: exit 2" test $code -eq 2
grep -q "options.hw_within_perm" err.txt; check "settings out of range: the message names the key" test $? -eq 0
printf '{"format": "torvi-settings", "format_version": 1, "page": "run", "colour": 1}' > bad.json
"$torvi" run --settings bad.json --quiet tiny.dat 2> err.txt; code=$?
check "unknown settings key: exit 2" test $code -eq 2
grep -q "colour: unknown key" err.txt; check "unknown settings key: the message names it" test $? -eq 0

# --json: the results document beside the result file; the text files are the same without it.
mkdir -p withjson nojson
for d in withjson nojson; do cp "$examples/nancycats.dat" $d/; done
(cd withjson && "$torvi" run --json --fis --hw-within 200 --seeds 3 4 --quiet nancycats.dat); code=$?
check "run --json: exit 0" test $code -eq 0
(cd nojson && "$torvi" run --fis --hw-within 200 --seeds 3 4 --quiet nancycats.dat)
cmp -s withjson/nancycats.out nojson/nancycats.out; check "run --json: the result file is unchanged" test $? -eq 0
check "run --json: the document is written" test -s withjson/nancycats.torvi.json
check "run without --json: no document" test ! -e nojson/nancycats.torvi.json
grep -q '"status": "complete"' withjson/nancycats.torvi.json; check "run --json: the document is complete" test $? -eq 0
grep -q '"arguments": \["run", "--json"' withjson/nancycats.torvi.json
check "run --json: the document holds the command line" test $? -eq 0
grep -q '"mc_se": ' withjson/nancycats.torvi.json; check "run --json: P-values with their error" test $? -eq 0

[ $failures -eq 0 ]
