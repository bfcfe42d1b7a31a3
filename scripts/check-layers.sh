#!/usr/bin/env bash
# Checks that every #include "..." of the core library, the command line and
# the desktop program follows the layers below; prints each one that does not
# and exits 1. Run by CTest (layers.includes).
#
#   scripts/check-layers.sh [SOURCE_ROOT]
#
# A folder may include its own headers and those of the folders (or single
# headers) listed after it. A folder of src/ that is not listed fails the
# check: a new subsystem takes its place here first. Tests, benchmarks and
# tools are not checked.
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

declare -A may_include=(
  # Foundation: no analysis, no data set. util: checked file writes, sorting,
  # threads, clocks; host: the interface through which the core talks to
  # its user; report: the text of result files; random: the generator and
  # its seeds file.
  [util]=""
  [host]="util"
  [report]="util"
  [random]="util host"
  # The data set, its count tables and the state records of an analysis.
  [model]="util host random"
  # The data files: reading, label and subset files, summaries.
  [data]="model util host report"
  # Estimators; then randomisation tests and genotypic disequilibrium, side
  # by side above them; then the results documents.
  [stats]="model data util host report random"
  [randtests]="stats model data util host report random"
  [ld]="stats model data util host report random"
  [json]="ld randtests stats model data util host report random"
  # The Run driver wires every section of the analysis of a data file.
  [run]="json ld randtests stats model data util host report random"
  # Side subsystems: each reads and writes its own files and may reuse the
  # Run driver's file handling; none includes another, and nothing in the
  # core includes them. Each one's facade header is its own.
  [groups]="run json ld randtests stats model data util host report random torvi/groups.h"
  [convert]="run json ld randtests stats model data util host report random torvi/convert.h"
  [regress]="run json ld randtests stats model data util host report random torvi/regress.h"
  [dispersal]="run json ld randtests stats model data util host report random torvi/dispersal.h"
  # The public facade: what the command line and the desktop program see.
  [torvi]="run groups convert regress dispersal json ld randtests stats model data util host report random"
  # The two programs see the facade only.
  [cli]="torvi"
  [gui]="torvi"
)

failures=0
check_file() {  # folder file
  local folder=$1 file=$2 target dir
  while IFS= read -r target; do
    if [[ $target != */* ]]; then continue; fi  # a header beside the file
    dir=${target%%/*}
    [[ $dir == "$folder" ]] && continue
    local ok=0 allowed
    for allowed in ${may_include[$folder]}; do
      if [[ $allowed == "$dir" || $allowed == "$target" ]]; then ok=1; break; fi
    done
    if ((ok == 0)); then
      echo "$file includes \"$target\": $folder/ may include only: ${may_include[$folder]:-nothing}"
      failures=$((failures + 1))
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
}

shopt -s nullglob
for path in src/*/ cli/ gui/; do
  [[ -d $path ]] || continue
  folder=$(basename "$path")
  if [[ ! -v may_include[$folder] ]]; then
    echo "${path%/} has no layer: give it one in scripts/check-layers.sh"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r file; do check_file "$folder" "$file"; done < <(find "$path" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done

if ((failures > 0)); then
  echo "$failures include(s) across layers"
  exit 1
fi
echo "Includes follow the layers."
