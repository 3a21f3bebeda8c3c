#!/usr/bin/env bash
# Installs the Debian packages of the given lists that are missing; without arguments those of
# packages-native.txt and packages.txt (everything the project needs).
# Usage: setup.sh [package list...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -gt 0 ] || set -- "$here/packages-native.txt" "$here/packages.txt"
mapfile -t wanted < <(cat "$@" | grep -v '^#' | sed '/^$/d')
missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}"
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
