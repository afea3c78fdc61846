#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when missing.
# Usage: install-deps.sh [extra-package...]
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  libcups2-dev zlib1g-dev libplist-dev
  libgtest-dev libbenchmark-dev
  cups-client cups-common python3 openprinting-ppds cups-ppdc
  cups-daemon cups  # cupsd, and cups-driverd (package cups) for tests/cupsd
  dpkg-dev file groff-base
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
echo "install-deps: installing ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
