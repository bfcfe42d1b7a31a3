#!/usr/bin/env bash
# Times `torvi mantel` against R's vegan (mantel and mantel.partial) on the
# same distance matrices with the same number of permutations, and compares
# the Mantel r of one explanatory matrix.
#
#   bench/mantel_vs_vegan.sh [--with-r] [--torvi PATH] [--objects "200 500"] [--perm 9999]
#
# --with-r installs r-base-core and r-cran-vegan from Debian first (needs
# root or sudo). Without R installed only Torvi is timed.
set -euo pipefail
cd "$(dirname "$0")/.."
torvi=$PWD/build-rel/torvi
objects="200 500"
perm=9999
with_r=0
while [ $# -gt 0 ]; do
  case $1 in
    --with-r) with_r=1 ;;
    --torvi) torvi=$(realpath "$2"); shift ;;
    --objects) objects=$2; shift ;;
    --perm) perm=$2; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

if [ $with_r -eq 1 ] && ! command -v Rscript > /dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    r-base-core r-cran-vegan > /dev/null
fi
[ -x "$torvi" ] || { echo "no $torvi: build it first (cmake -B build-rel -DCMAKE_BUILD_TYPE=Release)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Three distance matrices among N objects scattered on a plane: geographic
# distance, difference of an environmental value, and a genetic distance that
# grows with both plus noise. Written as the columnar table Torvi reads (the
# lower triangle row by row, as Matrices->Columns writes it).
make_table() {  # objects, file
  awk -v n="$1" 'BEGIN {
    s = 12345
    for (i = 1; i <= n; i++) {
      s = (s * 1103515245 + 12345) % 2147483648; x[i] = s / 2147483648 * 100
      s = (s * 1103515245 + 12345) % 2147483648; y[i] = s / 2147483648 * 100
      s = (s * 1103515245 + 12345) % 2147483648; e[i] = s / 2147483648 * 10
    }
    print "Put here any comments you want"
    printf "%10d\t%6d\n", n * (n - 1) / 2, 3
    print "var0 (geo)"; print "var1 (env)"; print "var2 (gen)"
    for (i = 2; i <= n; i++) for (j = 1; j < i; j++) {
      geo = sqrt((x[i] - x[j]) ^ 2 + (y[i] - y[j]) ^ 2); env = e[i] - e[j]; if (env < 0) env = -env
      s = (s * 1103515245 + 12345) % 2147483648
      printf "%8.5f\t%8.5f\t%8.5f\t\n", geo, env, 0.001 * geo + 0.004 * env + 0.05 * s / 2147483648
    }
  }' > "$2"
}

seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

time_torvi() {  # table, explanatory, threads -> "cpu_seconds wall_seconds r"
  local out=$work/out.txt start end
  rm -f "$out"
  start=$(date +%s.%N)
  # In the scratch folder: the seeds file TORVI.INI is written where torvi runs.
  (cd "$work" && /usr/bin/time -f "%U %S" -o "$work/cpu" "$torvi" mantel --input "$1" --dep 3 --expl "$2" --distance \
    --randomisations $((perm + 1)) --threads "$3" --seeds 12345 67890 --output "$out" --quiet)
  end=$(date +%s.%N)
  local r
  r=$(awk '/^var0 \(geo\)/ { print $3; exit }' "$out")
  echo "$(awk '{ printf "%.2f", $1 + $2 }' "$work/cpu") $(seconds "$start" "$end") $r"
}

time_vegan() {  # table -> "mantel_cpu mantel_wall partial_cpu partial_wall r"
  Rscript --vanilla - "$1" "$perm" <<'RCODE'
suppressMessages(library(vegan))
args <- commandArgs(trailingOnly = TRUE)
t <- read.table(args[1], skip = 5)
n <- (1 + sqrt(1 + 8 * nrow(t))) / 2
as_dist <- function(v) { m <- matrix(0, n, n); m[upper.tri(m)] <- v; as.dist(m + t(m)) }
geo <- as_dist(t[[1]]); env <- as_dist(t[[2]]); gen <- as_dist(t[[3]])
perm <- as.integer(args[2])
a <- system.time(m <- mantel(gen, geo, permutations = perm, parallel = 1))
b <- system.time(p <- mantel.partial(gen, geo, env, permutations = perm, parallel = 1))
cat(sprintf("%.2f %.2f %.2f %.2f %.6f\n", a[["user.self"]] + a[["sys.self"]], a[["elapsed"]],
            b[["user.self"]] + b[["sys.self"]], b[["elapsed"]], m$statistic))
RCODE
}

echo "$(nproc) cores; load average before: $(cut -d' ' -f1-3 /proc/loadavg); $perm permutations"
printf "%-8s %-34s %9s %9s %10s\n" objects run cpu_s wall_s r
for n in $objects; do
  table=$work/table$n.txt
  make_table "$n" "$table"
  for threads in 1 2; do
    read -r cpu wall r <<< "$(time_torvi "$table" 1 $threads)"
    printf "%-8s %-34s %9s %9s %10s\n" "$n" "torvi mantel, 1 matrix, $threads thread(s)" "$cpu" "$wall" "$r"
    read -r cpu wall r <<< "$(time_torvi "$table" 1,2 $threads)"
    printf "%-8s %-34s %9s %9s %10s\n" "$n" "torvi mantel, 2 matrices, $threads thread(s)" "$cpu" "$wall" ""
  done
  if command -v Rscript > /dev/null; then
    read -r mcpu mwall pcpu pwall r <<< "$(time_vegan "$table")"
    printf "%-8s %-34s %9s %9s %10s\n" "$n" "vegan mantel" "$mcpu" "$mwall" "$r"
    printf "%-8s %-34s %9s %9s %10s\n" "$n" "vegan mantel.partial" "$pcpu" "$pwall" ""
  fi
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
