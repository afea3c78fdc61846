#!/usr/bin/env python3
"""cupsd_test.py CASE DRIVER TOOL SOURCE_DIR: the driver program under a real cupsd (cupsd_harness).

CASE is one of:
  list     lpinfo and CUPS-Get-PPDs offer the example PPDs under ppd-localize: with the fields
           cups-driverd gives the same files as static PPDs (a gzip one and one whose name is 255
           bytes long among them); the driver's own lines parse whole; a file that is not a PPD
           and one whose name would be longer are left out with a warning each
  list-corpus CORPUS_DIR   the same for every PPD of the real-PPD sample
  queues   lpadmin -m ppd-localize:... under several locales and configurations makes the queue
           PPD that a static copy of `TOOL --country=CC` output makes
  hostile  names that list never prints fail in lpadmin and in a direct `DRIVER cat`; a
           configuration line that cannot be understood fails list and cat, naming file and line
  installed NAME   for the package test, with the installed DRIVER and TOOL: the installed
           configuration file and PPD directory; lpadmin under zh_TW.UTF-8 makes from
           ppd-localize:NAME the queue PPD that a static copy of `TOOL --country=TW` output makes
Prints one line per failed check and exits 1 if any failed.
"""
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cupsd_harness import Cupsd  # noqa: E402

EXAMPLES = ('mono13.ppd', 'color-laser.ppd')
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        if len(failures) <= 20:  # the first ones in full
            print('FAILED: ' + what)


def driver_ppds(src):
    """The driver's PPD directory: the examples, in a subdirectory."""
    return {'examples/' + e: os.path.join(src, 'examples', e) for e in EXAMPLES}


def gzip_copy(src, work):
    path = os.path.join(work, 'color-laser.ppd.gz')
    with open(os.path.join(src, 'examples', 'color-laser.ppd'), 'rb') as f, gzip.GzipFile(path, 'wb', mtime=0) as g:
        g.write(f.read())
    return path


# One line of a driver's `list` as cups-driverd reads it (the sscanf in its load_drivers): the quoted
# name, the bare languages, the quoted make and make-and-model at least, then each further quoted
# field (the type too) only while the one before was read: an empty field ends the reading.
LIST_LINE = re.compile(r'"([^"]{1,255})"[ \t]*(\S{1,127})[ \t]+"([^"]{1,127})"[ \t]+"([^"]{1,127})"'
                       r'(?:[ \t]+"([^"]{1,255})"(?:[ \t]+"([^"]{1,127})"'
                       r'(?:[ \t]+"([^"]{1,127})"(?:[ \t]+"([^"]{1,127})")?)?)?)?')
FIELDS = ('ppd-name', 'ppd-natural-language', 'ppd-make', 'ppd-make-and-model', 'ppd-device-id',
          'ppd-product', 'ppd-psversion', 'ppd-type')


def comparable(attrs):
    """What a driver's line can carry: all but the name and model number; product and psversion, the first."""
    out = {k: v for k, v in attrs.items() if k not in ('ppd-name', 'ppd-model-number')}
    for k in ('ppd-product', 'ppd-psversion'):
        out[k] = out.get(k, [])[:1]
    return out


def as_read_from_a_line(static):
    """What cups-driverd records from a driver's line for a PPD that it lists statically as `static`:
    the reading stops at the first empty field, and the fields after it keep their defaults."""
    out, empty = dict(static), False
    for k, default in (('ppd-device-id', ''), ('ppd-product', ''), ('ppd-psversion', ''), ('ppd-type', 'postscript')):
        if empty:
            out[k] = [default]
        empty = empty or out[k] in ([], [''])
    return out


def case_list(driver, tool, src, work, corpus=None):
    extra = {}  # in the driver's directory only, to be left out with a warning each
    if corpus:  # the real-PPD sample: some lack a device ID or product, so lines may end early
        ppds = {f: os.path.join(corpus, f) for f in sorted(os.listdir(corpus)) if re.search(r'\.ppd(\.gz)?$', f)}
    else:
        mono13 = os.path.join(src, 'examples', EXAMPLES[0])
        ppds = dict(driver_ppds(src), **{'gz/color-laser.ppd.gz': gzip_copy(src, work),
                                         'n/%s.ppd' % ('a' * 236): mono13})  # a name of 255 bytes
        extra = {'n/%s.ppd' % ('b' * 237): mono13, 'notes.txt': os.path.join(src, 'LICENSE')}
    with Cupsd(driver, ppds=dict(ppds, **extra), static=ppds, config='') as cupsd:
        offered = cupsd.get_ppds()
        for name in ppds:
            dynamic, static = offered.get('ppd-localize:' + name), offered.get(name)
            check(static is not None, 'cups-driverd offers the static %s' % name)
            check(dynamic is not None, 'cups-driverd offers ppd-localize:%s' % name)
            if static and dynamic:
                # The examples carry every field; in the sample, a PPD without a device ID has its
                # product, PostScript version and type cut off as any driver's would be.
                if corpus:
                    static = dict(static, **as_read_from_a_line(comparable(static)))
                check(comparable(dynamic) == comparable(static),
                      'fields of ppd-localize:%s\n  driver: %s\n  static: %s' % (name, comparable(dynamic), comparable(static)))
        ours = sorted(n for n in offered if n.startswith('ppd-localize:'))
        check(ours == sorted('ppd-localize:' + n for n in ppds), 'offered ppd-localize names: %s' % ours)
        # lpinfo -l -m: "Model:  name = NAME" and its indented fields, the same but for the name.
        records = {}
        for block in re.split(r'^Model:', cupsd.client(['lpinfo', '-l', '-m']).stdout.decode(), flags=re.M)[1:]:
            fields = {k.strip(): v.strip() for k, _, v in (line.partition('=') for line in block.strip().splitlines())}
            records[fields.pop('name')] = fields
        for name in ppds:
            dynamic, static = records.get('ppd-localize:' + name), records.get(name)
            check(dynamic is not None and dynamic == static, 'lpinfo -l -m: ppd-localize:%s %s, static %s' % (name, dynamic, static))
        # The lines as printed: each parses whole, and twice the same (names are stable).
        first, second = cupsd.driver_run(['list']), cupsd.driver_run(['list'])
        warned = first.stderr.decode(errors='replace').splitlines()
        check(first.returncode == 0 and len(warned) == len(extra) and all(
            any(name in line for line in warned) for name in extra), 'list: exit %d, stderr %r' % (first.returncode, warned))
        check(first.stdout == second.stdout, 'list prints the same lines twice')
        lines = first.stdout.decode().splitlines()
        check(len(lines) == len(ppds), 'list prints %d lines: %r' % (len(ppds), lines))
        for line in lines:
            m = LIST_LINE.match(line)
            check(m and (corpus or all(m.groups())), 'list line has all eight fields as cups-driverd reads them: %r' % line)
            if m:
                got = {k: v for k, v in zip(FIELDS, m.groups()) if v is not None}
                static = offered.get(got['ppd-name'].replace('ppd-localize:', '', 1), {})
                want = {k: ','.join(map(str, comparable(static).get(k, []))) for k in got if k != 'ppd-name'}
                check({k: got[k] for k in want} == want, 'list line %r\n  against static %r' % (line, want))


# (lpadmin's locale, ppd-localize.conf after PPDDirectory, the country of the expected PPD, -v too).
# lpadmin -m with another option fetches the PPD itself (CUPS-Get-PPD: cupsd gives cups-driverd and
# the driver LANG from the request's language, LANG=en.UTF8 under C); with -m alone it leaves the
# copy to cupsd, which runs them without LANG: then only the configuration decides.
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


def case_queues(driver, tool, src, work):
    countries = sorted({c for _, _, c, _ in QUEUE_CASES})
    static = {}
    for country in countries:
        for example in EXAMPLES:
            out = os.path.join(work, '%s-%s' % (country or 'none', example))
            with open(out, 'wb') as f:
                subprocess.run([tool, '--country=' + country, '-', os.path.join(src, 'examples', example)],
                               stdout=f, check=True, env={'PATH': '/usr/bin:/bin'})
            static['static/%s/%s' % (country or 'none', example)] = out
    with Cupsd(driver, ppds=driver_ppds(src), static=static, config='') as cupsd:
        expected = {}
        for name in static:
            queue = 'S_' + re.sub(r'\W', '_', name)
            cupsd.client(['lpadmin', '-p', queue, '-E', '-v', 'file:///dev/null', '-m', name])
            expected[name] = cupsd.queue_ppd(queue)
            # Both ways go through the same lpadmin and cupsd; the tool's output itself comes out unchanged.
            check(expected[name] == open(static[name], 'rb').read(), 'the static queue %s keeps the tool output' % queue)
        for i, (lang, config, country, device) in enumerate(QUEUE_CASES):
            cupsd.write_config(config)
            for example in EXAMPLES:
                queue = 'Q%d_%s' % (i, example.split('.')[0].replace('-', '_'))
                argv = ['lpadmin', '-p', queue, '-E'] + ['-v', 'file:///dev/null'] * device
                result = cupsd.client(argv + ['-m', 'ppd-localize:examples/' + example], lang=lang, check=False)
                what = '%s -m ppd-localize:examples/%s under LC_ALL=%s with %r' % (' '.join(argv), example, lang, config)
                check(result.returncode == 0, '%s: exit %d, %s' % (what, result.returncode, result.stderr.decode()))
                if result.returncode == 0:
                    check(cupsd.queue_ppd(queue) == expected['static/%s/%s' % (country or 'none', example)],
                          '%s: the queue PPD is the static one for country "%s"' % (what, country))


HOSTILE = [
    'ppd-localize:../../etc/passwd',
    'ppd-localize:examples/../examples/mono13.ppd',
    'ppd-localize:examples/mono13.ppd/..',
    'ppd-localize:./examples/mono13.ppd',
    'ppd-localize:examples//mono13.ppd',
    'ppd-localize:/etc/passwd',
    'ppd-localize:examples/unknown.ppd',
    'ppd-localize:examples',
    'ppd-localize:',
    'ppd-localize:examples/mono13.ppd\n',
    'ppd-localize:examples/\x1bmono13.ppd',
    'ppd-localize:' + 'x/' * 200 + 'mono13.ppd',
    'ppd-localize:examples/' + 'x' * 5000,
    'examples/mono13.ppd',
    'other:examples/mono13.ppd',
]


def one_line_failure(result):
    return result.returncode == 1 and not result.stdout and result.stderr.count(b'\n') == 1 and result.stderr.endswith(b'\n')


def case_hostile(driver, tool, src, work):
    with Cupsd(driver, ppds=driver_ppds(src), config='') as cupsd:
        good = cupsd.driver_run(['cat', 'ppd-localize:examples/mono13.ppd'], LANG='de_DE.UTF8')
        check(good.returncode == 0 and good.stdout.startswith(b'*PPD-Adobe'), 'cat of a listed name works')
        for i, name in enumerate(HOSTILE):
            result = cupsd.driver_run(['cat', name], LANG='de_DE.UTF8')
            check(one_line_failure(result), 'cat %r: exit %d, stdout %d bytes, stderr %r' % (
                name, result.returncode, len(result.stdout), result.stderr[:300]))
            queue = 'H%d' % i
            result = cupsd.client(['lpadmin', '-p', queue, '-E', '-v', 'file:///dev/null', '-m', name], check=False)
            check(result.returncode != 0 and not (cupsd.root / 'ppd' / (queue + '.ppd')).exists(),
                  'lpadmin -m %r fails and makes no queue: exit %d' % (name, result.returncode))
        conf = str(cupsd.root / 'ppd-localize.conf')
        for i, bad in enumerate(('Countree DE\n', 'Country D E\n', 'DefaultCountry Germany\n')):
            cupsd.write_config('# comment\n\n' + bad)
            for args in (['cat', 'ppd-localize:examples/mono13.ppd'], ['list']):
                result = cupsd.driver_run(args, LANG='de_DE.UTF8')
                message = result.stderr.decode(errors='replace')
                check(one_line_failure(result) and conf in message and re.search(r'\b4\b', message),
                      '%s with %r in the configuration: exit %d, stdout %d bytes, stderr %r' % (
                          args[0], bad, result.returncode, len(result.stdout), message))
            queue = 'B%d' % i
            result = cupsd.client(['lpadmin', '-p', queue, '-E', '-v', 'file:///dev/null',
                                   '-m', 'ppd-localize:examples/mono13.ppd'], check=False)
            check(result.returncode != 0 and not (cupsd.root / 'ppd' / (queue + '.ppd')).exists(),
                  'lpadmin fails with %r in the configuration: exit %d' % (bad, result.returncode))


def case_installed(driver, tool, name, work):
    static = os.path.join(work, 'tw.ppd')
    with open(static, 'wb') as f:
        subprocess.run([tool, '--country=TW', '-', '/usr/share/ppd-localize/' + name], stdout=f, check=True)
    with Cupsd(driver, static={'static/tw.ppd': static}) as cupsd:
        shutil.copyfile('/etc/cups/ppd-localize.conf', cupsd.root / 'ppd-localize.conf')
        cupsd.client(['lpadmin', '-p', 'S', '-E', '-v', 'file:///dev/null', '-m', 'static/tw.ppd'])
        result = cupsd.client(['lpadmin', '-p', 'Q', '-E', '-v', 'file:///dev/null', '-m', 'ppd-localize:' + name],
                              lang='zh_TW.UTF-8', check=False)
        check(result.returncode == 0, 'lpadmin -m ppd-localize:%s: exit %d, %s' % (name, result.returncode, result.stderr))
        check(result.returncode == 0 and cupsd.queue_ppd('Q') == cupsd.queue_ppd('S'),
              'the queue PPD is the static one for TW')


if __name__ == '__main__':
    case, driver, tool, src = sys.argv[1:5]
    with tempfile.TemporaryDirectory(prefix='cupsd-test-') as work:
        args = [os.path.abspath(a) for a in (driver, tool, src)] + [work]
        if case == 'installed':
            case_installed(args[0], args[1], src, work)
        elif case == 'list-corpus':
            case_list(*args, corpus=sys.argv[5])
        else:
            {'list': case_list, 'queues': case_queues, 'hostile': case_hostile}[case](*args)
    print('%s: %d failed checks' % (case, len(failures)))
    sys.exit(1 if failures else 0)
