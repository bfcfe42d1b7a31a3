#!/usr/bin/env bash
# CPU time of each estimator section through the command line, for one or
# more torvi binaries timed side by side (interleaved, repeated; the median
# of each is printed), on the two data-set shapes of the estimator
# benchmarks: a human microsatellite panel (79 samples x 600 loci, 1343
# individuals, ~12 alleles per locus) and the limits' shape (200 x 600,
# 10 000 individuals, alleles up to 999; pairwise Fst only).
#
#   bench/estimator_sections.sh [-n REPEATS] [-t THREADS] DATAGEN TORVI...
set -euo pipefail
repeats=3 threads=1
while getopts n:t: o; do case $o in n) repeats=$OPTARG ;; t) threads=$OPTARG ;; *) exit 2 ;; esac; done
shift $((OPTIND - 1))
datagen=$(readlink -f "$1"); shift
bins=(); for b in "$@"; do bins+=("$(readlink -f "$b")"); done
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"
"$datagen" --samples 79 --loci 600 --individuals 17 --alleles 12 --max-allele 40 --missing 0.02 \
  --differentiation 0.1 --seed 79 -o human.dat
"$datagen" --samples 200 --loci 600 --individuals 50 --alleles 30 --max-allele 999 --missing 0.02 \
  --differentiation 0.3 --seed 200 -o limits.dat
export SOURCE_DATE_EPOCH=1700000000
off="--no-allele-freq --no-nb-alleles --no-gene-div --no-nei --no-wc"
sections=(
  "human reading+observed-calls|$off"
  "human genotype-freq(.x2)|$off --genotype-freq"
  "human locus+sample-reports|--no-wc --richness --fis"
  "human wc+jackknife+bootstrap|--no-allele-freq --no-nb-alleles --no-gene-div --no-nei"
  "human rst|$off --rst"
  "human fst-pairs|$off --fst-pairs"
  "human every-estimator|--genotype-freq --richness --fis --rst --fst-pairs"
  "limits reading+observed-calls|$off"
  "limits fst-pairs|$off --fst-pairs"
)
cpu() {  # binary data options...
  local bin=$1 data=$2; shift 2
  rm -f "$data".out "$data".x2 "$data".mat "$data".fst
  /usr/bin/time -f "%U %S" -o t.txt "$bin" run --seeds 1 2 --quiet --threads "$threads" "$@" "$data".dat
  awk '{printf "%.2f", $1 + $2}' t.txt
}
printf "%-36s" "section (CPU s, median of $repeats)"; for b in "${bins[@]}"; do printf "%14s" "$(basename "$b")"; done; echo
for entry in "${sections[@]}"; do
  name=${entry%%|*} opts=${entry#*|}
  data=${name%% *}
  declare -A times=()
  for ((r = 0; r < repeats; r++)); do
    for i in "${!bins[@]}"; do times[$i]+="$(cpu "${bins[$i]}" "$data" $opts) "; done
  done
  printf "%-36s" "$name"
  for i in "${!bins[@]}"; do
    printf "%14s" "$(tr ' ' '\n' <<<"${times[$i]}" | grep . | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
  done
  echo
  unset times
done
