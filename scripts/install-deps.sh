#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Runs apt-get only
# when something is missing; without root it prints the command and stops.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config clang-format
    qt6-base-dev
    libboost-date-time-dev libboost-regex-dev
    libexiv2-dev libtag1-dev libzip-dev
    libimage-exiftool-perl python3-olefile shared-mime-info
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
