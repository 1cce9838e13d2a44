#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12, skipping what is there.
set -euo pipefail
packages=(cmake make g++ pkg-config qt6-base-dev libsqlite3-dev mdbtools-dev libgl-dev fonts-dejavu-core "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
