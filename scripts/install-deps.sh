#!/usr/bin/env bash
# Installs every build dependency of Torvi from Debian's packages.
# Idempotent, and silent when everything is already present.
#   scripts/install-deps.sh          everything: command line, desktop program, tests, fuzzing
#   scripts/install-deps.sh --cli    only what the command line needs (no Qt)
set -euo pipefail

cli_packages=(g++ cmake ninja-build pkg-config libcli11-dev nlohmann-json3-dev)
packages=("${cli_packages[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  clang libclang-rt-14-dev
)
[ "${1:-}" = --cli ] && packages=("${cli_packages[@]}")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
