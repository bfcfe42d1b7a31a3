#!/usr/bin/env bash
# torvi mantel from the outside: exit codes, messages, the output and
# residual files, the seeds file.
set -u
torvi=$1
data=$2
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"
cp "$data/distances.txt" "$data/rows.txt" .

"$torvi" mantel --help > help.txt
for opt in --input --dep --expl --randomisations --distance --residuals --output --settings --seeds --threads --quiet; do
  grep -q -- "$opt" help.txt; check "help explains $opt" test $? -eq 0
done

"$torvi" mantel --input distances.txt --dep 3 --expl 1,2 --distance --randomisations 500 --residuals d.res \
  --output out.txt --seeds 12345 67890 --threads 1 > stdout.txt 2> stderr.txt
check "distance run: exit 0" test $? -eq 0
check "distance run: nothing on standard output or error" test ! -s stdout.txt -a ! -s stderr.txt
check "output starts with the title line" test "$(head -n 1 out.txt)" = $'Put here any comments you want\r'
check "then the input's path as given" test "$(sed -n 2p out.txt)" = $'data from the file : distances.txt\r'
grep -q $'^randomizations on rows and columns of the   12 matrix.\r$' out.txt
check "distance mode names the objects" test $? -eq 0
check "residual file: its heading and one line per row" test "$(head -n 1 d.res)" = $'            estimates          residuals\r' -a "$(wc -l < d.res)" -eq 67
grep -q $'^[0-9]*   [0-9]*\r$' TORVI.INI; check "the stream reached is saved with three blanks" test $? -eq 0

for t in 2 3; do
  "$torvi" mantel --input distances.txt --dep 3 --expl 1,2 --distance --randomisations 500 --output out$t.txt \
    --seeds 12345 67890 --threads $t --quiet --json && cp TORVI.INI seeds$t
  cmp -s out.txt out$t.txt; check "$t threads (and --json) write the same report" test $? -eq 0
done
grep -q '"tool": "mantel"' out2.txt.torvi.json; check "--json: the document beside the output" test $? -eq 0
cmp -s seeds2 seeds3; check "and leave the same seeds" test $? -eq 0

"$torvi" mantel --input rows.txt --dep 4 --expl 1 --randomisations 200 --output twice.txt --quiet
"$torvi" mantel --input rows.txt --dep 4 --expl 1 --randomisations 200 --output twice.txt --quiet
check "two runs append two reports" test "$(grep -c 'P-values are given after' twice.txt)" -eq 2

printf 'flat\n3 2\nconst\ny\n2 1\n2 5\n2 3\n' > singular.txt
"$torvi" mantel --input singular.txt --dep 2 --expl 1 --randomisations 200 --output s.txt > stdout.txt 2>&1
check "a singular model: exit 1" test $? -eq 1
check "with the message on standard output" test "$(cat stdout.txt)" = "  0.000000Singular matrix!. Exiting."
check "and the report head left in the output" test "$(grep -c 'P-values are given' s.txt)" -eq 1 -a "$(grep -c 'sum of square' s.txt)" -eq 0

printf 'bad\n3 2\nx\ny\n1 2\n3\n5 6\n' > short.txt
"$torvi" mantel --input short.txt --dep 2 --expl 1 --output b.txt 2> err.txt
check "a short row: exit 1" test $? -eq 1
grep -q "Line 6 of short.txt" err.txt; check "the message names the file and line" test $? -eq 0
check "the title lines stay in the output" test "$(wc -l < b.txt)" -eq 2

"$torvi" mantel --input rows.txt --dep 4 --expl 1 --distance --output r.txt 2> err.txt
check "--distance on 35 rows is refused: exit 2" test $? -eq 2
grep -q "not the lower triangle" err.txt; check "and says why" test $? -eq 0
check "without touching the output" test ! -e r.txt
"$torvi" mantel --input rows.txt --dep 4 --expl 1,4 --output r.txt 2> /dev/null
check "the dependent among the explanatory variables: exit 2" test $? -eq 2
"$torvi" mantel --input rows.txt --dep 4 --expl 9 --output r.txt 2> /dev/null
check "a variable beyond the file's: exit 2" test $? -eq 2
"$torvi" mantel --input rows.txt --dep 4 --expl 1 --randomisations 199 --output r.txt 2> /dev/null
check "fewer than 200 randomisations: usage error" test $? -ne 0 -a $? -ne 1
"$torvi" mantel --input missing.txt --dep 4 --expl 1 --output m.txt 2> err.txt
check "a missing input: exit 1" test $? -eq 1
check "and no output file" test ! -e m.txt

# A settings file saved by the regression window runs what it names; options given override it.
printf '{"format": "torvi-settings", "format_version": 1, "page": "mantel", "input": "distances.txt",
 "output": "set.txt", "dependent": 3, "explanatory": [2, 1], "randomisations": 500, "distance": true,
 "save_residuals": false, "json": false, "seeds": [12345, 67890]}' > m.json
"$torvi" mantel --settings m.json --quiet; check "--settings: exit 0" test $? -eq 0
"$torvi" mantel --input distances.txt --dep 3 --expl 2,1 --distance --randomisations 500 --output direct.txt \
  --seeds 12345 67890 --quiet
cmp -s set.txt direct.txt; check "--settings runs what the file names, the model in its order" test $? -eq 0
"$torvi" mantel --settings m.json --randomisations 300 --output over.txt --quiet
grep -q $'^P-values are given after    300 randomizations.\r$' over.txt
check "options given override the file's values" test $? -eq 0
printf '{"format": "torvi-settings", "format_version": 1, "page": "mantel", "dependent": 30}' > bad.json
"$torvi" mantel --settings bad.json 2> err.txt
check "a refused settings file: exit 2" test $? -eq 2
grep -q "dependent:" err.txt; check "and the message names the key" test $? -eq 0
"$torvi" mantel --input rows.txt --dep 4 --output r.txt 2> err.txt
check "no model and no settings file: exit 2" test $? -eq 2 -a ! -e r.txt

[ $failures -eq 0 ]
