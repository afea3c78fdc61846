#!/usr/bin/env bash
# Builds the Debian package with `make package` (dpkg-buildpackage), checks it
# with lintian and hardening-check, installs it with apt-get, runs the
# installed tool and its manual page, and removes the package again.
#
# Usage: tests/package_test.sh     (as root, or as a user with sudo)
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
version=$(sed -n 's/^project(ppd-localize VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "cannot read the project version from CMakeLists.txt" >&2; exit 1; }

make package
scripts/install-deps.sh lintian devscripts man-db
deb=build-deb/ppd-localize_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "make package left no $deb" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
check() {  # check <description> <command...>
  local what=$1
  shift
  if "$@"; then echo "ok - $what"; else echo "not ok - $what" >&2; failures=$((failures + 1)); fi
}
bin=/usr/bin/ppd-localize
man=/usr/share/man/man1/ppd-localize.1.gz

# The package as built.
# On the .changes: the .deb, its -dbgsym package (checked beside it) and the .changes.
check "lintian -I -E --pedantic: no error, no warning" \
  lintian -I -E --pedantic --fail-on error,warning "${deb%.deb}.changes"
check "debian/changelog is at the project version $version" \
  test "$(dpkg-parsechangelog -S Version)" = "$version"
check "the package is at version $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
check "Depends comes from the shared libraries (libc6, libcups2)" \
  grep -q 'libc6 (>=.*libcups2' <<<"$(dpkg-deb -f "$deb" Depends)"

# Installed with apt-get, as a user would.
$sudo apt-get install --reinstall -y -qq "./$deb" >/dev/null
check "the package installs $bin" test -x "$bin"
# --nocfprotection: Debian 12 cannot mark any program for CET (see the README).
check "hardening-check passes on $bin" hardening-check --nocfprotection "$bin"
status=0
LC_ALL=zh_TW.UTF-8 "$bin" - examples/mono13.ppd >"$work/tw.ppd" 2>"$work/tw.err" || status=$?
check "the installed tool exits 0 on examples/mono13.ppd" test "$status" -eq 0
check 'its output records *ISOCountryCode: "TW"' grep -Fqx '*ISOCountryCode: "TW"' "$work/tw.ppd"
check "nothing on standard error" test ! -s "$work/tw.err"
check "--version prints ppd-localize $version" test "$("$bin" --version)" = "ppd-localize $version"
check "man ppd-localize renders, without warnings" \
  bash -c 'MANWIDTH=80 man -M /usr/share/man ppd-localize >"$1/man.txt" 2>"$1/man.err" && test ! -s "$1/man.err"' _ "$work"
check "the manual page names version $version" grep -q "ppd-localize $version" "$work/man.txt"
check "the manual page has its sections" grep -q '^EXIT STATUS' "$work/man.txt"

# Removed again.
$sudo apt-get purge -y -qq ppd-localize >/dev/null
check "purge removes $bin" test ! -e "$bin"
check "purge removes the manual page" test ! -e "$man"
check "dpkg no longer has the package" bash -c '! dpkg -s ppd-localize >/dev/null 2>&1'

if [ "$failures" -ne 0 ]; then
  echo "package test: $failures check(s) failed" >&2
  exit 1
fi
echo "package test: all checks passed"
