#!/usr/bin/env python3
# cupsd_test.py CASE DRIVER TOOL SOURCE_DIR [CORPUS_DIR], or installed DRIVER TOOL NAME (tests/package_test.sh):
# the driver program under a private real cupsd (cupsd_harness.py). `list` and `list-corpus` (over the sample)
# compare what cupsd offers under ppd-localize: with the same files as static PPDs, and read the driver's own
# lines; `queues` and `installed` make queues with lpadmin and compare their PPD with that of a static copy of
# `TOOL --country=CC` output; `hostile` feeds names list never prints, and malformed configuration lines.
# Prints one line per failed check and exits 1 if any failed.
import gzip
import os
import pathlib
import re
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cupsd_harness import Cupsd  # noqa: E402

EXAMPLES = ('mono13.ppd', 'color-laser.ppd')
MONO13 = 'ppd-localize:examples/mono13.ppd'
failures = []


def examples(src):
    return {'examples/' + e: src / 'examples' / e for e in EXAMPLES}


def check(ok, what):
    if not ok:
        failures.append(what)
        if len(failures) <= 20:
            print('FAILED: ' + what)


# A driver's `list` line as cups-driverd's sscanf reads it: name, bare languages, make and make-and-model,
# then each further quoted field (the type too) only while the one before was read (not empty).
LIST_LINE = re.compile(r'"([^"]{1,255})"[ \t]*(\S{1,127})[ \t]+"([^"]{1,127})"[ \t]+"([^"]{1,127})"'
                       r'(?:[ \t]+"([^"]{1,255})"(?:[ \t]+"([^"]{1,127})"'
                       r'(?:[ \t]+"([^"]{1,127})"(?:[ \t]+"([^"]{1,127})")?)?)?)?')
FIELDS = ('ppd-name', 'ppd-natural-language', 'ppd-make', 'ppd-make-and-model', 'ppd-device-id',
          'ppd-product', 'ppd-psversion', 'ppd-type')
DEFAULTS = (('ppd-device-id', ''), ('ppd-product', ''), ('ppd-psversion', ''), ('ppd-type', 'postscript'))


def comparable(attrs, as_from_a_line=False):
    """What a driver's line can carry: all but name and model number, the first product and psversion.
    as_from_a_line: what cups-driverd keeps from such a line, whose fields after an empty one are lost."""
    out = {k: v for k, v in attrs.items() if k not in ('ppd-name', 'ppd-model-number')}
    out.update({k: out.get(k, [])[:1] for k in ('ppd-product', 'ppd-psversion')})
    empty = False
    for k, default in DEFAULTS * as_from_a_line:
        out[k], empty = [default] if empty else out[k], empty or out[k] in ([], [''])
    return out


def case_list(driver, tool, src, work, corpus=None):
    mono13 = src / 'examples' / EXAMPLES[0]
    if corpus:  # the real-PPD sample: some lack a device ID or product, so lines may end early
        ppds = {f: os.path.join(corpus, f) for f in sorted(os.listdir(corpus)) if re.search(r'\.ppd(\.gz)?$', f)}
    else:
        (work / 'c.ppd.gz').write_bytes(gzip.compress((src / 'examples/color-laser.ppd').read_bytes(), mtime=0))
        ppds = examples(src)
        ppds.update({'gz/color-laser.ppd.gz': work / 'c.ppd.gz', 'n/%s.ppd' % ('a' * 236): mono13})  # 255 bytes
    extra = {} if corpus else {'n/%s.ppd' % ('b' * 237): mono13, 'notes.txt': src / 'LICENSE'}  # to leave out
    with Cupsd(driver, ppds=dict(ppds, **extra), static=ppds, config='') as cupsd:
        offered = cupsd.get_ppds()
        for name in ppds:
            dynamic, static = offered.get('ppd-localize:' + name), offered.get(name)
            check(static and dynamic and comparable(dynamic) == comparable(static, bool(corpus)),
                  'fields of ppd-localize:%s\n  driver: %s\n  static: %s' % (name, dynamic, static))
        ours = sorted(n for n in offered if n.startswith('ppd-localize:'))
        check(ours == sorted('ppd-localize:' + n for n in ppds), 'offered ppd-localize names: %s' % ours)
        records = {}  # lpinfo -l -m: "Model:  name = NAME" and its indented fields, the same but for the name
        for block in re.split(r'^Model:', cupsd.run(['lpinfo', '-l', '-m'], LC_ALL='C').stdout.decode(), flags=re.M)[1:]:
            fields = {k.strip(): v.strip() for k, _, v in (line.partition('=') for line in block.strip().splitlines())}
            records[fields.pop('name')] = fields
        for name in ppds:
            check(records.get('ppd-localize:' + name, 'none') == records.get(name),
                  'lpinfo -l -m: ppd-localize:%s %s, static %s' % (name, records.get('ppd-localize:' + name), records.get(name)))
        first, second = cupsd.run([cupsd.driver_path, 'list']), cupsd.run([cupsd.driver_path, 'list'])
        warned = first.stderr.decode(errors='replace').splitlines()
        check(first.returncode == 0 and len(warned) == len(extra) and all(any(n in w for w in warned) for n in extra),
              'list: exit %d, stderr %r' % (first.returncode, warned))
        check(first.stdout == second.stdout, 'list prints the same lines twice')
        lines = first.stdout.decode().splitlines()
        check(len(lines) == len(ppds), 'list prints %d lines: %r' % (len(ppds), lines))
        for line in lines:
            m = LIST_LINE.match(line)
            got = {k: v for k, v in zip(FIELDS, m.groups()) if v is not None} if m else {'ppd-name': ''}
            static = comparable(offered.get(got['ppd-name'].replace('ppd-localize:', '', 1), {}))
            want = {k: ','.join(map(str, static.get(k, []))) for k in got if k != 'ppd-name'}
            check(m and (corpus or all(m.groups())) and {k: got[k] for k in want} == want,
                  'list line %r: all eight fields as cups-driverd reads them, as static %r' % (line, want))


# (lpadmin's locale, ppd-localize.conf after PPDDirectory, the expected country, -v too). lpadmin -m with
# another option fetches the PPD itself (CUPS-Get-PPD: cupsd gives the driver LANG from the request's
# language, en.UTF8 under C); with -m alone cupsd copies it, giving no LANG: only the configuration decides.
QUEUE_CASES = [
    ('zh_TW.UTF-8', '', 'TW', True),
    ('de_DE.UTF-8', '', 'DE', True),
    ('C', '', '', True),
    ('C', 'DefaultCountry KR\n', 'KR', True),
    ('zh_TW.UTF-8', 'DefaultCountry KR\n', 'TW', True),
    ('zh_TW.UTF-8', 'Country DE\n', 'DE', True),
    ('C', '# set by the administrators\nCountry JP\nDefaultCountry KR\n', 'JP', True),
    ('zh_TW.UTF-8', 'DefaultCountry KR\n', 'KR', False),
]


def localized(tool, country, ppd, out):
    out.write_bytes(subprocess.run([tool, '--country=' + country, '-', ppd], capture_output=True, check=True,
                                   env={'PATH': '/usr/bin:/bin'}).stdout)
    return out


def case_queues(driver, tool, src, work):
    static = {'static/%s/%s' % (c or 'none', e): localized(tool, c, src / 'examples' / e, work / (c + e))
              for c in {c for _, _, c, _ in QUEUE_CASES} for e in EXAMPLES}
    with Cupsd(driver, ppds=examples(src), static=static, config='') as cupsd:
        expected = {name: cupsd.lpadmin('S%d' % i, name)[1] for i, name in enumerate(static)}
        for name, path in static.items():  # the same lpadmin and cupsd; the tool's output comes out unchanged
            check(expected[name] == path.read_bytes(), 'the static queue for %s keeps the tool output' % name)
        for i, (lang, config, country, device) in enumerate(QUEUE_CASES):
            cupsd.write_config(config)
            for e in EXAMPLES:
                result, ppd = cupsd.lpadmin('Q%d%s' % (i, e[0]), 'ppd-localize:examples/' + e, lang, device)
                check(result.returncode == 0 and ppd == expected['static/%s/%s' % (country or 'none', e)],
                      'lpadmin %s-m ppd-localize:examples/%s under LC_ALL=%s with %r: exit %d %s; want the static PPD for "%s"' % (
                          '-v file:///dev/null ' * device, e, lang, config, result.returncode, result.stderr.decode(), country))


HOSTILE = ['ppd-localize:../../etc/passwd', 'ppd-localize:examples/../examples/mono13.ppd',
           'ppd-localize:examples/mono13.ppd/..', 'ppd-localize:./examples/mono13.ppd', 'ppd-localize:examples//mono13.ppd',
           'ppd-localize:/etc/passwd', 'ppd-localize:examples/unknown.ppd', 'ppd-localize:examples', 'ppd-localize:',
           MONO13 + '\n', 'ppd-localize:examples/\x1bmono13.ppd', 'ppd-localize:' + 'x/' * 200 + 'mono13.ppd',
           'ppd-localize:examples/' + 'x' * 5000, 'examples/mono13.ppd', 'other:examples/mono13.ppd']


def case_hostile(driver, tool, src, work):
    def fails_in_one_line(result, what, *patterns):  # which stderr must match
        check(result.returncode == 1 and not result.stdout and result.stderr.count(b'\n') == 1 and result.stderr.endswith(b'\n')
              and all(re.search(p, result.stderr.decode(errors='replace')) for p in patterns),
              '%s: exit %d, stdout %d bytes, stderr %r' % (what, result.returncode, len(result.stdout), result.stderr[:300]))

    with Cupsd(driver, ppds=examples(src), config='') as cupsd:
        good = cupsd.run([cupsd.driver_path, 'cat', MONO13], LANG='de_DE.UTF8')
        check(good.returncode == 0 and good.stdout.startswith(b'*PPD-Adobe'), 'cat of a listed name works')
        for i, name in enumerate(HOSTILE):
            fails_in_one_line(cupsd.run([cupsd.driver_path, 'cat', name], LANG='de_DE.UTF8'), 'cat %r' % name)
            result, ppd = cupsd.lpadmin('H%d' % i, name)
            check(result.returncode != 0 and ppd is None, 'lpadmin -m %r fails, no queue: exit %d' % (name, result.returncode))
        for i, bad in enumerate(('Countree DE\n', 'Country D E\n', 'DefaultCountry Germany\n')):
            cupsd.write_config('# comment\n\n' + bad)  # line 4
            for args in (['cat', MONO13], ['list']):
                fails_in_one_line(cupsd.run([cupsd.driver_path] + args, LANG='de_DE.UTF8'),
                                  '%s with %r' % (args[0], bad), re.escape(str(cupsd.root / 'ppd-localize.conf')), r'\b4\b')
            result, ppd = cupsd.lpadmin('B%d' % i, MONO13)
            check(result.returncode != 0 and ppd is None, 'lpadmin with %r: exit %d' % (bad, result.returncode))


def case_installed(driver, tool, name, work):
    static = localized(tool, 'TW', '/usr/share/ppd-localize/' + name, work / 'tw.ppd')
    with Cupsd(driver, static={'static/tw.ppd': static}) as cupsd:
        (cupsd.root / 'ppd-localize.conf').write_bytes(pathlib.Path('/etc/cups/ppd-localize.conf').read_bytes())
        result, ppd = cupsd.lpadmin('Q', 'ppd-localize:' + name, 'zh_TW.UTF-8')
        check(result.returncode == 0 and ppd is not None and ppd == cupsd.lpadmin('S', 'static/tw.ppd')[1],
              'lpadmin -m ppd-localize:%s under zh_TW.UTF-8: exit %d %s; want the static PPD for TW' % (
                  name, result.returncode, result.stderr.decode()))


if __name__ == '__main__':
    case, driver, tool, src = sys.argv[1:5]
    with tempfile.TemporaryDirectory(prefix='cupsd-test-') as work:
        args = [pathlib.Path(a).absolute() for a in (driver, tool)]
        if case == 'installed':
            case_installed(*args, src, pathlib.Path(work))
        else:
            {'list': case_list, 'list-corpus': case_list, 'queues': case_queues, 'hostile': case_hostile}[case](
                *args, pathlib.Path(src).absolute(), pathlib.Path(work), *sys.argv[5:])
    print('%s: %d failed checks' % (case, len(failures)))
    sys.exit(1 if failures else 0)
