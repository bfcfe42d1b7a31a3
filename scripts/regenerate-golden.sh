#!/usr/bin/env bash
# Rewrites the golden files of the tests, deliberately and visibly.
#
#   scripts/regenerate-golden.sh [--build DIR] [--write]
#
# Runs the test program once, with every golden comparison leaving what it
# found in a scratch folder, then shows the unified diff of each golden file
# it would change. Nothing is written without --write. It refuses (exit 1,
# nothing written) when two comparisons of one golden file found different
# texts: the tests compare each golden file once per thread count, so the
# results then depend on the number of threads and no golden can be trusted.
# Golden files that no test compared are listed, never removed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build
write=0
while [ $# -gt 0 ]; do
  case $1 in
    --build) build=$2; shift 2 ;;
    --write) write=1; shift ;;
    *) echo "usage: $0 [--build DIR] [--write]" >&2; exit 2 ;;
  esac
done
golden=tests/data/golden
cmake --build "$build" --target torvi_tests >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
TORVI_GOLDEN_CANDIDATES=$scratch "$build/tests/torvi_tests" --gtest_brief=1 >"$scratch.log" 2>&1 || true
mv "$scratch.log" "$scratch/tests.log"

# One golden name per group of candidates: <name with / as ~>@<process>-<n>.
names=$(find "$scratch" -name '*@*' -printf '%f\n' | sed 's/@.*//' | sort -u)
if [ -z "$names" ]; then
  echo "No golden comparison ran; see the test log:" >&2
  tail -20 "$scratch/tests.log" >&2
  exit 1
fi
disagree=0
for flat in $names; do
  first=
  for c in "$scratch/$flat"@*; do
    if [ -z "$first" ]; then first=$c; continue; fi
    if ! cmp -s "$first" "$c"; then
      echo "REFUSED: ${flat//\~//} differs between two comparisons (thread counts disagree):" >&2
      diff -u "$first" "$c" | head -20 >&2 || true
      disagree=1
      break
    fi
  done
done
[ $disagree -eq 0 ] || exit 1

changed=0
for flat in $names; do
  name=${flat//\~//}
  candidate=$(ls "$scratch/$flat"@* | head -1)
  if [ ! -f "$golden/$name" ]; then
    echo "new golden file: $name"
    changed=1
  elif ! cmp -s "$golden/$name" "$candidate"; then
    diff -u "$golden/$name" "$candidate" --label "a/$golden/$name" --label "b/$golden/$name" || true
    changed=1
  else
    continue
  fi
  if [ $write -eq 1 ]; then
    mkdir -p "$(dirname "$golden/$name")"
    cp "$candidate" "$golden/$name"
  fi
done
(cd "$golden" && find . -type f | sed 's|^\./||') | sort | while read -r name; do
  grep -qx -- "${name//\//\~}" <<<"$names" || echo "not compared by any test: $name"
done
if [ $changed -eq 0 ]; then
  echo "Every golden file matches."
elif [ $write -eq 1 ]; then
  echo "Golden files rewritten; review the diff above before committing."
else
  echo "Nothing written; rerun with --write to rewrite the files shown."
fi
