#!/usr/bin/env python3
"""Runs ppd-localize over a corpus of real PPD files and checks general properties.

For every file, and for a copy made a monochrome *cupsModelNumber 13 with
*ISOCountryCode "JP" (so that the rules for such models and both rewrites run),
and for each of eight countries, one run must:
  - exit 0 with nothing on standard error;
  - give an output that libcups opens and on which cupstestppd reports no FAIL
    that it does not report on the input (line numbers aside; when the duplex
    default was rewritten, on the input with that rewrite; relaxed, -r, for
    files that libcups opens only so);
  - be, minus the added newline, the input's lines (byte for byte, line ends
    kept) in order, some left out, with at most the *DefaultDuplex statement
    replaced by "*DefaultDuplex: DuplexNoTumble" and the *ISOCountryCode one by
    the run's country code, each as one LF-terminated line;
  - come out again, plus one more newline, when the tool is run on it.
Prints the first failures in full and "N runs, M failures"; exits 1 on any.
"""
import argparse, collections, concurrent.futures, gzip, hashlib, os, re, subprocess, sys, tempfile, time

COUNTRIES = [('JP', {'LC_ALL': 'ja_JP.UTF-8'}), ('CN', {'LC_ALL': 'zh_CN.UTF-8'}),
             ('TW', {'LC_ALL': 'zh_TW.UTF-8'}), ('KR', {'LC_ALL': 'ko_KR.UTF-8'}),
             ('HK', {'LC_ALL': 'zh_HK.UTF-8'}), ('DE', {'LC_PAPER': 'de_DE.UTF-8'}),
             ('US', {'LANG': 'en_US.UTF-8'}), ('', {})]
LIMIT = 60  # seconds for any one program run
LINE = re.compile(rb'[^\r\n]*(?:\r\n|\r|\n)|[^\r\n]+\Z')
REWRITABLE = re.compile(rb'\*(DefaultDuplex|ISOCountryCode):')


class Failure(Exception):
    pass


def run(argv, env=None):
    try:
        return subprocess.run(argv, capture_output=True, timeout=LIMIT,
                              env=dict(env or {}, PATH='/usr/bin:/bin'))
    except subprocess.TimeoutExpired:
        raise Failure('time limit', '%s ran over %d s' % (argv[0], LIMIT))


def cupstestppd_fails(path, relaxed=False):
    text = run(['cupstestppd', '-W', 'none'] + ['-r'] * relaxed + [path], {'LC_ALL': 'C'}).stdout
    return {re.sub(r'line \d+', 'line #', ' '.join(l.replace(path, '<file>').split()))
            for l in text.decode('latin-1').splitlines() if '**FAIL**' in l}


def compare_lines(before, after, code):
    """Answers the input's lines and the rewrites {input index: new line} that make
    `after` of them, when it is they in order, some left out, rewrites allowed."""
    allowed = {b'DefaultDuplex': b'*DefaultDuplex: DuplexNoTumble\n',
               b'ISOCountryCode': b'*ISOCountryCode: "%s"\n' % code.encode()}
    old, rewrites, i = LINE.findall(before), {}, 0
    for k, line in enumerate(LINE.findall(after)):
        while i < len(old) and old[i] != line and allowed.get((REWRITABLE.match(old[i]) or [0, 0])[1]) != line:
            i += 1
        if i == len(old):
            raise Failure('lines', 'output line %d is not a later input line nor an allowed rewrite: '
                          '%r' % (k + 1, line[:120]))
        if old[i] != line:
            if line in rewrites.values():
                raise Failure('lines', 'a second rewrite: %r' % line)
            rewrites[i] = line
        i += 1
    return old, rewrites


def check_run(tool, path, data, code, env, work, fails):
    first = run([tool, '-', path], env)
    if first.returncode != 0 or first.stderr:
        raise Failure('exit', 'exit status %d, stderr %r' % (first.returncode, first.stderr[:300]))
    out = first.stdout
    if not out.endswith(b'\n'):
        raise Failure('lines', 'the output does not end with the added newline')
    old, rewrites = compare_lines(data, out[:-1], code)
    with open(os.path.join(work, 'out.ppd'), 'wb') as f:
        f.write(out)
    # What the duplex rewrite itself brings is not held against the deletions.
    duplex = {i: line for i, line in rewrites.items() if line.startswith(b'*DefaultDuplex')}
    added = sorted(fails(out) - fails(b''.join(duplex.get(i, l) for i, l in enumerate(old))))
    if any('Unable to open' in fail for fail in added):
        raise Failure('libcups', 'the output does not open: ' + ' '.join(added))
    if added:
        raise Failure('cupstestppd', 'new FAILs: ' + ' | '.join(added[:5]))
    second = run([tool, '-', f.name], env)
    if second.returncode != 0 or second.stderr or second.stdout != out + b'\n':
        a, b = LINE.findall(out + b'\n') + [b'(end)'], LINE.findall(second.stdout) + [b'(end)']
        k = next(k for k, (x, y) in enumerate(zip(a, b)) if x != y or x == b'(end)')
        raise Failure('second run', 'exit %d, stderr %r; line %d %r became %r' % (
            second.returncode, second.stderr[:200], k + 1, a[k][:100], b[k][:100]))
    return 'ok', len(old) - len(LINE.findall(out[:-1])), len(rewrites)


def altered(data):
    """`data` made a monochrome model 13 for Japan: those statements put after line 1."""
    lines = LINE.findall(data)
    eol = lines[0][len(lines[0].rstrip(b'\r\n')):] or b'\n'
    rest = [l for l in lines[1:] if not re.match(rb'\*(cupsModelNumber|ColorDevice|ISOCountryCode):', l)]
    new = [b'*cupsModelNumber: 13', b'*ColorDevice: False', b'*ISOCountryCode: "JP"']
    return b''.join(lines[:1] + [l + eol for l in new] + rest)


def check_file(tool, path):
    """All runs on one corpus file and its altered copy: [(file, copy?, country, result)]."""
    results = []
    with tempfile.TemporaryDirectory(prefix='corpus-check-') as work:
        data = (gzip.open if path.endswith('.gz') else open)(path, 'rb').read()
        with open(os.path.join(work, 'altered.ppd'), 'wb') as f:
            f.write(altered(data))
        for copy, p, d in ((False, path, data), (True, f.name, altered(data))):
            strict = cupstestppd_fails(p)
            relaxed = any('Unable to open' in fail for fail in strict)
            cache = {} if relaxed else {hashlib.sha1(d).digest(): strict}

            def fails(text):  # by text: the countries often give the same output
                key = hashlib.sha1(text).digest()
                if key not in cache:
                    with open(os.path.join(work, 'check.ppd'), 'wb') as c:
                        c.write(text)
                    cache[key] = cupstestppd_fails(c.name, relaxed)
                return cache[key]

            for code, env in COUNTRIES:
                try:
                    result = check_run(tool, p, d, code, env, work, fails)
                except Failure as failure:
                    result = ('failed',) + failure.args
                results.append((os.path.basename(path), copy, code, result))
    return results


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('tool')
    ap.add_argument('corpus')
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--show', type=int, default=10, help='failures printed in full')
    ap.add_argument('--only', default='', help='check only the files whose name contains this')
    args = ap.parse_args()
    files = sorted(os.path.join(args.corpus, n) for n in os.listdir(args.corpus)
                   if re.search(r'\.ppd(\.gz)?$', n) and args.only in n)
    if not files:
        sys.exit('corpus_check: no PPD files in %s' % args.corpus)
    start, results = time.time(), []
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        for file_results in pool.map(check_file, [args.tool] * len(files), files):
            results += file_results
    failures = [r for r in results if r[3][0] == 'failed']
    for name, copy, code, (_, what, hint) in failures[:args.show]:
        print('FAILED %s%s, country "%s": %s: %s\n' % (name, ' (model 13 copy)' * copy, code, what, hint))
    edits = [r[3][1:] for r in results if r[3][0] == 'ok']
    print('%d runs passed, %d of them removing %d lines and rewriting %d in all' % (
        len(edits), sum(map(any, edits)), sum(e[0] for e in edits), sum(e[1] for e in edits)))
    print('%d files, %.0f s, %d jobs; failures by property: %s' % (len(files), time.time() - start,
          args.jobs, dict(collections.Counter(r[3][1] for r in failures)) or 'none'))
    print('%d runs, %d failures' % (len(results), len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == '__main__':
    main()
