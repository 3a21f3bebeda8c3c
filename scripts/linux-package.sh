#!/usr/bin/env bash
# Builds the Linux program and its Debian package with only what the native build needs
# (the packages of scripts/packages-native.txt: no Wine, MinGW, NSIS or clang), in the
# Release tree build/linux, and prints where the package is.
set -euo pipefail
source "$(dirname "$0")/common.sh"
"$root/scripts/setup.sh" "$root/scripts/packages-native.txt"
cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELLARO_TESTS=OFF >/dev/null
cmake --build "$build/linux" -j "$jobs"
deb=$(cd "$build/linux" && cpack -G DEB | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[ -f "$deb" ] || { echo "linux-package: cpack made no package" >&2; exit 1; }
echo "package: $deb"
echo "install it with: sudo apt install $deb"
