#!/usr/bin/env python3
# regional_check.py TOOL CORPUS SAMPLE RULES [--jobs N]: checks that CORPUS holds the PPDs SAMPLE names,
# then runs TOOL --rules=RULES on each, and on a copy whose defaults name a regional size it offers, for
# several countries and none, checking each run as check_run says (check_refused_run for a file libcups
# refuses) against what RULES asks for that printer and country; prints "N runs, M failures".
#
# What a run must do is read from RULES itself (Country and the name patterns; RemovePaper, SetDefault
# PageSize and KeepAsIs), so that the file and the tool are held together; a rules file that asks for
# more than that is refused rather than half checked.
import argparse, concurrent.futures, ctypes, fnmatch, gzip, os, pathlib, re, sys, tempfile

from corpus_check import LIBCUPS_REASON, Failure, cupstestppd_fails, libcups_refusal, run

# Letter countries (BZ is one for PAPPL only), A4 ones in Asia and Europe, the three that keep the kai sizes,
# and none.
COUNTRIES = ['JP', 'CN', 'TW', 'HK', 'DE', 'US', 'CA', 'BZ', '']
ENV = {'LC_ALL': 'C'}  # the country comes from --country only
DEFAULTS = ['DefaultPageSize', 'DefaultPageRegion', 'DefaultImageableArea', 'DefaultPaperDimension']
NAME_FIELDS = {'manufacturer': 'manufacturer', 'modelname': 'modelname', 'nickname': 'nickname',
               'product': 'products'}


# Faults of the tool this check has found and that are not mended yet: file name, and the patterns of the
# problems they bring. They are reported on every run; once a file's fault is gone, its entry fails the check
# until it is removed.
KNOWN_LIMITS = {
    # What the tool leaves by design (README, "What is deleted"): an option statement is matched with one blank
    # between its keyword and its option, as in "*PageRegion EnvJ3/". This file writes "*PageRegion  EnvJ3/..."
    # with two, which libcups reads too: its four Japanese region choices stay, and with them the 20 constraints
    # that name them under PageRegion; their PageSize, ImageableArea and PaperDimension statements go.
    '037-op-hp_officejet_9100_series.ppd': [r'PageRegion: still offered EnvJ3 EnvJ4 JPost JPostD; lost - .*',
                                            r'constraints: 20 kept that name a removed size, 0 others lost'],
}


class RulesError(Exception):
    pass


def read_rules(path):
    # [[(conditions, actions)] for each table], in file order; conditions: [('country', codes, negated)]
    # or [(field, pattern)]; actions: [('remove', names)], [('default', choice)] or [('keep',)].
    text = open(path, 'rb').read().decode('utf-8')
    tables, rows, row = [], None, None
    for number, raw in enumerate(text.split('\n'), 1):
        line = re.sub(r'(?<!\\)#.*', '', raw).replace('\\#', '#').strip(' \t\r')
        if not line:
            continue
        where = '%s:%d' % (path, number)
        directive, value = (re.split(r'[ \t]+', line, maxsplit=1) + [''])[:2]
        key = directive.lower()
        if re.fullmatch(r'<table[ \t]+[^>]+>', line, re.I):
            rows = []
            tables.append(rows)
        elif key == '</table>':
            rows = None
        elif key == '<row>':
            row = ([], [])
        elif key == '</row>':
            rows.append(row)
            row = None
        elif row is None:
            raise RulesError('%s: %s outside a row' % (where, directive))
        elif key == 'country':
            codes = value.split()
            negated = all(c.startswith('!') for c in codes)
            row[0].append(('country', {c.lstrip('!') for c in codes}, negated))
        elif key in NAME_FIELDS:
            row[0].append((NAME_FIELDS[key], value))
        elif key == 'removepaper':
            row[1].append(('remove', value.split()))
        elif key == 'setdefault' and value.split()[:1] == ['PageSize'] and len(value.split()) == 2:
            row[1].append(('default', value.split()[1]))
        elif key == 'keepasis':
            row[1].append(('keep',))
        else:
            raise RulesError('%s: "%s" is not modelled by this check' % (where, line))
    return tables


def matches(conditions, printer, country):
    for condition in conditions:
        if condition[0] == 'country':
            if ((country or 'none') in condition[1]) == condition[2]:
                return False
        elif not any(fnmatch.fnmatchcase(name, condition[1]) for name in printer[condition[0]]):
            return False
    return True


def choices(info, option):
    return info['options'].get(option, ('', []))[1]


def expected(tables, printer, country):
    # (the PageSize choices removed, the default set or None): the first matching row of each table, in
    # order. A default is set only where the choice is still offered, and a size that one of the four
    # defaults names at that point is kept.
    offered = set(choices(printer, 'PageSize')) | set(choices(printer, 'PageRegion'))
    defaults = {v for v in printer['defaults'].values() if v is not None}
    removed, default = set(), None
    for rows in tables:
        row = next((r for r in rows if matches(r[0], printer, country)), None)
        for action in row[1] if row else []:
            if action[0] == 'remove':
                removed |= (set(action[1]) & offered) - defaults
                offered -= removed
            elif action[0] == 'default' and action[1] in offered:
                default, defaults = action[1], {action[1]}
    return removed, default


class Attr(ctypes.Structure):
    _fields_ = [('name', ctypes.c_char * 41), ('qualifier', ctypes.c_char * 41), ('text', ctypes.c_char * 81),
                ('value', ctypes.c_char_p)]


class Choice(ctypes.Structure):
    _fields_ = [('marked', ctypes.c_char), ('choice', ctypes.c_char * 41), ('text', ctypes.c_char * 81),
                ('code', ctypes.c_char_p), ('option', ctypes.c_void_p)]


class Option(ctypes.Structure):
    _fields_ = [('conflicted', ctypes.c_char), ('keyword', ctypes.c_char * 41), ('defchoice', ctypes.c_char * 41),
                ('text', ctypes.c_char * 81), ('ui', ctypes.c_int), ('section', ctypes.c_int),
                ('order', ctypes.c_float), ('num_choices', ctypes.c_int), ('choices', ctypes.POINTER(Choice))]


class Size(ctypes.Structure):
    _fields_ = [('marked', ctypes.c_int), ('name', ctypes.c_char * 41), ('width', ctypes.c_float),
                ('length', ctypes.c_float), ('left', ctypes.c_float), ('bottom', ctypes.c_float),
                ('right', ctypes.c_float), ('top', ctypes.c_float)]


class Constraint(ctypes.Structure):
    _fields_ = [(n, ctypes.c_char * 41) for n in ('option1', 'choice1', 'option2', 'choice2')]


class File(ctypes.Structure):  # ppd_file_t up to its constraints
    _fields_ = [(n, ctypes.c_int) for n in ('language_level', 'color_device', 'variable_sizes', 'accurate_screens',
                                            'contone_only', 'landscape', 'model_number', 'manual_copies',
                                            'throughput', 'colorspace')] + \
               [('patches', ctypes.c_char_p), ('num_emulations', ctypes.c_int), ('emulations', ctypes.c_void_p)] + \
               [(n, ctypes.c_char_p) for n in ('jcl_begin', 'jcl_ps', 'jcl_end', 'lang_encoding', 'lang_version',
                                               'modelname', 'ttrasterizer', 'manufacturer', 'product', 'nickname',
                                               'shortnickname')] + \
               [('num_groups', ctypes.c_int), ('groups', ctypes.c_void_p),
                ('num_sizes', ctypes.c_int), ('sizes', ctypes.POINTER(Size)), ('custom_min', ctypes.c_float * 2),
                ('custom_max', ctypes.c_float * 2), ('custom_margins', ctypes.c_float * 4),
                ('num_consts', ctypes.c_int), ('consts', ctypes.POINTER(Constraint))]


_cups = None


def libcups():
    global _cups
    if _cups is None:
        _cups = ctypes.CDLL('libcups.so.2')
        _cups.ppdOpenFile.restype, _cups.ppdOpenFile.argtypes = ctypes.POINTER(File), [ctypes.c_char_p]
        _cups.ppdClose.argtypes = [ctypes.POINTER(File)]
        _cups.ppdFirstOption.restype = _cups.ppdNextOption.restype = ctypes.POINTER(Option)
        _cups.ppdFirstOption.argtypes = _cups.ppdNextOption.argtypes = [ctypes.POINTER(File)]
        _cups.ppdFindAttr.restype = _cups.ppdFindNextAttr.restype = ctypes.POINTER(Attr)
        _cups.ppdFindAttr.argtypes = _cups.ppdFindNextAttr.argtypes = [ctypes.POINTER(File), ctypes.c_char_p,
                                                                       ctypes.c_char_p]
        _cups.ppdMarkDefaults.argtypes = [ctypes.POINTER(File)]
        _cups.ppdPageSize.restype, _cups.ppdPageSize.argtypes = ctypes.POINTER(Size), [ctypes.POINTER(File),
                                                                                     ctypes.c_char_p]
    return _cups


def read_ppd(path):  # what libcups reads of the file, or None when it refuses it
    cups = libcups()
    ppd = cups.ppdOpenFile(path.encode())
    if not ppd:
        return None
    try:
        held = lambda s: [(s or b'').decode('latin-1')]
        f = ppd.contents
        info = {'manufacturer': held(f.manufacturer), 'modelname': held(f.modelname), 'nickname': held(f.nickname),
                'products': [], 'options': {}, 'defaults': {},
                'sizes': [f.sizes[i].name.decode('latin-1') for i in range(f.num_sizes)],
                'constraints': [tuple(getattr(f.consts[i], n).decode('latin-1')
                                      for n in ('option1', 'choice1', 'option2', 'choice2'))
                                for i in range(f.num_consts)]}
        attr = cups.ppdFindAttr(ppd, b'Product', None)
        while attr:
            info['products'] += held(attr.contents.value)
            attr = cups.ppdFindNextAttr(ppd, b'Product', None)
        option = cups.ppdFirstOption(ppd)
        while option:
            o = option.contents
            info['options'][o.keyword.decode('latin-1')] = (
                o.defchoice.decode('latin-1'), [o.choices[i].choice.decode('latin-1') for i in range(o.num_choices)])
            option = cups.ppdNextOption(ppd)
        for keyword in DEFAULTS:
            attr = cups.ppdFindAttr(ppd, keyword.encode(), None)
            info['defaults'][keyword] = attr.contents.value.decode('latin-1') if attr and attr.contents.value else None
        cups.ppdMarkDefaults(ppd)
        size = cups.ppdPageSize(ppd, None)  # the size the marked default makes
        info['marked'] = size.contents.name.decode('latin-1') if size else None
        return info
    finally:
        cups.ppdClose(ppd)


def check_run(tool, rules, tables, path, data, before, code, work, fails):
    # Exit 0, nothing on stderr, and an output that ends with the added newline.
    result = run([tool, '--rules=' + rules, '--country=' + code, '-', path], ENV)
    out = result.stdout
    if result.returncode != 0 or result.stderr or not out.endswith(b'\n'):
        raise Failure('exit %d, stderr %r, tail %r' % (result.returncode, result.stderr[:300], out[-20:]))
    sizes = choices(before, 'PageSize')
    removed, default = expected(tables, before, code)
    # Nothing to do, nothing done: the input as it was.
    if not removed and default is None and out != data + b'\n':
        raise Failure('changed the PPD, though the rules ask nothing of it')
    added = sorted(fails(out) - fails(data))
    if added:
        raise Failure('new cupstestppd FAILs: ' + ' | '.join(added[:5]))
    output = pathlib.Path(work, 'out.ppd')
    output.write_bytes(out)
    after = read_ppd(str(output))
    if after is None:
        raise Failure('libcups refuses the output: %s line %d' % libcups_refusal(str(output)))
    # The rules' sizes are gone from PageSize, PageRegion and libcups's sizes; every other one is still there.
    problems = []
    for where, old, new in (('PageSize', sizes, choices(after, 'PageSize')),
                            ('PageRegion', choices(before, 'PageRegion'), choices(after, 'PageRegion')),
                            ('the sizes', before['sizes'], after['sizes'])):
        if new != [name for name in old if name not in removed]:
            kept, lost = [n for n in new if n in removed], [n for n in old if n not in new and n not in removed]
            problems.append('%s: still offered %s; lost %s (the rules remove %s)' % (
                where, ' '.join(kept) or '-', ' '.join(lost) or '-', ' '.join(sorted(removed)) or 'nothing'))
    # The constraints that pair a removed size with PageSize or PageRegion go, and only those.
    gone = lambda c: any(o in ('PageSize', 'PageRegion') and n in removed for o, n in (c[:2], c[2:]))
    if after['constraints'] != [c for c in before['constraints'] if not gone(c)]:
        problems.append('constraints: %d kept that name a removed size, %d others lost' % (
            sum(map(gone, after['constraints'])),
            len([c for c in before['constraints'] if not gone(c) and c not in after['constraints']])))
    # Other options that offer the same names (MediaType Postcard, RICutSize 8Kai, ...) keep them.
    for option, (default_choice, offered) in before['options'].items():
        if option not in ('PageSize', 'PageRegion') and after['options'].get(option) != (default_choice, offered):
            problems.append('option %s changed: %r became %r' % (
                option, (default_choice, offered), after['options'].get(option)))
    # The country's usual size, where offered, is the default of all four; else they are as they were.
    want = {k: v if default is None or v is None else default for k, v in before['defaults'].items()}
    if after['defaults'] != want:
        problems.append('defaults %s, expected %s' % (after['defaults'], want))
    if default is not None and after['marked'] != default:
        problems.append('the marked default size is %s, expected %s' % (after['marked'], default))
    return problems


def check_refused_run(tool, rules, path, data, refusal, code):
    # Exit 0, the input unedited plus the newline, one warning naming the file and libcups's reason.
    status, line = refusal
    reason = run([sys.executable, '-c', LIBCUPS_REASON, str(status)], ENV).stdout
    warning = re.compile(rb'ppd-localize: %s: warning: [^\n]*%s[^\n]*line %d\b[^\n]*\n\Z' % (
        re.escape(path.encode()), re.escape(reason), line))
    result = run([tool, '--rules=' + rules, '--country=' + code, '-', path], ENV)
    if result.returncode != 0 or result.stdout != data + b'\n' or not warning.match(result.stderr):
        raise Failure('refused by libcups (%s, line %d): exit %d, output unchanged: %s, stderr %r' % (
            reason.decode('utf-8', 'replace'), line, result.returncode, result.stdout == data + b'\n',
            result.stderr[:300]))


DEFAULT_LINE = re.compile(rb'^(\*Default(?:PageSize|PageRegion|ImageableArea|PaperDimension):[ \t]*)[^\r\n]*', re.M)


def regional_default(data, before, tables):
    # The input with the first regional size it offers as its four defaults, or None: no sample PPD has one,
    # and the rules must set the usual size first for the regional one to go.
    regional = {n for rows in tables for row in rows for action in row[1] if action[0] == 'remove'
                for n in action[1]}
    offered = [n for n in choices(before, 'PageSize') if n in regional]
    copy = DEFAULT_LINE.sub(lambda m: m.group(1) + offered[0].encode(), data) if offered else data
    return copy if copy != data else None


def check_file(tool, rules, path):
    # [(file, copy?, country, failure or None, known limit or None)] for the file and, where it offers a
    # regional size, its copy with that size as the default.
    tables = read_rules(rules)
    name, results = os.path.basename(path), []
    with tempfile.TemporaryDirectory(prefix='regional-check-') as work:
        data = (gzip.open if path.endswith('.gz') else open)(path, 'rb').read()
        before = read_ppd(path)
        if before is None:
            refusal = libcups_refusal(path)
            for code in COUNTRIES:
                try:
                    failure = check_refused_run(tool, rules, path, data, refusal, code)
                except Failure as e:
                    failure = e.args[0]
                results.append((name, False, code, failure, None))
            return results
        inputs = [(False, path, data, before)]
        copy = regional_default(data, before, tables)
        if copy is not None:
            copy_path = pathlib.Path(work, 'regional-default.ppd')
            copy_path.write_bytes(copy)
            inputs.append((True, str(copy_path), copy, read_ppd(str(copy_path))))
        check = pathlib.Path(work, 'check.ppd')
        for is_copy, p, d, b in inputs:
            strict = cupstestppd_fails(p)
            relaxed = any('Unable to open' in fail for fail in strict)  # then check all with -r
            cache = {} if relaxed else {d: strict}

            def fails(text):  # by text: several countries often give the same output
                if text not in cache:
                    check.write_bytes(text)
                    cache[text] = cupstestppd_fails(str(check), relaxed)
                return cache[text]

            for code in COUNTRIES:
                try:
                    problems = check_run(tool, rules, tables, p, d, b, code, work, fails)
                except Failure as e:
                    problems = [e.args[0]]
                known = [m for m in problems if any(re.fullmatch(k, m) for k in KNOWN_LIMITS.get(name, []))]
                failure = '; '.join(m for m in problems if m not in known)
                results.append((name, is_copy, code, failure or None, '; '.join(known) or None))
    return results


if __name__ == '__main__':
    ap = argparse.ArgumentParser()
    ap.add_argument('tool')
    ap.add_argument('corpus')
    ap.add_argument('sample', help='the list of the file names the corpus must hold')
    ap.add_argument('rules', help='the rules file to run the tool with and to check its outputs against')
    ap.add_argument('--jobs', type=int, default=2)
    args = ap.parse_args()
    try:
        read_rules(args.rules)
    except (OSError, UnicodeError, RulesError) as e:
        sys.exit('regional_check: %s' % e)
    files = sorted(str(p) for p in pathlib.Path(args.corpus).iterdir() if re.search(r'\.ppd(\.gz)?$', p.name))
    names, listed = {os.path.basename(f) for f in files}, set(open(args.sample).read().split())
    if names != listed:  # the packages the sample comes from changed: review the new pick, then the list
        sys.exit('regional_check: the sample made in %s differs from %s (%d files missing, %d not listed)' % (
            args.corpus, args.sample, len(listed - names), len(names - listed)))
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        results = [r for rs in pool.map(check_file, [args.tool] * len(files), [args.rules] * len(files), files)
                   for r in rs]
    failures = [r for r in results if r[3]]
    known = [r for r in results if r[4]]
    failures += [(name, False, '', 'the known limit (KNOWN_LIMITS) no longer shows: remove its entry', None)
                 for name in sorted(set(KNOWN_LIMITS) - {r[0] for r in known})]
    label = lambda name, copy: name + ' (regional default copy)' * copy
    for name, copy, code, failure, _ in failures[:10]:  # the first ten in full
        print('FAILED %s, country "%s": %s\n' % (label(name, copy), code, failure))
    for name, copy in sorted({r[:2] for r in known}):
        runs = [r for r in known if r[:2] == (name, copy)]
        print('KNOWN LIMIT %s, countries %s: %s\n' % (label(name, copy), ' '.join(r[2] or 'none' for r in runs),
                                                      runs[0][4]))
    print('%d runs, %d failures; %d runs with a known limit of the tool' % (len(results), len(failures), len(known)))
    sys.exit(1 if failures else 0)
