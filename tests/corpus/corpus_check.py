#!/usr/bin/env python3
# corpus_check.py TOOL CORPUS SAMPLE [--jobs N] [--outputs FILE [--record]]: checks that CORPUS holds the
# PPDs SAMPLE names, then runs TOOL on each and on a monochrome model 13 copy for eight countries, checking
# each run as check_run says (check_refused_run for a file libcups refuses); with --outputs, also that each
# file's outputs are those recorded in FILE (--record writes FILE instead); prints "N runs, M failures".
import argparse, concurrent.futures, ctypes, gzip, hashlib, os, pathlib, re, subprocess, sys, tempfile

COUNTRIES = [('JP', {'LC_ALL': 'ja_JP.UTF-8'}), ('CN', {'LC_ALL': 'zh_CN.UTF-8'}),
             ('TW', {'LC_ALL': 'zh_TW.UTF-8'}), ('KR', {'LC_ALL': 'ko_KR.UTF-8'}),
             ('HK', {'LC_ALL': 'zh_HK.UTF-8'}), ('DE', {'LC_PAPER': 'de_DE.UTF-8'}),
             ('US', {'LANG': 'en_US.UTF-8'}), ('', {})]
LIMIT = 60  # seconds for any one program run
LINE = re.compile(rb'[^\r\n]*(?:\r\n|\r|\n)|[^\r\n]+\Z')
REWRITABLE = re.compile(rb'\*(DefaultDuplex|ISOCountryCode):')


class Failure(Exception):
    pass


def run(argv, env):
    try:
        return subprocess.run(argv, capture_output=True, timeout=LIMIT, env=dict(env, PATH='/usr/bin:/bin'))
    except subprocess.TimeoutExpired:
        raise Failure('time limit: %s ran over %d s' % (argv[0], LIMIT))


def cupstestppd_fails(path, relaxed=False):  # its FAIL lines, the file's name and line numbers aside
    text = run(['cupstestppd', '-W', 'none'] + ['-r'] * relaxed + [path], {'LC_ALL': 'C'}).stdout
    return {re.sub(r'line \d+', 'line #', ' '.join(l.replace(path, '<file>').split()))
            for l in text.decode('latin-1').splitlines() if '**FAIL**' in l}


def cupstestppd_of(path, data, check):
    # cupstestppd_fails for texts, as the input at `path` is checked (relaxed when strict cannot open
    # it), each text once: the countries often give the same output. `check` is a file to write them to.
    strict = cupstestppd_fails(path)
    relaxed = any('Unable to open' in fail for fail in strict)
    cache = {} if relaxed else {data: strict}

    def fails(text):
        if text not in cache:
            check.write_bytes(text)
            cache[text] = cupstestppd_fails(str(check), relaxed)
        return cache[text]
    return fails


def sample_files(corpus, sample, program):
    # The PPDs in CORPUS, which must be those SAMPLE names: when the packages the sample comes from
    # change, review the new pick, then the list.
    files = sorted(str(p) for p in pathlib.Path(corpus).iterdir() if re.search(r'\.ppd(\.gz)?$', p.name))
    names, listed = {os.path.basename(f) for f in files}, set(open(sample).read().split())
    if names != listed:
        sys.exit('%s: the sample made in %s differs from %s (%d files missing, %d not listed): missing %s; '
                 'not listed %s' % (program, corpus, sample, len(listed - names), len(names - listed),
                                    ' '.join(sorted(listed - names)[:5]) or '-', ' '.join(sorted(names - listed)[:5]) or '-'))
    return files


def read(path):
    return (gzip.open if path.endswith('.gz') else open)(path, 'rb').read()


def check_run(tool, path, data, code, env, work, fails):
    # Exit 0, nothing on stderr, and an output that ends with the added newline.
    first = run([tool, '-', path], env)
    out = first.stdout
    if first.returncode != 0 or first.stderr or not out.endswith(b'\n'):
        raise Failure('exit %d, stderr %r, tail %r' % (first.returncode, first.stderr[:300], out[-20:]))
    # Before it, the input's lines in order, some left out, at most the two rewrites {input index: line}.
    allowed = {b'DefaultDuplex': b'*DefaultDuplex: DuplexNoTumble\n',
               b'ISOCountryCode': b'*ISOCountryCode: "%s"\n' % code.encode()}
    old, rewrites, i = LINE.findall(data), {}, 0
    for k, line in enumerate(LINE.findall(out[:-1])):
        while i < len(old) and line not in (old[i], allowed.get((REWRITABLE.match(old[i]) or [0, 0])[1])):
            i += 1
        if i == len(old):
            raise Failure('lines: output line %d is no later input line or rewrite: %r' % (k + 1, line[:100]))
        if old[i] != line:
            if line in rewrites.values():
                raise Failure('lines: a second rewrite: %r' % line)
            rewrites[i] = line
        i += 1
    # The duplex default is set only where the PPD offers the choice.
    duplex = {i: line for i, line in rewrites.items() if line.startswith(b'*DefaultDuplex')}
    if duplex and not offers_duplex(data):
        raise Failure('the duplex default was set to a choice the PPD does not offer')
    # No new cupstestppd FAIL; what the duplex rewrite itself brings is not held against the run.
    added = sorted(fails(out) - fails(b''.join(duplex.get(i, l) for i, l in enumerate(old))))
    if added:
        raise Failure('new cupstestppd FAILs: ' + ' | '.join(added[:5]))
    # Run again on its output, the same output plus one more newline.
    output = pathlib.Path(work, 'out.ppd')
    output.write_bytes(out)
    second = run([tool, '-', str(output)], env)
    if second.returncode != 0 or second.stderr or second.stdout != out + b'\n':
        at = len(os.path.commonprefix([out + b'\n', second.stdout]))  # the first byte that differs
        raise Failure('second run: exit %d, stderr %r; from byte %d, %r became %r' % (
            second.returncode, second.stderr[:200], at, (out + b'\n')[at:at + 80], second.stdout[at:at + 80]))
    return out


def digest(data):
    return hashlib.sha256(data).hexdigest()[:16]


def without_duplex_defaults(out):  # hashed apart from whether the PPD offers the duplex choice
    return b''.join(line for line in LINE.findall(out) if not line.startswith(b'*DefaultDuplex:'))


LIBCUPS_REASON = '''import ctypes, sys
cups = ctypes.CDLL("libcups.so.2")
cups.ppdErrorString.restype = ctypes.c_char_p
sys.stdout.buffer.write(cups.ppdErrorString(int(sys.argv[1])))'''


def libcups_refusal(path):  # None when libcups opens the file, else (status, line)
    cups = ctypes.CDLL('libcups.so.2')
    cups.ppdOpenFile.restype, cups.ppdOpenFile.argtypes = ctypes.c_void_p, [ctypes.c_char_p]
    cups.ppdClose.argtypes = [ctypes.c_void_p]
    ppd = cups.ppdOpenFile(path.encode())
    if ppd:
        cups.ppdClose(ppd)
        return None
    line = ctypes.c_int()
    return cups.ppdLastError(ctypes.byref(line)), line.value


def check_refused_run(tool, path, data, refusal, env, options=()):
    # Exit 0, the input unedited plus the newline, one warning naming the file and libcups's reason,
    # in the words libcups uses under the run's environment.
    status, line = refusal
    reason = run([sys.executable, '-c', LIBCUPS_REASON, str(status)], env).stdout
    warning = re.compile(rb'ppd-localize: %s: warning: [^\n]*%s[^\n]*line %d\b[^\n]*\n\Z' % (
        re.escape(path.encode()), re.escape(reason), line))
    result = run([tool, *options, '-', path], env)
    if result.returncode != 0 or result.stdout != data + b'\n' or not warning.match(result.stderr):
        raise Failure('refused by libcups (%s, line %d): exit %d, output unchanged: %s, stderr %r' % (
            reason.decode('utf-8', 'replace'), line, result.returncode, result.stdout == data + b'\n',
            result.stderr[:300]))


def altered(data):  # a monochrome model 13 for Japan: those statements right after line 1
    lines = LINE.findall(data)
    eol = lines[0][len(lines[0].rstrip(b'\r\n')):] or b'\n'
    rest = [l for l in lines[1:] if not re.match(rb'\*(cupsModelNumber|ColorDevice|ISOCountryCode):', l)]
    new = [b'*cupsModelNumber: 13', b'*ColorDevice: False', b'*ISOCountryCode: "JP"']
    return b''.join(lines[:1] + [l + eol for l in new] + rest)


def check_file(tool, path):
    # [(file, copy?, country, failure or None)] for the file and its copy, and for each of the two
    # (file, copy?, the input's digest, the outputs' digest, their digest without the duplex defaults)
    results, outputs = [], []
    with tempfile.TemporaryDirectory(prefix='corpus-check-') as work:
        data = read(path)
        copy_path, check = pathlib.Path(work, 'altered.ppd'), pathlib.Path(work, 'check.ppd')
        copy_path.write_bytes(altered(data))
        for copy, p, d in ((False, path, data), (True, str(copy_path), altered(data))):
            refusal = libcups_refusal(p)
            if refusal:
                for code, env in COUNTRIES:
                    try:
                        failure = check_refused_run(tool, p, d, refusal, env)
                    except Failure as e:
                        failure = e.args[0]
                    results.append((os.path.basename(path), copy, code, failure))
                continue
            fails = cupstestppd_of(p, d, check)
            outs = []
            for code, env in COUNTRIES:
                try:
                    outs.append(check_run(tool, p, d, code, env, work, fails))
                    failure = None
                except Failure as e:
                    failure = e.args[0]
                results.append((os.path.basename(path), copy, code, failure))
            outputs.append((os.path.basename(path), copy, digest(d), digest(b'\0'.join(outs)),
                            digest(b'\0'.join(without_duplex_defaults(o) for o in outs))))
    return results, outputs


def offers_duplex(data):  # the PPD offers the long-edge duplex choice
    return re.search(rb'(?:^|[\r\n])\*Duplex DuplexNoTumble[/:]', data) is not None


def check_outputs(recorded_lines, outputs, corpus):
    # Each file's outputs as recorded: whole where the PPD offers the duplex choice that a rule may set,
    # else but for the duplex default lines; nothing for a file whose input is not the one recorded.
    recorded = {(f[0], f[1] == 'copy'): f[2:] for f in (l.split() for l in recorded_lines)}
    failures = []
    for name, copy, data, full, nodup in outputs:
        want = recorded.get((name, copy))
        label = '%s%s' % (name, ' (model 13 copy)' * copy)
        if want is None:
            failures.append('%s: no outputs recorded' % label)
        elif want[0] != data:
            failures.append('%s: the input is not the one whose outputs were recorded' % label)
        elif want[1] != full and (want[2] != nodup or offers_duplex(altered_or_not(corpus, name, copy))):
            failures.append('%s: the outputs differ from those recorded' % label)
    return failures


def altered_or_not(corpus, name, copy):
    data = read(os.path.join(corpus, name))
    return altered(data) if copy else data


if __name__ == '__main__':
    ap = argparse.ArgumentParser()
    ap.add_argument('tool')
    ap.add_argument('corpus')
    ap.add_argument('sample', help='the list of the file names the corpus must hold')
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--outputs', help='the outputs recorded, file by file')
    ap.add_argument('--record', action='store_true', help='write the outputs to --outputs instead')
    args = ap.parse_args()
    files = sample_files(args.corpus, args.sample, 'corpus_check')
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        checked = list(pool.map(check_file, [args.tool] * len(files), files))
    results = [r for rs, _ in checked for r in rs]
    outputs = [o for _, os_ in checked for o in os_]
    failures = [r for r in results if r[3]]
    for name, copy, code, failure in failures[:10]:  # the first ten in full
        print('FAILED %s%s, country "%s": %s\n' % (name, ' (model 13 copy)' * copy, code, failure))
    differing = []
    if args.outputs and args.record:
        with open(args.outputs, 'w') as f:
            f.write(''.join('%s %s %s %s %s\n' % (n, 'copy' if c else 'file', d, full, nodup)
                            for n, c, d, full, nodup in outputs))
    elif args.outputs:
        differing = check_outputs(open(args.outputs).read().splitlines(), outputs, args.corpus)
        for line in differing[:10]:
            print('FAILED ' + line)
    print('%d runs, %d failures; %d files whose outputs differ from those recorded' % (
        len(results), len(failures), len(differing)))
    sys.exit(1 if failures or differing else 0)
