#!/usr/bin/env bash
# Nothing is lost, whatever happens to a run: a full disk, read-only files,
# kills at random moments, an interrupt. Result files must only ever hold
# whole sections, companion files must be complete (new or previous), and the
# seeds file must stay usable.
set -u
torvi=$1
examples=$2
# shellcheck source=check.sh
source "$(dirname "$0")/check.sh"

# The first four samples of the example: every companion file, in about a second.
awk 'NR == 1 { print "4 9 18 2"; next } NR <= 10 || $1 <= 4' "$examples/nancycats.dat" > data.dat
companions=(data.x2 data.mat data.fst data-pp.pvl data-tables.ld data-dp.cd data-r2.cd data-details.cd)
options=(--quiet --threads 2 --genotype-freq --fst-pairs --hw-within 200 --pairwise-tests --level fixed --perm 20
         --hw-per-sample --ld-delta --ld-r2 --ld-details --ld-tables --ld-tests all --ld-level fixed --ld-perm 200)
command=("$torvi" run --seeds 12345 67890 "${options[@]}" data.dat)

# The reference: a complete run.
printf '5 6\r\n' > TORVI.INI
start=$(date +%s%N)
"${command[@]}"; check "reference run: exit 0" test $? -eq 0
duration_ms=$(( ($(date +%s%N) - start) / 1000000 ))
mkdir good && cp data.out "${companions[@]}" good/

# True when $1 holds whole sections: missing, or a prefix of the reference
# result file that ends with a whole line (each section is one write, and a
# section cut by a failed write is taken back).
whole_sections() {
  [ -e "$1" ] || return 0
  local size good_size
  size=$(stat -c %s "$1"); good_size=$(stat -c %s good/data.out)
  [ "$size" -le "$good_size" ] && cmp -s -n "$size" "$1" good/data.out || return 1
  [ "$size" -eq 0 ] || [ "$(tail -c 2 "$1" | od -An -c | tr -d ' ')" = '\r\n' ]
}
# True when every companion is missing or the same as the reference's.
companions_complete() {
  local f
  for f in "${companions[@]}"; do
    [ ! -e "$f" ] || cmp -s "$f" "good/$f" || { echo "  $f differs"; return 1; }
  done
  ! ls ./*.tmp >/dev/null 2>&1 || [ "${1:-}" = killed ]
}
seeds_valid() { grep -qE $'^[0-9]+ +[0-9]+\r$' TORVI.INI && [ "$(wc -l < TORVI.INI)" -eq 1 ]; }

# A full disk: a file-size limit, its signal ignored, so writes fail with EFBIG.
for limit_kb in 4 20 100; do
  rm -f data.out
  (ulimit -f "$limit_kb"; trap '' XFSZ; "${command[@]}") 2> err.txt; code=$?
  check "file-size limit ${limit_kb} KiB: exit 1" test $code -eq 1
  grep -q "Cannot write .*: File too large" err.txt; check "file-size limit: the file and the reason are named" test $? -eq 0
  ! grep -q "finished processing" err.txt; check "file-size limit: no closing message" test $? -eq 0
  check "file-size limit: the result file holds whole sections" whole_sections data.out
  check "file-size limit: companion files complete or as before" companions_complete
done

# Kills at random moments of a long run.
for i in $(seq 1 20); do
  rm -f data.out
  "${command[@]}" & pid=$!
  sleep "$(awk -v r=$RANDOM -v d="$duration_ms" 'BEGIN { printf "%.3f", r / 32768 * d / 1000 }')"
  kill -KILL $pid 2>/dev/null; wait $pid 2>/dev/null
  whole_sections data.out || { echo "  kill $i: result file cut inside a section"; break; }
  companions_complete killed || { echo "  kill $i: a companion file is incomplete"; break; }
  seeds_valid || { echo "  kill $i: TORVI.INI unusable"; break; }
done
check "20 kills: whole sections, complete companions, usable seeds" test "$i" -eq 20
rm -f ./*.tmp

# An interrupt stops the run after the current randomisation, saves the
# seeds reached and exits with 3. Job control keeps SIGINT deliverable to a
# background job.
set -m
rm -f data.out
printf '5 6\r\n' > TORVI.INI
"$torvi" run --threads 2 --hw-within 100000 data.dat 2> err.txt & pid=$!
sleep 1
kill -INT $pid; wait $pid; code=$?
set +m
check "SIGINT: exit 3" test $code -eq 3
grep -q "Torvi run cancelled while processing" err.txt; check "SIGINT: the cancel message" test $? -eq 0
seeds_valid && [ "$(cat TORVI.INI)" != $'5 6\r' ]; check "SIGINT: the seeds reached are saved" test $? -eq 0
tail -c 2 data.out | od -c | grep -q '\\r  \\n'; check "SIGINT: the result file ends with a whole line" test $? -eq 0
[ "$(tail -n 1 data.out)" = $'Run cancelled by the user during Hardy Weinberg within samples\r' ]
check "SIGINT: the result file ends saying where the run stopped" test $? -eq 0

# A second run using the same seeds file is refused while one runs.
"$torvi" run --quiet --hw-within 100000 data.dat 2>/dev/null & pid=$!
sleep 0.5
cp data.dat other.dat
"$torvi" run --quiet other.dat 2> err.txt; code=$?
kill -KILL $pid; wait $pid 2>/dev/null
check "a second run at once: exit 2" test $code -eq 2
grep -q "Another run of Torvi is using the seeds file" err.txt; check "a second run at once: the message says why" test $? -eq 0
check "a second run at once: nothing written" test ! -e other.out

# Read-only files fail loudly. Root may write anything, so these run as nobody.
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); else as_user=(); fi
mkdir ro && cp data.dat ro/ && cp "$torvi" ro/torvi && chmod -R a+rwX ro && cd ro
printf '5 6\r\n' > TORVI.INI
for target in data.out data.x2 TORVI.INI; do
  rm -f data.out data.x2 && chmod 666 TORVI.INI
  touch "$target" && chmod 444 "$target"
  "${as_user[@]}" ./torvi run --quiet --genotype-freq data.dat 2> err.txt; code=$?
  check "read-only $target: fails (exit $code)" test $code -ne 0
  grep -q "$target.*Permission denied" err.txt; check "read-only $target: the file and the reason are named" test $? -eq 0
  ! grep -q "finished processing" err.txt; check "read-only $target: no closing message" test $? -eq 0
done
cd ..

[ $failures -eq 0 ]
