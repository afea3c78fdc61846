#!/bin/bash
# make-corpus.sh DIR: writes the fixed sample of 301 PPDs that docs/testing.md describes ("Real PPDs") to
# DIR: made aside and moved in whole, then reused while this script and the packages it reads are unchanged.
# It reads only what scripts/install-deps.sh installs (openprinting-ppds, cups-ppdc, cups-common's
# sample.drv), never a glob over a system directory, so other printer drivers on the machine change
# nothing; corpus_check.py compares the result with sample.txt.
set -euo pipefail
dir=${1:?usage: make-corpus.sh DIR}
export LC_ALL=C
packages=(openprinting-ppds cups-ppdc cups-common)
stamp=$(cat "$0" <(dpkg-query -W "${packages[@]}") | sha1sum)
[ "$(cat "$dir/.made-by" 2>/dev/null)" = "$stamp" ] && { echo "corpus: reusing $dir"; exit 0; }
mkdir -p "$(dirname "$dir")"
rm -rf "$dir".partial.*
tmp=$(mktemp -d "$dir.partial.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
# 258 from openprinting-ppds, cut out of its archive in order, as its "cat" takes a second a file.
python3 - "$tmp" /usr/lib/cups/driver/openprinting-ppds <<'EOF'
import base64, hashlib, io, itertools, lzma, re, runpy, shlex, subprocess, sys
out, prog = sys.argv[1:]
groups = {}  # the listed URIs by maker and language: all CJK ones, then a round robin
for line in sorted(set(subprocess.check_output([prog, 'list'], text=True).splitlines())):
    uri, lang, maker = shlex.split(line)[:3]
    groups.setdefault((re.sub('[^A-Z]', '', maker.upper())[:5], lang), []).append(uri)
queues = [sorted(g, key=lambda u: hashlib.sha1(u.encode()).digest(), reverse=True)
          for _, g in sorted(groups.items())]
cjk = [u for (_, lang), g in groups.items() if lang[:2] in ('ja', 'ko', 'zh') for u in g]
pick = list(dict.fromkeys(cjk + [u for u in itertools.chain(*itertools.zip_longest(*queues)) if u]))[:258]
names = [(u, '%03d-op-%s' % (i, re.sub('[^A-Za-z0-9._-]', '_', u.rsplit('/', 1)[1])))
         for i, u in enumerate(sorted(pick))]
open(out + '/SOURCES.txt', 'w').writelines('%s\t%s\n' % (n, u) for u, n in names)
index = runpy.run_path(prog)['load']()
archive = lzma.open(io.BytesIO(base64.b64decode(index['ARCHIVE'])))
for (at, size), name in sorted((index['0/' + u.split(':')[-1].split('/', 1)[1]][:2], n) for u, n in names):
    archive.seek(at)  # forward but for the few files listed twice
    open(out + '/' + name, 'wb').write(archive.read(size))
EOF
# 42 from CUPS's sample driver file, compiled with LF, CR LF and CR line ends.
for way in lf "crlf -l ja,zh_CN,de" "cr -l fr,es"; do
  ppdc -d "$tmp/ppdc-${way%% *}-sample" --$way /usr/share/cups/drv/sample.drv
done
for f in "$tmp"/ppdc-*/*.ppd; do mv "$f" "${f%/*}-${f##*/}"; done
rmdir "$tmp"/ppdc-*/
# One that libcups refuses, on purpose: a CR-only PPD with a main keyword longer than the 40
# characters libcups reads, as some real CR files have; the tool must pass it on unedited.
awk 'BEGIN { RS = ORS = "\r" } { print } NR == 5 { print "*cupsThisMainKeywordIsLongerThanLibcupsReads: \"1\"" }' \
  "$tmp/ppdc-cr-sample-generic.ppd" > "$tmp/refused-cr-long-keyword.ppd"
(cd "$tmp" && ls -- *.ppd | sort | awk 'NR % 7 == 0' | xargs gzip -n9)
echo "$stamp" > "$tmp/.made-by"
rm -rf "$dir"
mv "$tmp" "$dir"
echo "corpus: made $(ls "$dir" | grep -c '\.ppd') PPD files in $dir"
