#!/usr/bin/env bash
# Builds the Debian package with `make package`, checks it with lintian and hardening-check, installs it
# with apt-get, runs the installed tool, the CUPS driver program and their manual pages, and purges it.
# Usage: as root or with sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
version=$(sed -n 's/^project(ppd-localize VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "cannot read the project version from CMakeLists.txt" >&2; exit 1; }
make package
scripts/install-deps.sh lintian devscripts man-db
deb=build-deb/ppd-localize_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "make package left no $deb" >&2; exit 1; }
out=build-deb  # what the installed tool and man write, kept for a look after a failure
bin=/usr/bin/ppd-localize failures=0
driver=/usr/lib/cups/driver/ppd-localize conf=/etc/cups/ppd-localize.conf ppddir=/usr/share/ppd-localize
testppd=$ppddir/package-test-mono13.ppd
check() {  # check DESCRIPTION COMMAND: runs the command (a string, with eval) and counts a failure
  if eval "$2"; then echo "ok - $1"; else echo "not ok - $1" >&2; failures=$((failures + 1)); fi
}
# On the .changes: the .deb, its -dbgsym package (checked beside it) and the .changes.
check 'lintian -I -E --pedantic: no error, no warning' \
  'lintian -I -E --pedantic --fail-on error,warning "${deb%.deb}.changes"'
check "debian/changelog is at version $version" 'test "$(dpkg-parsechangelog -S Version)" = "$version"'
check "the package is at version $version" 'test "$(dpkg-deb -f "$deb" Version)" = "$version"'
check 'Depends comes from the shared libraries (libc6, libcups2)' \
  'grep -q "libc6 (>=.*libcups2" <<<"$(dpkg-deb -f "$deb" Depends)"'
check "apt-get installs $bin" '$sudo apt-get install --reinstall -y -qq "./$deb" >/dev/null && test -x "$bin"'
# --nocfprotection: Debian 12 cannot mark any program for CET (see docs/packaging.md).
check "hardening-check passes on $bin" 'hardening-check --nocfprotection "$bin"'
check 'the installed tool exits 0 on examples/mono13.ppd for Taiwan' \
  'LC_ALL=zh_TW.UTF-8 "$bin" - examples/mono13.ppd >"$out/tw.ppd" 2>"$out/tw.err"'
check 'its output records *ISOCountryCode: "TW"' 'grep -Fqx "*ISOCountryCode: \"TW\"" "$out/tw.ppd"'
check 'nothing on standard error' 'test ! -s "$out/tw.err"'
check "--version prints ppd-localize $version" 'test "$("$bin" --version)" = "ppd-localize $version"'
check 'man ppd-localize renders, without warnings' \
  'MANWIDTH=80 man -M /usr/share/man ppd-localize >"$out/man" 2>"$out/man.err" && test ! -s "$out/man.err"'
check "the manual page names version $version" 'grep -q "ppd-localize $version" "$out/man"'
check 'the manual page has its sections' 'grep -q "^EXIT STATUS" "$out/man"'
check "the driver program $driver is installed and executable" 'test -f "$driver" && test -x "$driver"'
check "hardening-check passes on $driver" 'hardening-check --nocfprotection "$driver"'
check "$conf is a conffile with every line commented out" \
  'dpkg-query -W -f="\${Conffiles}" ppd-localize | grep -q " $conf " && ! grep -qv "^#" "$conf"'
check "$ppddir holds rules/default.rules and rules/regional.rules, and nothing else" \
  'test "$(cd "$ppddir" && find . -mindepth 1 | LC_ALL=C sort | tr "\n" " ")" = "./rules ./rules/default.rules ./rules/regional.rules "'
check 'the installed default.rules is what --print-rules prints' \
  '"$bin" --print-rules | cmp -s - "$ppddir/rules/default.rules"'
check 'the installed regional.rules is examples/rules/regional.rules' \
  'cmp -s examples/rules/regional.rules "$ppddir/rules/regional.rules"'
for rules in default regional; do
  check "--check-rules passes on the installed $rules.rules" \
    '"$bin" --check-rules="$ppddir/rules/$rules.rules" >"$out/check-$rules" 2>"$out/check-$rules.err" &&
     test ! -s "$out/check-$rules.err" && grep -q "well formed" "$out/check-$rules"'
done
check 'the installed regional.rules makes Letter the default of examples/mono13.ppd for the US' \
  '"$bin" --rules="$ppddir/rules/regional.rules" --country=US - examples/mono13.ppd >"$out/us.ppd" 2>"$out/us.err" &&
   test ! -s "$out/us.err" && grep -Fqx "*DefaultPageSize: Letter" "$out/us.ppd" && ! grep -q "^\*PageSize Postcard/" "$out/us.ppd"'
check 'the driver lists nothing, without a message, on the installed system' \
  'env -u CUPS_SERVERROOT "$driver" list >"$out/list0" 2>"$out/list0.err" && test ! -s "$out/list0" && test ! -s "$out/list0.err"'
$sudo cp examples/mono13.ppd "$testppd"
check "a PPD placed in $ppddir is listed" \
  'env -u CUPS_SERVERROOT "$driver" list >"$out/list1" && grep -q "^\"ppd-localize:package-test-mono13.ppd\" en,fr,de,ja,zh_TW \"Example Imaging\" " "$out/list1"'
# Through a private cupsd: lpadmin under zh_TW.UTF-8 makes the queue that the installed tool's output for TW makes.
check 'lpadmin makes a queue through the installed driver, configuration and PPD directory' \
  'python3 tests/cupsd/cupsd_test.py installed "$driver" "$bin" package-test-mono13.ppd'
$sudo rm -f "$testppd"
for page in ppd-localize-driver ppd-localize.conf ppd-localize.rules; do
  check "man $page renders, without warnings" \
    'MANWIDTH=80 man -M /usr/share/man "$page" >"$out/$page.man" 2>"$out/$page.err" && test ! -s "$out/$page.err" &&
     grep -q "ppd-localize $version" "$out/$page.man"'
done
check "apt-get purge removes $bin" '$sudo apt-get purge -y -qq ppd-localize >/dev/null && test ! -e "$bin"'
check 'purge removes the manual page' 'test ! -e /usr/share/man/man1/ppd-localize.1.gz'
check "purge removes $driver, $conf, $ppddir with its rules files, and the other manual pages" 'test ! -e "$driver" &&
  test ! -e "$conf" && test ! -e "$ppddir" && test ! -e /usr/share/man/man8/ppd-localize-driver.8.gz &&
  test ! -e /usr/share/man/man5/ppd-localize.conf.5.gz && test ! -e /usr/share/man/man5/ppd-localize.rules.5.gz'
check 'dpkg no longer has the package' '! dpkg -s ppd-localize >/dev/null 2>&1'
[ "$failures" -eq 0 ] || { echo "package test: $failures check(s) failed" >&2; exit 1; }
echo "package test: all checks passed"
