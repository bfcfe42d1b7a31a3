# Shared by the command-line test scripts: a scratch folder to work in and
# check DESCRIPTION COMMAND..., which counts failures.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
check() {
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
