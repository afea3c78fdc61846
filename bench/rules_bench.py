#!/usr/bin/env python3
"""rules_bench.py BUILD_DIR CORPUS [--rows 1000] [--rounds 40]: what rules files cost a run.

On the median and the largest file of the real-PPD sample in CORPUS (as `make test` makes it), times
with hyperfine, in alternating rounds, the run with the built-in rules against the same run with the
printed built-in rules read from a file (--rules), and with a generated file of ROWS rows shaped as a
driver packager's (make_rules.py). Prints the medians and the ratio to the built-in run, taken round
by round. The printed rules must give the built-in run's bytes.
"""
import argparse
import os
import shlex
import subprocess
import sys
import tempfile

from driver_bench import alternate
from make_rules import make_rules


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('build_dir')
    ap.add_argument('corpus')
    ap.add_argument('--rows', type=int, default=1000)
    ap.add_argument('--rounds', type=int, default=40)
    args = ap.parse_args()
    tool = os.path.join(os.path.abspath(args.build_dir), 'ppd-localize')
    files = sorted((f for f in os.listdir(args.corpus) if f.endswith('.ppd')),
                   key=lambda f: os.path.getsize(os.path.join(args.corpus, f)))
    with tempfile.TemporaryDirectory(prefix='rules-bench-') as work:
        printed = os.path.join(work, 'printed.rules')
        generated = os.path.join(work, 'generated.rules')
        with open(printed, 'wb') as f:
            f.write(subprocess.run([tool, '--print-rules'], capture_output=True, check=True).stdout)
        with open(generated, 'w') as f:
            f.write(make_rules(args.rows))
        rows = []
        for name in dict.fromkeys([files[len(files) // 2], files[-1]]):
            path = os.path.abspath(os.path.join(args.corpus, name))
            builtin = ['env', '-i', tool, '--country=DE', '-', path]
            with_file = builtin[:3] + ['--rules=' + printed] + builtin[3:]
            if subprocess.run(with_file, capture_output=True).stdout != subprocess.run(builtin, capture_output=True).stdout:
                sys.exit('rules_bench: the printed built-in rules give other bytes on %s' % name)
            for label, rules in (('the printed built-in rules', printed), ('%d generated rows' % args.rows, generated)):
                a = builtin[:3] + ['--rules=' + rules] + builtin[3:]
                ta, tb, ratio = alternate(shlex.join(a), shlex.join(builtin), args.rounds)
                rows.append((name, os.path.getsize(path) // 1000, label, ta, tb, ratio))
    print('| file | rules | with the file | built-in | ratio (median of rounds) |')
    print('|---|---|---|---|---|')
    for name, kb, label, ta, tb, ratio in rows:
        print('| %s (%d KB) | %s | %.2f ms | %.2f ms | %.3f |' % (name, kb, label, ta * 1000, tb * 1000, ratio))


if __name__ == '__main__':
    main()
