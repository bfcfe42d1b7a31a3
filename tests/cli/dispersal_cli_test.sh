#!/usr/bin/env bash
# The tests for sex-biased dispersal from the command line: options, exit
# codes, the five files in the working directory and the golden results.
set -u
torvi=$1
inputs=$2
golden=$3
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

"$torvi" dispersal --help > help.txt
for words in --phil --disp --perm --tests --two-sided --seeds --threads --quiet "most philopatric group" \
             "other group" "Mean assignment (t-test)" "Variance of Assignment" Relatedness "working directory" replace; do
  grep -q -- "$words" help.txt; check "help explains $words" test $? -eq 0
done

mkdir in
cp "$inputs/sexes.gen" in/sexes.gen
"$torvi" dispersal --seeds 1 2 --perm 100 --phil P in/sexes.gen 2> err.txt; code=$?
check "--phil P: exit 2" test $code -eq 2
grep -q "P is an invalid indicator," err.txt; check "--phil P: the message says why" test $? -eq 0
check "--phil P: nothing written" test -z "$(ls | grep -v -e in -e err.txt -e help.txt)"
"$torvi" dispersal --seeds 1 2 --perm 99 in/sexes.gen 2> /dev/null; check "--perm below 100: exit 2" test $? -eq 2
"$torvi" dispersal --seeds 1 2 --perm 100 --tests fst,xyz in/sexes.gen 2> /dev/null
check "unknown test: exit 2" test $? -eq 2
"$torvi" dispersal --seeds 1 2 --perm 100 --phil FF in/sexes.gen 2> /dev/null; check "two-letter --phil: exit 2" test $? -eq 2

for threads in 1 2 3; do
  json=; test $threads -eq 2 && json=--json
  "$torvi" dispersal --seeds 12345 67890 --perm 500 --tests 0,1,fst,fis,rel,ho,hs --threads $threads --quiet $json \
    in/sexes.gen > out.txt 2>&1; code=$?
  check "$threads threads: exit 0, quiet" test $code -eq 0 -a ! -s out.txt
  cmp -s sexes.res "$golden/sexes-one-sided.res"; check "$threads threads: .res as the golden file" test $? -eq 0
  cmp -s sexes.per "$golden/sexes-one-sided.per"; check "$threads threads: .per as the golden file" test $? -eq 0
  cp TORVI.INI "seeds.$threads"
done
cmp -s seeds.1 seeds.3; check "the seeds left behind do not depend on the threads" test $? -eq 0
grep -q '"tool": "dispersal"' sexes.res.torvi.json; check "--json: the document beside the .res file" test $? -eq 0
check "the split files are in the working directory" test -s sexesF.dat -a -s sexesM.dat -a -s sexes.dat

"$torvi" dispersal --perm 200 --two-sided --tests assign-t,assign-var in/sexes.gen 2> err.txt; code=$?
check "seeds from TORVI.INI: exit 0" test $code -eq 0
grep -q "two sided test" err.txt; check "the closing message names the test" test $? -eq 0
grep -q "P-value Vass test=" err.txt; check "the closing message lists the P-values" test $? -eq 0
check "the stream advanced" test "$(cat TORVI.INI)" != "$(cat seeds.1)"

printf '2 1 9\nl\nPop\nF, 0101\nM, 0202\nPop\nF, 0101\nPop\nM, 0303\nF, 0101\n' > extra.gen
"$torvi" dispersal --seeds 1 2 --perm 100 extra.gen 2> err.txt; code=$?
check "records beyond the samples declared: exit 0" test $code -eq 0
grep -q "2 records of samples beyond" err.txt; check "records beyond the samples declared are noted" test $? -eq 0

printf 'two 1 9\n' > bad.gen
"$torvi" dispersal --seeds 1 2 --perm 100 bad.gen 2> err.txt; code=$?
check "a first line without three numbers: exit 1" test $code -eq 1
grep -q "Invalid file format" err.txt; check "a first line without three numbers: the message" test $? -eq 0
check "a first line without three numbers: .res holds two lines" test "$(wc -l < bad.res)" -eq 2
"$torvi" dispersal --seeds 1 2 --perm 100 missing.gen 2> err.txt; check "a missing file: exit 1" test $? -eq 1

# A settings file saved by the window runs what it names; options given override it.
printf '{"format": "torvi-settings", "format_version": 1, "page": "dispersal", "input": "in/sexes.gen",
 "phil": "F", "disp": "M", "permutations": 500, "tests": ["assign-t", "assign-var", "fst", "fis", "rel", "ho", "hs"],
 "two_sided": false, "json": false, "seeds": [12345, 67890]}' > d.json
"$torvi" dispersal --settings d.json --quiet; check "--settings: exit 0" test $? -eq 0
cmp -s sexes.res "$golden/sexes-one-sided.res"; check "--settings: .res as the golden file" test $? -eq 0
cmp -s sexes.per "$golden/sexes-one-sided.per"; check "--settings: .per as the golden file" test $? -eq 0
"$torvi" dispersal --settings d.json --perm 100 --two-sided --quiet
grep -q "The tests are two sided and based on 100 randomisations." sexes.res
check "options given override the file's values" test $? -eq 0
printf '{"format": "torvi-settings", "format_version": 1, "page": "dispersal", "perms": 100}' > bad.json
"$torvi" dispersal --settings bad.json 2> err.txt; check "a refused settings file: exit 2" test $? -eq 2
grep -q "perms: unknown key" err.txt; check "and the message names the key" test $? -eq 0
"$torvi" dispersal in/sexes.gen 2> err.txt; check "no --perm and no settings file: exit 2" test $? -eq 2

echo "$failures failure(s)"
test "$failures" -eq 0
