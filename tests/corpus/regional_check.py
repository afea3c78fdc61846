#!/usr/bin/env python3
# regional_check.py TOOL CORPUS SAMPLE RULES [--jobs N]: checks that CORPUS holds the PPDs SAMPLE names,
# then runs TOOL --rules=RULES on each, and on a copy whose defaults name a regional size it offers, for
# several countries and none, checking each run against what RULES asks for that printer and country,
# through libcups; prints "N runs, M failures".
#
# What a run must do is read from RULES itself (Country and NickName conditions; RemovePaper,
# SetDefault PageSize and KeepAsIs), so that the file and the tool are held together; a rules file that
# asks for more than that is refused rather than half checked.
import argparse, concurrent.futures, ctypes, fnmatch, os, pathlib, re, sys, tempfile

from corpus_check import Failure, check_refused_run, cupstestppd_of, libcups_refusal, read, run, sample_files

# Letter countries (BZ is one for PAPPL only), A4 ones in Asia and Europe, the three that keep the kai sizes,
# and none. The country comes from --country only.
COUNTRIES = ['JP', 'CN', 'TW', 'HK', 'DE', 'US', 'CA', 'BZ', '']
ENV = {'LC_ALL': 'C'}
DEFAULTS = ['DefaultPageSize', 'DefaultPageRegion', 'DefaultImageableArea', 'DefaultPaperDimension']

# What the tool leaves by design (README, "What is deleted"): an option statement is matched with one blank
# between its keyword and its option. This file writes "*PageRegion  EnvJ3/..." with two, which libcups reads
# too: its four Japanese region choices stay, with the 20 constraints that name them under PageRegion. Listed
# problems are reported, not failed; once one no longer shows, its entry fails the check until removed.
KNOWN_LIMITS = {'037-op-hp_officejet_9100_series.ppd': [
    r'PageRegion: still offered EnvJ3 EnvJ4 JPost JPostD; lost - .*',
    r'constraints: 20 kept that name a removed size, 0 others lost']}


def read_rules(path):
    # [[(conditions, actions)] for each table], in order; conditions: ('country', codes, negated) or
    # ('nickname', pattern); actions: ('remove', names), ('default', choice) or ('keep',).
    tables, row = [], None
    for number, raw in enumerate(open(path, encoding='utf-8').read().split('\n'), 1):
        line = re.sub(r'(?<!\\)#.*', '', raw).replace('\\#', '#').strip(' \t\r')
        directive, value = (re.split(r'[ \t]+', line, maxsplit=1) + [''])[:2]
        key, words = directive.lower(), value.split()
        if not line or key == '</table>':
            continue
        if key == '<table':
            tables.append([])
        elif key == '<row>':
            row = ([], [])
        elif key == '</row>':
            tables[-1].append(row)
        elif key == 'country':
            row[0].append(('country', {c.lstrip('!') for c in words}, words[0].startswith('!')))
        elif key == 'nickname':
            row[0].append(('nickname', value))
        elif key == 'removepaper':
            row[1].append(('remove', words))
        elif key == 'setdefault' and words[:1] == ['PageSize'] and len(words) == 2:
            row[1].append(('default', words[1]))
        elif key == 'keepasis':
            row[1].append(('keep',))
        else:
            sys.exit('regional_check: %s:%d: "%s" is not modelled by this check' % (path, number, line))
    return tables


def expected(tables, printer, country):
    # (the PageSize choices removed, the default set or None): the first matching row of each table, in
    # order. A default is set only where the choice is still offered, and a size that one of the four
    # defaults names at that point is kept.
    def matches(conditions):
        return all(((country or 'none') in c[1]) != c[2] if c[0] == 'country' else
                   fnmatch.fnmatchcase(printer['nickname'], c[1]) for c in conditions)
    offered = set(printer['options'].get('PageSize', ('', []))[1] + printer['options'].get('PageRegion', ('', []))[1])
    defaults = {v for v in printer['defaults'].values() if v is not None}
    removed, default = set(), None
    for rows in tables:
        for action in next((r[1] for r in rows if matches(r[0])), []):
            if action[0] == 'remove':
                removed |= (set(action[1]) & offered) - defaults
                offered -= removed
            elif action[0] == 'default' and action[1] in offered:
                default, defaults = action[1], {action[1]}
    return removed, default


class Attr(ctypes.Structure):
    _fields_ = [('name', ctypes.c_char * 41), ('spec', ctypes.c_char * 41), ('text', ctypes.c_char * 81),
                ('value', ctypes.c_char_p)]


class Choice(ctypes.Structure):
    _fields_ = [('marked', ctypes.c_char), ('choice', ctypes.c_char * 41), ('text', ctypes.c_char * 81),
                ('code', ctypes.c_char_p), ('option', ctypes.c_void_p)]


class Option(ctypes.Structure):
    _fields_ = [('conflicted', ctypes.c_char), ('keyword', ctypes.c_char * 41), ('defchoice', ctypes.c_char * 41),
                ('text', ctypes.c_char * 81), ('ui', ctypes.c_int), ('section', ctypes.c_int),
                ('order', ctypes.c_float), ('num_choices', ctypes.c_int), ('choices', ctypes.POINTER(Choice))]


class File(ctypes.Structure):  # ppd_file_t up to its constraints
    _fields_ = ([(n, ctypes.c_int) for n in ('language_level', 'color_device', 'variable_sizes', 'accurate_screens',
                                             'contone_only', 'landscape', 'model_number', 'manual_copies',
                                             'throughput', 'colorspace')] +
                [('patches', ctypes.c_char_p), ('num_emulations', ctypes.c_int), ('emulations', ctypes.c_void_p)] +
                [(n, ctypes.c_char_p) for n in ('jcl_begin', 'jcl_ps', 'jcl_end', 'lang_encoding', 'lang_version',
                                                'modelname', 'ttrasterizer', 'manufacturer', 'product', 'nickname',
                                                'shortnickname')] +
                [('num_groups', ctypes.c_int), ('groups', ctypes.c_void_p), ('num_sizes', ctypes.c_int),
                 ('sizes', ctypes.c_void_p), ('custom_min', ctypes.c_float * 2), ('custom_max', ctypes.c_float * 2),
                 ('custom_margins', ctypes.c_float * 4), ('num_consts', ctypes.c_int),
                 ('consts', ctypes.POINTER(ctypes.c_char * 41 * 4))])


def read_ppd(path):  # what libcups reads of the file: its nickname, options, four defaults and constraints
    cups = ctypes.CDLL('libcups.so.2')
    cups.ppdOpenFile.restype, cups.ppdOpenFile.argtypes = ctypes.POINTER(File), [ctypes.c_char_p]
    cups.ppdClose.argtypes = [ctypes.POINTER(File)]
    cups.ppdFirstOption.restype = cups.ppdNextOption.restype = ctypes.POINTER(Option)
    cups.ppdFirstOption.argtypes = cups.ppdNextOption.argtypes = [ctypes.POINTER(File)]
    cups.ppdFindAttr.restype, cups.ppdFindAttr.argtypes = ctypes.POINTER(Attr), [ctypes.POINTER(File), ctypes.c_char_p,
                                                                                ctypes.c_char_p]
    ppd = cups.ppdOpenFile(path.encode())
    text = lambda b: (b or b'').decode('latin-1')
    try:
        f = ppd.contents
        info = {'nickname': text(f.nickname), 'options': {}, 'defaults': {},
                'constraints': [tuple(text(f.consts[i][k].value) for k in range(4)) for i in range(f.num_consts)]}
        option = cups.ppdFirstOption(ppd)
        while option:
            o = option.contents
            info['options'][text(o.keyword)] = (text(o.defchoice), [text(o.choices[i].choice) for i in range(o.num_choices)])
            option = cups.ppdNextOption(ppd)
        for keyword in DEFAULTS:
            attr = cups.ppdFindAttr(ppd, keyword.encode(), None)
            info['defaults'][keyword] = text(attr.contents.value) if attr and attr.contents.value else None
        return info
    finally:
        cups.ppdClose(ppd)


def check_run(tool, rules, tables, path, data, before, code, work, fails):
    # Exit 0 and nothing on stderr; the input itself where the rules ask nothing; no new cupstestppd FAIL;
    # then what libcups reads of the output: a list of problems.
    result = run([tool, '--rules=' + rules, '--country=' + code, '-', path], ENV)
    out = result.stdout
    if result.returncode != 0 or result.stderr or not out.endswith(b'\n'):
        raise Failure('exit %d, stderr %r, tail %r' % (result.returncode, result.stderr[:300], out[-20:]))
    removed, default = expected(tables, before, code)
    if not removed and default is None and out != data + b'\n':
        raise Failure('changed the PPD, though the rules ask nothing of it')
    added = sorted(fails(out) - fails(data))
    if added:
        raise Failure('new cupstestppd FAILs: ' + ' | '.join(added[:5]))
    output = pathlib.Path(work, 'out.ppd')
    output.write_bytes(out)
    if libcups_refusal(str(output)):
        raise Failure('libcups refuses the output: %s line %d' % libcups_refusal(str(output)))
    after, problems = read_ppd(str(output)), []
    # The rules' sizes are gone from PageSize and PageRegion, every other one is still there, in order; other
    # options that offer the same names (MediaType Postcard, RICutSize 8Kai, ...) keep them.
    for option, (old_default, old) in before['options'].items():
        new_default, new = after['options'].get(option, ('', []))
        if option not in ('PageSize', 'PageRegion'):
            if (new_default, new) != (old_default, old):
                problems.append('option %s changed: %r became %r' % (option, (old_default, old), (new_default, new)))
        elif new != [name for name in old if name not in removed]:
            problems.append('%s: still offered %s; lost %s (the rules remove %s)' % (
                option, ' '.join(n for n in new if n in removed) or '-',
                ' '.join(n for n in old if n not in new and n not in removed) or '-', ' '.join(sorted(removed)) or '-'))
    # The constraints that pair a removed size with PageSize or PageRegion go, and only those.
    gone = lambda c: any(o in ('PageSize', 'PageRegion') and n in removed for o, n in (c[:2], c[2:]))
    if after['constraints'] != [c for c in before['constraints'] if not gone(c)]:
        problems.append('constraints: %d kept that name a removed size, %d others lost' % (
            sum(map(gone, after['constraints'])),
            len([c for c in before['constraints'] if not gone(c) and c not in after['constraints']])))
    # The country's usual size, where offered, is the default of all four; else they are as they were.
    want = {k: v if default is None or v is None else default for k, v in before['defaults'].items()}
    if after['defaults'] != want:
        problems.append('defaults %s, expected %s' % (after['defaults'], want))
    return problems


DEFAULT_LINE = re.compile(rb'^(\*Default(?:PageSize|PageRegion|ImageableArea|PaperDimension):[ \t]*)[^\r\n]*', re.M)


def check_file(tool, rules, path):
    # [(file, copy?, country, failure or None, known limit or None)] for the file and, where it offers a
    # regional size, a copy with that size as its four defaults (no sample PPD has one; the rules set the
    # usual size first so that the regional one goes too).
    tables, name, results = read_rules(rules), os.path.basename(path), []
    with tempfile.TemporaryDirectory(prefix='regional-check-') as work:
        data, refusal = read(path), libcups_refusal(path)
        for code in COUNTRIES if refusal else []:
            try:
                check_refused_run(tool, path, data, refusal, ENV, ['--rules=' + rules, '--country=' + code])
                results.append((name, False, code, None, None))
            except Failure as e:
                results.append((name, False, code, e.args[0], None))
        if refusal:
            return results
        before = read_ppd(path)
        regional = [n for n in before['options'].get('PageSize', ('', []))[1]
                    if any(n in a[1] for rows in tables for r in rows for a in r[1] if a[0] == 'remove')]
        copy = DEFAULT_LINE.sub(lambda m: m.group(1) + regional[0].encode(), data) if regional else data
        copy_path = pathlib.Path(work, 'regional-default.ppd')
        copy_path.write_bytes(copy)
        inputs = [(False, path, data, before)] + [(True, str(copy_path), copy, read_ppd(str(copy_path)))] * (copy != data)
        for is_copy, p, d, b in inputs:
            fails = cupstestppd_of(p, d, pathlib.Path(work, 'check.ppd'))
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
    read_rules(args.rules)
    files = sample_files(args.corpus, args.sample, 'regional_check')
    with concurrent.futures.ProcessPoolExecutor(args.jobs) as pool:
        results = [r for rs in pool.map(check_file, [args.tool] * len(files), [args.rules] * len(files), files)
                   for r in rs]
    failures, known = [r for r in results if r[3]], [r for r in results if r[4]]
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
