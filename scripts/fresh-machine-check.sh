#!/usr/bin/env bash
# Tries README's two commands as a new user would, on a freshly installed
# minimal Debian 12: builds a root with debootstrap, copies the committed tree
# (HEAD) into it, and runs scripts/demo.sh then scripts/test.sh there,
# printing how long each took. Needs root, debootstrap and Debian's mirror;
# not part of CI.
#   scripts/fresh-machine-check.sh [ROOT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "fresh-machine-check: run as root (debootstrap and chroot need it)" >&2; exit 2; }
command -v debootstrap >/dev/null || { echo "fresh-machine-check: install debootstrap first" >&2; exit 2; }
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=${1:-/var/tmp/torvi-fresh-machine}

cleanup() {
  for m in dev/pts dev proc sys; do umount -l "$root/$m" 2>/dev/null || true; done
}
trap cleanup EXIT

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "== debootstrap --variant=minbase bookworm $root"
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log"; exit 1; }
fi
mount -t proc proc "$root/proc"
mount -t sysfs sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"

rm -rf "$root/home/torvi" && mkdir -p "$root/home/torvi"
git archive HEAD | tar -x -C "$root/home/torvi"

run_timed() {  # name, command
  local start=$SECONDS
  echo "== $1: $2"
  if chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
       /bin/bash -c "cd /home/torvi && $2" >"$root.$1.log" 2>&1; then
    echo "   passed in $((SECONDS - start)) s"
    tail -"${3:-3}" "$root.$1.log" | sed 's/^/   | /'
  else
    echo "   FAILED after $((SECONDS - start)) s"
    tail -30 "$root.$1.log" | sed 's/^/   | /'
    return 1
  fi
}
run_timed demo ./scripts/demo.sh 12
run_timed tests ./scripts/test.sh 4
