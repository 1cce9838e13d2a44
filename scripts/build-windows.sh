#!/usr/bin/env bash
# Builds 64-bit Windows executables on Debian 12 with MinGW-w64 and packs them into
# ternavolk-windows-x64.zip, one folder a librarian unzips anywhere and runs from, and
# ternavolk-guncelleme-windows-x64.zip, the same without DATA.mdb, to update such a folder.
#
#   bash scripts/build-windows.sh            the program, the database tool and the two zips
#   bash scripts/build-windows.sh --tests    the same, and the test programs
#   bash scripts/build-windows.sh --deps     only what the build needs (Qt, SQLite, libmdb,
#                                            FreeXL, minizip, zint)
#
# Qt for Windows is built once from Debian's own qtbase source into a cache folder outside the
# repository (TERNAVOLK_CACHE, by default ~/.cache/ternavolk) and reused: the first build takes
# 20 to 25 minutes on two cores, later ones a few. SQLite comes from Debian's source package,
# libmdb from mdbtools 1.0.0's source (../shared/vendor/ when it is there, otherwise the
# project's public release, or MDBTOOLS_TARBALL).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${TERNAVOLK_CACHE:-$HOME/.cache/ternavolk}
build=${TERNAVOLK_WINDOWS_BUILD:-$root/build-windows}
jobs=$(nproc)
triple=x86_64-w64-mingw32
qt_version=6.4.2
qt_prefix=$cache/qt-$qt_version-mingw
deps_prefix=$cache/windows-deps
toolchain=$root/cmake/mingw-w64.cmake

with_tests=OFF
deps_only=0
for arg in "$@"; do
  case "$arg" in
    --tests) with_tests=ON ;;
    --deps) deps_only=1 ;;
    *) echo "usage: $0 [--tests] [--deps]" >&2; exit 2 ;;
  esac
done

say() { printf '[build-windows %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

bash "$root/scripts/setup-debian.sh" --windows
mkdir -p "$cache/src"

# Debian's source package of NAME, unpacked once into the cache; prints its folder. When the
# newest version cannot be fetched (a mirror may lack a security update's source), the other
# versions apt knows are tried, newest first.
debian_source() {
  local name=$1 dir version
  dir=$(find "$cache/src" -maxdepth 1 -type d -name "$name-[0-9]*" | head -n 1)
  if [ -z "$dir" ]; then
    if ! (cd "$cache/src" && apt-get source -qq "$name" >/dev/null 2>&1); then
      for version in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -u -r -V); do
        (cd "$cache/src" && apt-get source -qq "$name=$version" >/dev/null 2>&1) && break
      done
    fi
    dir=$(find "$cache/src" -maxdepth 1 -type d -name "$name-[0-9]*" | head -n 1)
  fi
  [ -n "$dir" ] || { echo "cannot fetch Debian's source package $name (apt-get source)" >&2; return 1; }
  printf '%s\n' "$dir"
}

# Qt for Windows packed by this script (../shared/vendor/, beside a clone on the CI machines):
# the folder $qt_prefix as build_qt installs it, with the configure lines it was built with.
qt_packed=$root/../shared/vendor/qt-$qt_version-mingw-x64.tar.xz
qt_packed_options=$root/../shared/vendor/qt-$qt_version-mingw-x64.options.txt
qt_packed_sha256=f75887c92403c431a58278c97452e5deb5d9b6600342b54b0b108f7532672e35

# The lines of a configure command, comparable: no blank or comment lines, no leading or
# trailing blanks, no line continuations.
configure_lines() {
  sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*\\$//' -e 's/[[:space:]]*$//' "$@" |
    grep -v -E '^(#|$)' || true
}

# The configure lines of build_qt below, between its two marker lines.
own_qt_options() {
  sed -n '/^[[:space:]]*# >>> Qt configure lines/,/^[[:space:]]*# <<< Qt configure lines/p' \
    "$root/scripts/build-windows.sh" | sed '1d;$d' | configure_lines
}

# Unpacks the packed Qt when it is there, whole (its checksum) and built as build_qt would build
# it now (its configure lines the same as ours); returns 1 otherwise, and build_qt builds.
unpack_qt() {
  [ -f "$qt_packed" ] && [ -f "$qt_packed_options" ] || return 1
  if [ "$(sha256sum "$qt_packed" | cut -d' ' -f1)" != "$qt_packed_sha256" ]; then
    say "not using $qt_packed: its checksum is not $qt_packed_sha256"
    return 1
  fi
  if [ "$(configure_lines "$qt_packed_options")" != "$(own_qt_options)" ]; then
    say "not using $qt_packed: it was configured otherwise than this script configures Qt"
    return 1
  fi
  local unpack
  unpack=$(mktemp -d "$cache/qt-unpack.XXXXXX")
  if ! tar -xJf "$qt_packed" -C "$unpack" --no-same-owner ||
    [ ! -f "$unpack/qt-$qt_version-mingw/.complete" ] ||
    [ ! -f "$unpack/qt-$qt_version-mingw/bin/Qt6Core.dll" ]; then
    rm -rf "$unpack"
    say "not using $qt_packed: it does not unpack into a complete qt-$qt_version-mingw folder"
    return 1
  fi
  rm -rf "$qt_prefix"
  mv "$unpack/qt-$qt_version-mingw" "$qt_prefix"
  rm -rf "$unpack"
  say "Qt for Windows unpacked from $qt_packed into $qt_prefix"
}

build_qt() {
  [ -f "$qt_prefix/.complete" ] && return
  unpack_qt && return
  local src
  src=$(debian_source qt6-base)
  say "building Qt $qt_version for Windows into $qt_prefix (once; 20 to 25 minutes on two cores)"
  rm -rf "$cache/qt-build" "$qt_prefix"
  # The lines between the two markers are compared with the packed Qt's options file: a change
  # here makes the packed Qt not apply, and Qt is built from source again.
  {
  # >>> Qt configure lines
  # The features the program does not use are off. OpenGL goes with dynamicgl (6.4.2's windows
  # platform plugin does not compile with opengl off alone); Debian's source lacks the wintab
  # headers that tabletevent needs.
  cmake -G Ninja -S "$src" -B "$cache/qt-build" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF \
    -DFEATURE_network=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
  # <<< Qt configure lines
  } >"$cache/qt-configure.log" 2>&1 || { tail -n 40 "$cache/qt-configure.log"; exit 1; }
  cmake --build "$cache/qt-build" -j"$jobs" >"$cache/qt-build.log" 2>&1 ||
    { tail -n 40 "$cache/qt-build.log"; exit 1; }
  cmake --install "$cache/qt-build" >/dev/null
  rm -rf "$cache/qt-build"
  touch "$qt_prefix/.complete"
  say "Qt for Windows is in $qt_prefix"
}

build_sqlite() {
  [ -f "$deps_prefix/.sqlite-complete" ] && return
  local src
  src=$(debian_source sqlite3)
  say "building SQLite for Windows from $(basename "$src")"
  rm -rf "$cache/sqlite-build"
  mkdir -p "$cache/sqlite-build" "$deps_prefix/include" "$deps_prefix/lib"
  (cd "$cache/sqlite-build" && "$src/configure" >/dev/null && make -s sqlite3.c >/dev/null)
  # The same compile-time options Debian builds its libsqlite3 with that the program relies on.
  local defs=(-DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_THREADSAFE=1 -DSQLITE_DEFAULT_FOREIGN_KEYS=0
              -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_RTREE -DSQLITE_SECURE_DELETE -DSQLITE_MAX_VARIABLE_NUMBER=250000)
  "$triple-gcc-posix" -O2 "${defs[@]}" -c "$cache/sqlite-build/sqlite3.c" -o "$cache/sqlite-build/sqlite3.o"
  "$triple-ar" rcs "$deps_prefix/lib/libsqlite3.a" "$cache/sqlite-build/sqlite3.o"
  cp "$cache/sqlite-build/sqlite3.h" "$cache/sqlite-build/sqlite3ext.h" "$deps_prefix/include/"
  rm -rf "$cache/sqlite-build"
  touch "$deps_prefix/.sqlite-complete"
}

mdbtools_tarball() {
  if [ -n "${MDBTOOLS_TARBALL:-}" ]; then
    printf '%s\n' "$MDBTOOLS_TARBALL"
  elif [ -f "$root/../shared/vendor/mdbtools-1.0.0.tar.gz" ]; then
    printf '%s\n' "$root/../shared/vendor/mdbtools-1.0.0.tar.gz"
  else
    local dest=$cache/src/mdbtools-1.0.0.tar.gz
    [ -f "$dest" ] || curl -fsSL -o "$dest" \
      https://github.com/mdbtools/mdbtools/archive/refs/tags/v1.0.0.tar.gz
    printf '%s\n' "$dest"
  fi
}

build_mdbtools() {
  [ -f "$deps_prefix/.mdbtools-complete" ] && return
  local tarball
  tarball=$(mdbtools_tarball)
  say "building libmdb for Windows from $(basename "$tarball")"
  rm -rf "$cache/mdbtools-build"
  mkdir -p "$cache/mdbtools-build"
  tar -xzf "$tarball" -C "$cache/mdbtools-build" --strip-components=1
  (
    cd "$cache/mdbtools-build"
    autoreconf -i -f >/dev/null 2>&1
    ./configure --host=$triple --prefix="$deps_prefix" --disable-glib --disable-man \
      --disable-iconv CC=$triple-gcc-posix >/dev/null
    make -s -C src/libmdb -j"$jobs" >/dev/null 2>&1
    make -s -C src/libmdb install >/dev/null
    make -s -C include install >/dev/null
  )
  mkdir -p "$deps_prefix/share/mdbtools" "$deps_prefix/lib/pkgconfig"
  cat >"$deps_prefix/lib/pkgconfig/libmdb.pc" <<PC
prefix=$deps_prefix
Name: libmdb
Description: core MDB file support library (without GLib)
Version: 1.0.0
Libs: -L\${prefix}/lib -lmdb
Cflags: -I\${prefix}/include
PC
  cp "$cache/mdbtools-build/COPYING.LIB" "$deps_prefix/share/mdbtools/" 2>/dev/null ||
    cp "$cache/mdbtools-build/COPYING" "$deps_prefix/share/mdbtools/COPYING.LIB"
  rm -rf "$cache/mdbtools-build"
  touch "$deps_prefix/.mdbtools-complete"
}

# The libraries for reading spreadsheets (FreeXL for .xls, minizip for the zip inside .xlsx)
# and for barcodes (zint), from Debian's source packages, each built once, static, into
# $deps_prefix with a pkg-config file named as Debian's (zint's too, which Debian ships none
# of; CMake finds zint.h and libzint.a there through the toolchain's find root as well).

# FreeXL 1.0.6. It converts texts with iconv, which MinGW-w64 lacks and Debian ships for Linux
# only: packaging/windows/iconv/ adapts the few conversions it asks for onto Windows's own
# code-page conversions, and is compiled into libfreexl.a. The marker holds the adapter's
# checksum, so that a change to the adapter builds the library again.
build_freexl() {
  local src work=$cache/freexl-build version adapter=$root/packaging/windows/iconv sum
  sum=$(cat "$adapter/iconv.h" "$adapter/iconv.c" "$adapter/localcharset.h" | sha256sum | cut -d' ' -f1)
  [ "$(cat "$deps_prefix/.freexl-complete" 2>/dev/null)" = "$sum" ] && return
  src=$(debian_source freexl)
  version=${src##*/freexl-}
  say "building FreeXL for Windows from $(basename "$src")"
  rm -rf "$work"
  mkdir -p "$work" "$deps_prefix/include" "$deps_prefix/lib/pkgconfig" "$deps_prefix/share/freexl"
  printf '#define VERSION "%s"\n' "$version" >"$work/config.h"
  "$triple-gcc-posix" -O2 -I"$work" -I"$src/headers" -I"$adapter" -c "$src/src/freexl.c" \
    -o "$work/freexl.o"
  "$triple-gcc-posix" -O2 -Wall -Wextra -Werror -I"$adapter" -c "$adapter/iconv.c" -o "$work/iconv.o"
  rm -f "$deps_prefix/lib/libfreexl.a"
  "$triple-ar" rcs "$deps_prefix/lib/libfreexl.a" "$work/freexl.o" "$work/iconv.o"
  cp "$src/headers/freexl.h" "$deps_prefix/include/"
  cat >"$deps_prefix/lib/pkgconfig/freexl.pc" <<PC
prefix=$deps_prefix
Name: freexl
Description: a simple library extracting data from .xls (Excel BIFF) files (static, with iconv on Windows's code pages)
Version: $version
Libs: -L\${prefix}/lib -lfreexl
Cflags: -I\${prefix}/include
PC
  cp "$src/COPYING" "$deps_prefix/share/freexl/MPL-1.1.txt"
  rm -rf "$work"
  printf '%s\n' "$sum" >"$deps_prefix/.freexl-complete"
}

# minizip from zlib's source (contrib/minizip), over Debian's MinGW-w64 zlib (zlib1.dll), with
# the same headers as Debian's libminizip-dev in include/minizip.
build_minizip() {
  [ -f "$deps_prefix/.minizip-complete" ] && return
  local src work=$cache/minizip-build version part
  src=$(debian_source zlib)
  version=$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$src/zlib.h")
  say "building minizip for Windows from $(basename "$src")"
  rm -rf "$work"
  mkdir -p "$work" "$deps_prefix/include/minizip" "$deps_prefix/lib/pkgconfig" \
    "$deps_prefix/share/minizip"
  for part in ioapi unzip zip mztools iowin32; do
    "$triple-gcc-posix" -O2 -c "$src/contrib/minizip/$part.c" -o "$work/$part.o"
  done
  rm -f "$deps_prefix/lib/libminizip.a"
  "$triple-ar" rcs "$deps_prefix/lib/libminizip.a" "$work"/*.o
  cp "$src/contrib/minizip/"{ioapi,unzip,zip,mztools,crypt,iowin32}.h "$deps_prefix/include/minizip/"
  cat >"$deps_prefix/lib/pkgconfig/minizip.pc" <<PC
prefix=$deps_prefix
Name: minizip
Description: Minizip zip file manipulation library (static, over zlib1.dll)
Version: $version
Libs: -L\${prefix}/lib -lminizip -lz
Cflags: -I\${prefix}/include/minizip
PC
  # zlib's licence, and minizip's notice under the same conditions.
  { cat "$src/LICENSE"; echo; sed -n '1,/This notice may not be removed/p' \
    "$src/contrib/minizip/unzip.h"; } >"$deps_prefix/share/minizip/zlib-license.txt"
  rm -rf "$work"
  touch "$deps_prefix/.minizip-complete"
}

# zint 2.11, the library only: no PNG, no Qt, no front end, no tests.
build_zint() {
  [ -f "$deps_prefix/.zint-complete" ] && return
  local src work=$cache/zint-build version
  src=$(debian_source zint)
  version=${src##*/zint-}
  say "building zint for Windows from $(basename "$src")"
  rm -rf "$work"
  mkdir -p "$deps_prefix/include" "$deps_prefix/lib/pkgconfig" "$deps_prefix/share/zint"
  cmake -G Ninja -S "$src" -B "$work" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DZINT_STATIC=ON -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF \
    >"$cache/zint-configure.log" 2>&1 || { tail -n 40 "$cache/zint-configure.log"; exit 1; }
  cmake --build "$work" -j"$jobs" --target zint-static >"$cache/zint-build.log" 2>&1 ||
    { tail -n 40 "$cache/zint-build.log"; exit 1; }
  cp "$work/backend/libzint-static.a" "$deps_prefix/lib/libzint.a"
  cp "$src/backend/zint.h" "$deps_prefix/include/"
  cat >"$deps_prefix/lib/pkgconfig/zint.pc" <<PC
prefix=$deps_prefix
Name: zint
Description: barcode encoding library (static, without PNG)
Version: $version
Libs: -L\${prefix}/lib -lzint
Cflags: -I\${prefix}/include
PC
  # The library's BSD licence (zint.h's opening comment), then the project's note on it.
  { awk 'NR > 2 && /^ *\*\//{exit} NR > 2' "$src/backend/zint.h"; echo; cat "$src/LICENSE"; } \
    >"$deps_prefix/share/zint/LICENSE.txt"
  rm -rf "$work"
  touch "$deps_prefix/.zint-complete"
}

build_qt
# Qt's own Turkish texts, from Debian's translations of the same version, where this Qt looks.
mkdir -p "$qt_prefix/translations"
cp /usr/share/qt6/translations/qtbase_tr.qm "$qt_prefix/translations/"
build_sqlite
build_mdbtools
build_freexl
build_minizip
build_zint
[ "$deps_only" = 1 ] && exit 0

# The program, the database tool (with its import) and, when asked, the tests.
say "building the program for Windows in $build"
export TERNAVOLK_WINDOWS_PREFIX="$qt_prefix;$deps_prefix"
export PKG_CONFIG_LIBDIR=$deps_prefix/lib/pkgconfig PKG_CONFIG_PATH=
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) && export CCACHE_BASEDIR=$root
cmake -G Ninja -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$qt_prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTERNAVOLK_TESTS="$with_tests" -DTERNAVOLK_BENCH="${TERNAVOLK_WINDOWS_BENCH:-OFF}" \
  "${launcher[@]}" >"$cache/windows-configure.log" 2>&1 || { cat "$cache/windows-configure.log"; exit 1; }
cmake --build "$build" -j"$jobs"
# The iconv that FreeXL uses on Windows has a test of its own, run by test-windows.sh.
if [ "$with_tests" = ON ]; then
  mkdir -p "$build/iconv"
  "$triple-gcc-posix" -O2 -Wall -Wextra -Werror -I"$root/packaging/windows/iconv" \
    "$root/packaging/windows/iconv/tst_iconv.c" "$root/packaging/windows/iconv/iconv.c" \
    -o "$build/iconv/tst_iconv.exe"
fi

# Every DLL an executable or plugin loads that Windows itself does not provide, found in Qt's,
# MinGW's and the dependencies' folders, followed through the DLLs that those load.
dll_dirs=("$qt_prefix/bin" "$deps_prefix/bin" "/usr/lib/gcc/$triple/12-posix" "/usr/$triple/lib")
dlls_of() {
  local queue=("$@") seen=() file dll dir
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r dll; do
      for dir in "${dll_dirs[@]}"; do
        if [ -f "$dir/$dll" ]; then
          if [[ " ${seen[*]} " != *" $dir/$dll "* ]]; then
            seen+=("$dir/$dll")
            queue+=("$dir/$dll")
          fi
          break
        fi
      done
    done < <("$triple-objdump" -p "$file" | sed -n 's/^\s*DLL Name: //p')
  done
  printf '%s\n' "${seen[@]}"
}

# The folder a librarian unzips: the executables, exactly the DLLs and plugins they load, Qt's
# Turkish translation, an empty DATA.mdb, the licences and a short Turkish read-me. Packed twice:
# ternavolk-windows-x64.zip to begin with, and ternavolk-guncelleme-windows-x64.zip, the same
# folder without DATA.mdb, to unzip over a folder in use (it replaces the executables and DLLs
# and never the registers).
full_zip=$root/ternavolk-windows-x64.zip
update_zip=$root/ternavolk-guncelleme-windows-x64.zip
pack() {
  local stage=$build/zip folder exe
  folder=$stage/Ternavolk
  rm -rf "$stage"
  mkdir -p "$folder/platforms" "$folder/styles" "$folder/translations" "$folder/lisanslar"
  local exes=("$build/app/ternavolk.exe" "$build/tools/ternavolk-db.exe"
              "$build/app/ternavolk-araclar.exe")
  for exe in "${exes[@]}"; do
    [ -f "$exe" ] || { echo "not packing: $exe was not built" >&2; exit 1; }
  done
  cp "${exes[@]}" "$folder/"
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$folder/platforms/"
  cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
  local dll
  while read -r dll; do cp "$dll" "$folder/"; done < <(dlls_of "${exes[@]}" "$folder"/platforms/*.dll "$folder"/styles/*.dll)
  cp /usr/share/qt6/translations/qtbase_tr.qm "$folder/translations/"
  # Qt finds its plugins and translations beside the executables.
  printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$folder/qt.conf"
  cp "$root/packaging/windows/BENİOKU.txt" "$folder/"
  cp "$deps_prefix/share/mdbtools/COPYING.LIB" "$folder/lisanslar/libmdb-LGPL.txt"
  cp "$root/packaging/windows/KAYNAKLAR.txt" "$folder/lisanslar/"
  # The GNU LGPL 3, Qt's licence, as every Debian system keeps it (the same text as Qt's own
  # LICENSES/LGPL-3.0-only.txt, without fetching Qt's source when Qt came packed).
  cp /usr/share/common-licenses/LGPL-3 "$folder/lisanslar/Qt-LGPL-3.0.txt"
  cp "$deps_prefix/share/freexl/MPL-1.1.txt" "$folder/lisanslar/FreeXL-MPL-1.1.txt"
  cp "$deps_prefix/share/minizip/zlib-license.txt" "$folder/lisanslar/minizip-zlib.txt"
  cp "$deps_prefix/share/zint/LICENSE.txt" "$folder/lisanslar/zint-BSD-3-Clause.txt"
  # The empty registers, made by the Windows tool itself under Wine.
  (cd "$folder" && WINEPREFIX=$cache/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' wine ./ternavolk-db.exe create DATA.mdb \
    </dev/null >/dev/null) || { echo "could not make the empty DATA.mdb under Wine" >&2; exit 1; }
  rm -f "$full_zip" "$update_zip"
  (cd "$stage" && zip -qr -X "$full_zip" Ternavolk)
  (cd "$stage" && zip -qr -X "$update_zip" Ternavolk -x Ternavolk/DATA.mdb)
  # The update differs from the full zip by DATA.mdb alone, so that it holds no registers and
  # every file it holds lands where the full zip put it.
  if [ "$(comm -3 <(unzip -Z1 "$full_zip" | sort) <(unzip -Z1 "$update_zip" | sort))" != \
    "Ternavolk/DATA.mdb" ]; then
    rm -f "$full_zip" "$update_zip"
    echo "the update zip is not the full zip without DATA.mdb" >&2
    exit 1
  fi
  say "packed $full_zip ($(du -h "$full_zip" | cut -f1)) and $update_zip ($(du -h "$update_zip" | cut -f1))"
}
pack
