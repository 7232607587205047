#!/usr/bin/env bash
# Builds the Debian package and tries it the way a user gets it: unpacked into a
# throwaway root, run from a folder outside the source tree with a bare environment,
# the installed console front end converts a copy of the example legacy folder into a
# database made by the installed create-db.sh from the installed schema.
#
#   scripts/test-package.sh [BUILD]      (BUILD: the build folder, default build)
#
# Prints one line per check and ends with "N passed, N failed"; exit status 1 when
# any check failed.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
BUILD=${1:-build}

make --no-print-directory package BUILD="$BUILD"
debs=("$BUILD"/conversor-tolv_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "test-package: expected one package in $BUILD, found: ${debs[*]}" >&2
  exit 1
fi
deb=$(realpath "${debs[0]}")
echo "Pacote: $deb"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg -x "$deb" "$root"
doc=$root/usr/share/doc/conversor-tolv

passed=0
failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FALHOU: $1" >&2; failed=$((failed + 1)); }
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then ok "$what"; else bad "$what"; fi
}

# --- What the package holds -------------------------------------------------------
for f in usr/bin/conversor-tolv usr/bin/conversor-tolv-cli; do
  check "$f is an executable program" test -x "$root/$f"
done
for f in usr/share/applications/conversor-tolv.desktop \
         usr/share/man/man1/conversor-tolv-cli.1.gz usr/share/man/man1/conversor-tolv.1.gz \
         usr/share/doc/conversor-tolv/README.md usr/share/doc/conversor-tolv/copyright \
         usr/share/doc/conversor-tolv/changelog.gz usr/share/doc/conversor-tolv/schema/norvale.sql \
         usr/share/doc/conversor-tolv/scripts/create-db.sh; do
  check "$f is there" test -s "$root/$f"
done
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/conversor-tolv.png
  check "icon ${size}x${size} is a ${size} x ${size} PNG" \
    grep -q "PNG image data, $size x $size," <(file "$icon" 2>&1)
done
check "the menu entry is valid" desktop-file-validate "$root/usr/share/applications/conversor-tolv.desktop"
check "the menu entry starts the installed window with its icon" \
  grep -qx -e 'Exec=conversor-tolv' "$root/usr/share/applications/conversor-tolv.desktop"

depends=$(dpkg-deb -f "$deb" Depends)
for p in firebird3.0-server-core libfbclient2 libqt6widgets6; do
  check "Depends names $p" grep -q "\(^\|, \)$p\( \|,\|$\)" <<<"$depends"
done

# The installed programs must not lean on the folders they were built in: neither
# folder is named in them, nor any source file (debug information, __FILE__), which
# would carry a build path even when a compiler cache made it relative or foreign.
build_abs=$(realpath "$BUILD")
no_build_paths() {
  local s
  s=$(strings -a "$1")
  ! grep -qF -e "$top" -e "$build_abs" <<<"$s" && ! grep -qE '\.(c|cc|cpp|h|hpp)$' <<<"$s"
}
for f in "$root"/usr/bin/*; do
  check "$(basename "$f") carries no path of the source or build folder" no_build_paths "$f"
done

lintian_out=$work/lintian.txt
lintian_rc=0
lintian --fail-on error "$deb" >"$lintian_out" 2>&1 || lintian_rc=$?
sed 's/^/  lintian: /' "$lintian_out"
check "lintian reports no error" test "$lintian_rc" -eq 0

# --- Running the installed programs -----------------------------------------------
run() {  # run OUT ERR PROGRAM ARGS...: from the scratch folder, with nothing inherited
  local out=$1 err=$2
  shift 2
  (cd "$work" && env -i PATH=/usr/bin:/bin HOME="$work" LANG=C.UTF-8 "$@" >"$out" 2>"$err")
}

help_rc=0
run "$work/help.txt" "$work/help.err" "$root/usr/bin/conversor-tolv-cli" --help || help_rc=$?
check "conversor-tolv-cli --help exits 0" test "$help_rc" -eq 0
check "conversor-tolv-cli --help prints the usage" grep -q '^Uso: conversor-tolv-cli --origem' "$work/help.txt"

# Every option the program offers is in its manual page.
man_src=$(zcat "$root/usr/share/man/man1/conversor-tolv-cli.1.gz" | sed 's/\\-/-/g')
for opt in $(grep -o -- '--[a-z][a-z-]*' "$work/help.txt" | sort -u); do
  check "the manual page documents $opt" grep -qF -- "$opt" <<<"$man_src"
done

# The window comes up (without a display, on Qt's offscreen platform) and keeps
# running until it is stopped.
gui_rc=0
run "$work/gui.out" "$work/gui.err" env QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/conversor-tolv" || gui_rc=$?
check "the installed window starts and stays up (status $gui_rc, 124 expected)" test "$gui_rc" -eq 124

db=$work/norvale.fb
cp -r "$top/examples/tolv" "$work/tolv"
check "the installed create-db.sh makes a fresh database from the installed schema" \
  run "$work/create.out" "$work/create.err" bash "$doc/scripts/create-db.sh" "$db"

conv_rc=0
run "$work/conv.out" "$work/conv.err" "$root/usr/bin/conversor-tolv-cli" \
  --origem "$work/tolv" --destino "$db" todos || conv_rc=$?
sed 's/^/  conversor-tolv-cli: /' "$work/conv.out"
# 3 is a committed run with rows the target refused; which rows depends on the kinds
# this version converts, so both count as a finished conversion here.
check "the conversion of the example folder commits (status $conv_rc, 0 or 3 expected)" \
  test "$conv_rc" -eq 0 -o "$conv_rc" -eq 3
check "the summary is printed" grep -qx 'Resumo da conversão' "$work/conv.out"
summary_re='^  .+: lidos [0-9]+, gravados [0-9]+, ignorados [0-9]+, rejeitados [0-9]+$'
written=$(grep -E "$summary_re" "$work/conv.out" | sed -E 's/.*gravados ([0-9]+),.*/\1/' | awk '{ s += $1 } END { print s + 0 }')
check "the summary has a line per kind and rows were written (${written:-0})" test "${written:-0}" -gt 0

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
