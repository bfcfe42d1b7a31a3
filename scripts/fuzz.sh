#!/usr/bin/env bash
# Builds the fuzz targets (data reader, seeds file, whole analysis, Genepop
# conversion, matrix reader) with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each in turn for SECONDS (default 60) or 10 million executions,
# whichever comes first. Prints the executions each reached; a finding stops
# the script with the input that caused it saved in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: reader seeds analysis genepop matrix
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(reader seeds analysis genepop matrix)
max_runs=10000000

scripts/install-deps.sh
cmake -S tests/fuzz/targets -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTORVI_SOURCE_DIR="$PWD" >/dev/null
cmake --build build-fuzz -j"$(nproc)"

# The analysis target writes result files at every execution: keep them in memory.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
mkdir -p build-fuzz/findings
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  log=build-fuzz/$t.log
  echo "== $t: up to $seconds s or $max_runs executions"
  if ! build-fuzz/${t}_fuzzer -max_total_time="$seconds" -runs="$max_runs" -max_len=4096 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix=build-fuzz/findings/"$t"- "$corpus" tests/fuzz/corpus/"$t" \
       > "$log" 2>&1; then
    tail -40 "$log"
    echo "== $t: FINDING (input saved in build-fuzz/findings/)"
    exit 1
  fi
  grep -E "^stat::number_of_executed_units|^stat::average_exec_per_sec|^Done" "$log" || tail -3 "$log"
done
