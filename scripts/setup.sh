#!/bin/bash
# Installs every Debian 12 package Pyxidane needs to build, run, test and benchmark.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
    # build
    g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
    qt6-base-dev qt6-multimedia-dev libarchive-dev libgtest-dev zlib1g-dev
    # run: a Japanese font, and a virtual display for tests and screenshots
    fonts-ipafont-gothic xvfb xauth
    # fixtures and benchmarks: the archive tools we compare with and make test archives with
    zip unzip jlha-utils arj gcab 7zip cabextract lhasa hyperfine openssl python3 time
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
