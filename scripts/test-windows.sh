#!/usr/bin/env bash
# Tests the Windows build under Wine on Debian 12:
#   1. every test program (.exe) on Qt's offscreen platform, and the test of the iconv that
#      FreeXL uses on Windows;
#   2. the program itself with the real windows platform plugin on a virtual X display, started
#      from a folder with blanks and Turkish letters, on a demo DATA.mdb there;
#   3. ternavolk-db.exe import of both Access sample files, compared value for value with the
#      Linux tool's result;
#   4. the update zip unzipped over a folder with filled registers: every row kept.
# Each test program runs once. Prints a closing line "N passed, M flaky, K failed" (flaky: a
# failure of a program listed in wine_flaky below) and exits non-zero on any failure. Builds what
# is missing first (scripts/build-windows.sh --tests). Wine is not Windows: what passes here is
# what Wine shows.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${TERNAVOLK_UNDER_XVFB:-}" ]; then
  bash "$root/scripts/build-windows.sh" --tests
  # Wine wants an X display even for Qt's offscreen platform (its own desktop process).
  TERNAVOLK_UNDER_XVFB=1 TERNAVOLK_BUILT=1 exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi
[ -n "${TERNAVOLK_BUILT:-}" ] || bash "$root/scripts/build-windows.sh" --tests

cache=${TERNAVOLK_CACHE:-$HOME/.cache/ternavolk}
build=${TERNAVOLK_WINDOWS_BUILD:-$root/build-windows}
qt_prefix=$cache/qt-6.4.2-mingw
deps_prefix=$cache/windows-deps
triple=x86_64-w64-mingw32
work=$(mktemp -d /tmp/ternavolk-wine.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${openbox_pid:-}" ] && kill "$openbox_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
say() { printf '[test-windows %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

passed=0
failed=0
flakes=0
failures=()
pass() { passed=$((passed + 1)); say "PASS $1"; }
fail() { failed=$((failed + 1)); failures+=("$1"); say "FAIL $1${2:+: $2}"; }
flaky() { flakes=$((flakes + 1)); say "FLAKY $1${2:+: $2}"; }

winpath() { winepath -w "$1" 2>/dev/null; }
say "starting Wine in $WINEPREFIX"
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
# Wine hands a Windows program no QT_ variable of the Unix environment: Qt's platform for the
# tests is set in the prefix's own environment instead.
set_platform() {
  if [ -n "$1" ]; then
    wine reg add 'HKCU\Environment' /v QT_QPA_PLATFORM /d "$1" /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Environment' /v QT_QPA_PLATFORM /f >/dev/null 2>&1 || true
  fi
  wineserver -w
}
set_platform offscreen
# Qt's offscreen platform on Windows reads its faces from a folder of font files, not from the
# system: Debian's Liberation faces, which have Arial's widths, as on Linux.
wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /d "$(winpath /usr/share/fonts/truetype/liberation)" \
  /f >/dev/null 2>&1
WINEPATH="$(winpath "$qt_prefix/bin");$(winpath "$deps_prefix/bin");$(winpath "/usr/lib/gcc/$triple/12-posix");$(winpath "/usr/$triple/lib")"
export WINEPATH

# Tests that cannot pass under Wine, each with its reason. Nothing else is left out.
declare -A cannot=(
)
# Test programs that fail now and then under Wine only, each with the reason shown to lie in
# Wine (not in the program, and not in Windows): such a failure is counted as flaky, not failed.
# None is known. (Imports that stalled for a minute now and then were the tool's own fault,
# mended: it waited for the end of a reader that had already ended.)
declare -A wine_flaky=(
)

# 1. The test programs, one after another (each runs its own Wine processes).
mapfile -t tests < <(find "$build/tests" -maxdepth 1 -name '*.exe' | sort)
[ ${#tests[@]} -gt 0 ] || { echo "no test programs in $build/tests: build with --tests" >&2; exit 1; }
for exe in "${tests[@]}"; do
  name=$(basename "$exe" .exe)
  if [ -n "${cannot[$name]:-}" ]; then
    say "NOT RUN $name: ${cannot[$name]}"
    continue
  fi
  out=$work/$name.txt
  # Qt Test writes to a file only through -o under Wine; a redirected stdout stays empty.
  run_test() {
    set +e
    (cd "$build/tests" && timeout 900 wine "./$name.exe" -o "$(winpath "$out"),txt" \
      >"$work/$name.stdout" 2>&1)
    rc=$?
    set -e
    totals=$(grep -a -E '^Totals:' "$out" 2>/dev/null | tail -n 1 || true)
    [ "$rc" -eq 0 ] && [ -n "$totals" ]
  }
  failures_of() {
    grep -a -E '^(FAIL!|   Actual|   Expected|   Loc:|QFATAL)' "$out" 2>/dev/null | head -n 20 ||
      tail -n 20 "$work/$name.stdout"
  }
  # Each program runs once: a program that fails fails the run. Only a program listed in
  # wine_flaky that fails is counted apart, with its reason.
  if run_test; then
    pass "$name ($totals)"
  elif [ -n "${wine_flaky[$name]:-}" ]; then
    flaky "$name" "exit $rc, ${totals:-no totals}; ${wine_flaky[$name]}"
    failures_of
  else
    fail "$name" "exit $rc, ${totals:-no totals}"
    failures_of
  fi
  # What a test leaves out on Windows, it says so itself, with its reason.
  grep -a -E '^SKIP' "$out" 2>/dev/null | sed 's/^/    /' || true
done

# The iconv that the Windows build of FreeXL converts texts with (packaging/windows/iconv).
set +e
(cd "$build/iconv" && wine ./tst_iconv.exe </dev/null >"$work/iconv.txt" 2>&1)
rc=$?
set -e
closing=$(tr -d '\r' <"$work/iconv.txt" | tail -n 1)
if [ "$rc" -eq 0 ] && [[ "$closing" =~ ^[0-9]+\ cases,\ 0\ failed$ ]]; then
  pass "tst_iconv ($closing)"
else
  fail "tst_iconv" "exit $rc, ${closing:-no closing line}"
  tr -d '\r' <"$work/iconv.txt" | grep -a '^FAIL' | head -n 20 || true
fi

# A folder a librarian might choose: blanks and Turkish letters all the way.
place="$work/Okul Kütüphanesi/Gülşen'in Masası"
mkdir -p "$place"
unzip -q "$root/ternavolk-windows-x64.zip" -d "$place"
app="$place/Ternavolk"
rm "$app/DATA.mdb"
(cd "$app" && wine ./ternavolk-db.exe demo DATA.mdb >/dev/null </dev/null)

# 2. The program itself: the windows platform plugin, on the virtual display, with a desktop's
# window manager. It must find DATA.mdb in its own folder and show the main window maximised.
set_platform ''
openbox >/dev/null 2>&1 &
openbox_pid=$!
sleep 1
(cd /tmp && wine "$app/ternavolk.exe" >"$work/program.log" 2>&1 &)
# The program's visible windows (Wine names their class after the executable); the main one
# must be the only one (no error box) and maximised.
visible() { xdotool search --onlyvisible --classname '^ternavolk\.exe$' 2>/dev/null || true; }
window=
for _ in $(seq 60); do
  window=$(visible | head -n 1)
  if [ -n "$window" ] && xprop -id "$window" _NET_WM_STATE 2>/dev/null | grep -q MAXIMIZED_HORZ; then
    break
  fi
  sleep 1
done
sleep 3
shot=$build/ternavolk-wine.png
import -window root "$shot" 2>/dev/null || true
if [ -n "$window" ]; then
  state=$(xprop -id "$window" _NET_WM_STATE 2>/dev/null)
  name=$(LC_ALL=C.UTF-8 xprop -id "$window" _NET_WM_NAME 2>/dev/null | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
  windows=$(visible | wc -l)
  if [[ "$state" == *MAXIMIZED_VERT* && "$state" == *MAXIMIZED_HORZ* ]] && [ "$windows" -eq 1 ] &&
    [[ "$name" == Ternavolk* ]]; then
    pass "program starts maximised as '$name' from '$place' (screenshot $shot)"
  else
    fail "program start" "window '$name' in state '$state', $windows visible window(s) (an error box?)"
  fi
else
  fail "program start" "no window of ternavolk.exe within 60 s"
fi
wineserver -k >/dev/null 2>&1 || true
sleep 1

# 3. The Access import under Wine, from and into the Turkish-named folder, against the Linux
# tool's result on the same files.
linux_tool=${TERNAVOLK_LINUX_TOOL:-$root/build-test/tools/ternavolk-db}
if [ ! -x "$linux_tool" ]; then
  cmake -S "$root" -B "$root/build-run" -DCMAKE_BUILD_TYPE=Release -DTERNAVOLK_TESTS=OFF \
    -DTERNAVOLK_BENCH=OFF >/dev/null
  cmake --build "$root/build-run" -j"$(nproc)" --target ternavolk-db >/dev/null
  linux_tool=$root/build-run/tools/ternavolk-db
fi
dump() {
  python3 - "$1" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
for (table,) in db.execute("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"):
    cols = [r[1] for r in db.execute(f'PRAGMA table_info("{table}")')]
    print(table, cols)
    for row in db.execute(f'SELECT * FROM "{table}" ORDER BY rowid'):
        print(repr(row))
PY
}
for sample in kutuphane_jet4_plain kutuphane_jet4_compressed; do
  cp "$root/tests/tools/data/access/$sample.mdb" "$place/eski $sample.mdb"
  set +e
  (cd "$app" && wine ./ternavolk-db.exe import "..\\eski $sample.mdb" "..\\yeni $sample.mdb" \
    >"$work/import-$sample.log" 2>&1 </dev/null)
  rc=$?
  set -e
  "$linux_tool" import "$place/eski $sample.mdb" "$work/linux-$sample.mdb" >/dev/null
  if [ "$rc" -ne 0 ]; then
    fail "import $sample under Wine" "exit $rc: $(head -c 400 "$work/import-$sample.log")"
  elif cmp -s <(dump "$place/yeni $sample.mdb") <(dump "$work/linux-$sample.mdb"); then
    pass "import $sample under Wine: the same rows and values as on Linux"
  else
    fail "import $sample under Wine" "the rows differ from the Linux tool's"
    diff <(dump "$place/yeni $sample.mdb") <(dump "$work/linux-$sample.mdb") | head -n 20
  fi
done

# 3b. The lists import under Wine, from the Turkish-named folder (FreeXL and minizip given its
# paths), against the Linux tool's result on the same lists and the same registers: the
# readers from e-Okul's .XLS, a saved .xlsx and a Windows-1254 .csv together, then the books
# from a school's .xls, .xlsx and .csv.
lists=$root/tests/tools/data/lists
mkdir -p "$place/Sınıf Listeleri"
for f in eokul_9.XLS eokul_10.xlsx ogrenciler_1254.csv kitaplar.xls kitaplar.xlsx kitaplar.csv; do
  cp "$lists/$f" "$place/Sınıf Listeleri/$f"
done
"$linux_tool" create "$work/bos.mdb" >/dev/null
cp "$work/bos.mdb" "$place/listeler.mdb"
cp "$work/bos.mdb" "$work/linux-listeler.mdb"
import_lists() { # DATABASE FOLDER SEPARATOR, with the tool in the array "tool"
  "${tool[@]}" readers "$1" "$2$3eokul_9.XLS" "$2$3eokul_10.xlsx" "$2$3ogrenciler_1254.csv" \
    --school "GAZİ LİSESİ" </dev/null &&
    "${tool[@]}" books "$1" "$2$3kitaplar.xls" "$2$3kitaplar.xlsx" "$2$3kitaplar.csv" </dev/null
}
set +e
tool=(wine ./ternavolk-db.exe)
(cd "$app" && import_lists '..\listeler.mdb' '..\Sınıf Listeleri' '\' >"$work/lists-wine.log" 2>&1)
rc=$?
set -e
tool=("$linux_tool")
import_lists "$work/linux-listeler.mdb" "$place/Sınıf Listeleri" / >"$work/lists-linux.log" 2>&1
sed -i 's/\r$//' "$work/lists-wine.log"
# The summaries name each list by its file's name: the same on both.
if [ "$rc" -ne 0 ]; then
  fail "lists import under Wine" "exit $rc: $(head -c 400 "$work/lists-wine.log")"
elif ! cmp -s <(dump "$place/listeler.mdb") <(dump "$work/linux-listeler.mdb"); then
  fail "lists import under Wine" "the rows differ from the Linux tool's"
  diff <(dump "$place/listeler.mdb") <(dump "$work/linux-listeler.mdb") | head -n 20
elif ! cmp -s "$work/lists-wine.log" "$work/lists-linux.log"; then
  fail "lists import under Wine" "the summaries differ from the Linux tool's"
  diff "$work/lists-wine.log" "$work/lists-linux.log" | head -n 20
else
  pass "lists import under Wine: the same readers and books as on Linux ($(grep -c . "$work/lists-wine.log") summary lines)"
fi

# 4. An update over a folder in use: the update zip unzipped over the folder with the demo
# registers, replacing every file as "Yes to all" does, keeps every row of its DATA.mdb, puts
# each file where the full zip put it (the programs made to look old are replaced) and leaves a
# folder whose tool finds the registers sound.
update_zip=$root/ternavolk-guncelleme-windows-x64.zip
rows() {
  python3 - "$1" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
print(" ".join(f"{t}:{db.execute(f'SELECT count(*) FROM {t}').fetchone()[0]}"
               for t in ("okuyucu", "kitapkayit", "hareket")))
PY
}
dump "$app/DATA.mdb" >"$work/registers-before.txt"
counts=$(rows "$app/DATA.mdb")
replaced=(ternavolk.exe ternavolk-db.exe ternavolk-araclar.exe Qt6Core.dll qt.conf BENİOKU.txt)
for f in "${replaced[@]}"; do printf 'an older version\r\n' >"$app/$f"; done
unzip -q -o "$update_zip" -d "$place"
stale=()
for f in "${replaced[@]}"; do
  cmp -s "$app/$f" <(unzip -p "$update_zip" "Ternavolk/$f") || stale+=("$f")
done
set +e
checked=$(cd "$app" && wine ./ternavolk-db.exe check DATA.mdb </dev/null 2>&1 | tr -d '\r')
set -e
if unzip -Z1 "$update_zip" | grep -qi 'DATA\.mdb'; then
  fail "update zip" "it holds a DATA.mdb"
elif [[ "$counts" == *":0"* ]]; then
  fail "update over a folder in use" "the demo registers are not filled ($counts)"
elif ! cmp -s <(dump "$app/DATA.mdb") "$work/registers-before.txt"; then
  fail "update over a folder in use" "DATA.mdb changed (before: $counts, after: $(rows "$app/DATA.mdb"))"
elif [ ${#stale[@]} -gt 0 ]; then
  fail "update over a folder in use" "not replaced: ${stale[*]}"
elif [ "$checked" != ok ]; then
  fail "update over a folder in use" "ternavolk-db.exe check DATA.mdb said: $checked"
else
  pass "update over a folder in use: every row of DATA.mdb kept ($counts), the programs replaced, the check says ok"
fi

echo
for f in "${failures[@]}"; do echo "failed: $f"; done
for name in "${!cannot[@]}"; do echo "not run under Wine: $name (${cannot[$name]})"; done
echo "Windows: $passed passed, $flakes flaky, $failed failed"
[ "$failed" -eq 0 ]
