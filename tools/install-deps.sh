#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tarn needs, only
# those that are missing. Runs as root (or through sudo when it is there).
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest clang-format  # native build, tests, format check
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64  # Windows build
  wine xvfb x11-apps imagemagick             # Windows tests and screenshots under Wine
  clang libclang-rt-14-dev valgrind          # sanitizers, fuzzing, memory checks
  util-linux time zip                        # flock, setpriv; benchmarks; the reproducible ZIP
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
