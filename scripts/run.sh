#!/usr/bin/env bash
# Builds the program, makes a demo DATA.mdb beside the executable when there is none, and
# starts it. It needs a display (an X11 or Wayland session).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
build="$root/build-run"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTERNAVOLK_TESTS=OFF -DTERNAVOLK_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target ternavolk ternavolk-db ternavolk-araclar
exe="$build/app/ternavolk"
if [ ! -e "$build/app/DATA.mdb" ]; then
  "$build/tools/ternavolk-db" demo "$build/app/DATA.mdb"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: the program is a desktop program and needs an X11 or Wayland session." >&2
  echo "Start it from a desktop, or try it headless with: xvfb-run -a $exe" >&2
  exit 1
fi
exec "$exe"
