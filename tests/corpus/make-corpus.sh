#!/bin/bash
# make-corpus.sh DIR: writes a fixed sample of 300 real PPD files into DIR, 258
# that the openprinting-ppds driver program lists (all makers and languages, all
# the Japanese, Chinese and Korean ones) and the cups-ppdc sample drivers built
# three ways (LF; CR LF and CR, with translations); every 7th file gzipped.
# A DIR made by this same script is reused; a new one is moved into place whole.
set -euo pipefail
dir=${1:?usage: make-corpus.sh DIR}
export LC_ALL=C
stamp=$(sha1sum < "$0")
[ "$(cat "$dir/.made-by" 2>/dev/null)" = "$stamp" ] && { echo "corpus: reusing $dir"; exit 0; }
mkdir -p "$(dirname "$dir")"
rm -rf "$dir".partial.*
tmp=$(mktemp -d "$dir.partial.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
start=$SECONDS

# The driver program answers "cat URI" by decompressing its whole archive up
# to the file, over a second per file; the helper loads the program as a module
# and cuts the sample out of one pass over the archive instead.
python3 - "$tmp" /usr/lib/cups/driver/openprinting-ppds <<'EOF'
import base64, hashlib, importlib.machinery as im, itertools, lzma, re, shlex, subprocess, sys, types
out, prog, count = sys.argv[1], sys.argv[2], 258
listing = subprocess.run([prog, 'list'], capture_output=True, check=True, text=True).stdout
groups = {}
for line in sorted(set(listing.splitlines())):
    uri, lang, maker = shlex.split(line)[:3]
    groups.setdefault((re.sub('[^A-Z]', '', maker.upper())[:5], lang), []).append(uri)
queues = [sorted(g, key=lambda u: hashlib.sha1(u.encode()).digest()) for _, g in sorted(groups.items())]
pick = {u for (_, lang), g in groups.items() if lang[:2] in ('ja', 'ko', 'zh') for u in g}
for q in itertools.cycle(queues):  # then a round robin over (maker, language)
    if len(pick) == count: break
    pick.update(q[-1:]); del q[-1:]
names = {u: '%03d-op-%s' % (i, re.sub('[^A-Za-z0-9._-]', '_', u.rsplit('/', 1)[1]))
         for i, u in enumerate(sorted(pick))}
with open(out + '/SOURCES.txt', 'w') as f:
    f.writelines('%s\t%s\n' % (n, u) for u, n in sorted(names.items(), key=lambda x: x[1]))
mod = types.ModuleType('op'); im.SourceFileLoader('op', prog).exec_module(mod); index = mod.load()
spans = sorted((index['0/' + u.split(':')[-1].split('/', 1)[1]][:2], n) for u, n in names.items())
dec, data = lzma.LZMADecompressor(), base64.b64decode(index['ARCHIVE'])
buf, base = b'', 0  # buf holds the archive from offset base on
for (at, size), name in spans:
    while base + len(buf) < at + size:
        cut = min(at - base, len(buf))
        buf, base, data = buf[cut:] + dec.decompress(data, 1 << 24), base + cut, b''
    open(out + '/' + name, 'wb').write(buf[at - base:at - base + size])
EOF

for drv in /usr/share/cups/drv/*.drv; do
  for way in lf "crlf -l ja,zh_CN,de" "cr -l fr,es"; do
    ppdc -d "$tmp/ppdc" --$way "$drv"
    for f in "$tmp"/ppdc/*.ppd; do mv "$f" "$tmp/ppdc-${way%% *}-$(basename "$drv" .drv)-${f##*/}"; done
  done
done
(cd "$tmp" && ls -- *.ppd | sort | awk 'NR % 7 == 0' | xargs gzip -n9)
rmdir "$tmp/ppdc"; echo "$stamp" > "$tmp/.made-by"
rm -rf "$dir"; mv "$tmp" "$dir"; trap - EXIT
echo "corpus: made $(ls "$dir" | grep -c '\.ppd') PPD files in $dir in $((SECONDS - start)) s"
