#!/usr/bin/env bash
# Builds the Debian package with `make package`, unpacks it into a temporary
# root with `dpkg -x` and runs the binary installed there; then checks a
# staged `make install DESTDIR=... PREFIX=/usr`.
#
# Usage: tests/package_test.sh        (JOBS=1 to build on one core)
set -euo pipefail
cd "$(dirname "$0")/.."

release_dir=build-release
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
ok() { echo "ok - $*"; }
not_ok() { echo "not ok - $*" >&2; failures=$((failures + 1)); }
check() {  # check <description> <command...>
  local what=$1
  shift
  if "$@"; then ok "$what"; else not_ok "$what"; fi
}

# The one place the version is declared.
version=$(sed -n 's/^project(ppd-localize VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "cannot read the project version from CMakeLists.txt" >&2; exit 1; }

make package RELEASE_DIR="$release_dir"

debs=("$release_dir"/ppd-localize_"$version"_*.deb)
[ -f "${debs[0]}" ] || { echo "no package ppd-localize_${version}_*.deb in $release_dir" >&2; exit 1; }
deb=${debs[0]}
echo "package: $deb"

# Control fields.
check "package name is ppd-localize" test "$(dpkg-deb -f "$deb" Package)" = ppd-localize
check "package version is $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
check "Depends comes from the shared libraries (libc6, libcups2)" \
  grep -q 'libc6 (>=.*libcups2' <<<"$depends"

# Contents, unpacked into a temporary root.
root=$work/root
dpkg -x "$deb" "$root"
bin=$root/usr/bin/ppd-localize
man=$root/usr/share/man/man1/ppd-localize.1.gz
check "the package installs /usr/bin/ppd-localize" test -x "$bin"
check "the package installs the manual page" test -f "$man"
check "the packaged manual page renders without warnings" \
  bash -c 'out=$(zcat "$1" | groff -t -ww -man -Tutf8 -z 2>&1) && [ -z "$out" ]' _ "$man"

# The installed binary does the job.
status=0
LC_ALL=zh_TW.UTF-8 "$bin" - examples/mono13.ppd >"$work/tw.ppd" 2>"$work/tw.err" || status=$?
check "installed binary exits 0 on examples/mono13.ppd" test "$status" -eq 0
check "output records the country: *ISOCountryCode: \"TW\"" \
  grep -Fqx '*ISOCountryCode: "TW"' "$work/tw.ppd"
check "output keeps A4 and drops the Taiwan papers (Postcard)" \
  bash -c 'grep -q "^\*PageSize A4/" "$1" && ! grep -q "^\*PageSize Postcard/" "$1"' _ "$work/tw.ppd"
check "nothing on standard error" test ! -s "$work/tw.err"
check "--version prints ppd-localize $version" \
  test "$("$bin" --version)" = "ppd-localize $version"

# A staged install from the same build.
stage=$work/stage
make install BUILD_DIR="$release_dir" DESTDIR="$stage" PREFIX=/usr
check "make install puts bin/ppd-localize under DESTDIR/PREFIX" test -x "$stage/usr/bin/ppd-localize"
check "make install puts share/man/man1/ppd-localize.1 under DESTDIR/PREFIX" \
  test -f "$stage/usr/share/man/man1/ppd-localize.1"
check "the staged binary reports version $version" \
  test "$("$stage/usr/bin/ppd-localize" --version)" = "ppd-localize $version"

if [ "$failures" -ne 0 ]; then
  echo "package test: $failures check(s) failed" >&2
  exit 1
fi
echo "package test: all checks passed"
