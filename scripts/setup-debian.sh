#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12, skipping what is there.
#   --windows   also what the Windows build and its tests under Wine need (MinGW-w64, Debian's
#               source of Qt and SQLite, Wine, a virtual display)
set -euo pipefail
packages=(cmake make g++ pkg-config qt6-base-dev libsqlite3-dev mdbtools-dev libgl-dev
          fonts-dejavu-core fonts-liberation qt6-translations-l10n ccache poppler-utils
          libzint-dev zbar-tools libfreexl-dev libminizip-dev)
windows=0
for arg in "$@"; do
  case "$arg" in
    --windows) windows=1 ;;
    *) packages+=("$arg") ;;
  esac
done
if [ "$windows" = 1 ]; then
  packages+=(qt6-base-dev-tools g++-mingw-w64-x86-64-posix mingw-w64-tools ninja-build dpkg-dev
             tcl autoconf automake libtool curl wine wine64 xvfb xauth openbox imagemagick zip unzip)
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
updated=0
if [ "$windows" = 1 ] && ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  # apt-get source needs the source lists: the same Debian archives as the binary ones.
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.* bookworm.*\)/deb-src \1/p' /etc/apt/sources.list |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/ternavolk-deb-src.list >/dev/null
  fi
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v RS= -v ORS='\n\n' '/Types: deb\n/ && /Suites: bookworm/ { sub(/Types: deb\n/, "Types: deb-src\n"); print }' "$f"
  done | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/ternavolk-deb-src.sources >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq
  updated=1
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  [ "$updated" = 1 ] || "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
