#!/usr/bin/env python3
"""Times the CUPS driver program against what it stands beside, with hyperfine.

list: `ppd-localize-driver list` over a directory of real PPDs against cups-driverd's own
      scan of the same files as static PPDs (its model directory) with an empty cache
      (ppds.dat removed before every run) and no driver programs.
cat:  `ppd-localize-driver cat NAME` (LANG as cupsd sets it for a German request) against
      `ppd-localize --country=DE - FILE` on the same file, for the smallest, the median and
      the largest file.
Each round runs both commands once, in alternating order; the ratio is taken round by round
and its median reported with the medians of both. cups-driverd also scans /usr/share/ppd,
/usr/local/share/ppd and /opt/share/ppd whatever it is told: as root both commands run in a
private mount namespace where these are empty, so that only the given files count.

Usage: driver_bench.py BUILD_DIR CORPUS_DIR [--files N] [--rounds R]
"""
import argparse
import json
import os
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile

DRIVERD = '/usr/lib/cups/daemon/cups-driverd'
LSB_DIRS = ('/usr/share/ppd', '/usr/local/share/ppd', '/opt/share/ppd')


def hyperfine(commands, prepare):
    with tempfile.NamedTemporaryFile(suffix='.json') as out:
        subprocess.run(['hyperfine', '--style', 'none', '--shell=none', '--runs', '1', '--prepare', prepare,
                        '--export-json', out.name, *commands], check=True, stdout=subprocess.DEVNULL)
        with open(out.name) as f:
            return [r['times'][0] for r in json.load(f)['results']]


def alternate(a, b, rounds, prepare='true'):
    """Medians of a and b, and the median of a/b round by round."""
    ta, tb = [], []
    hyperfine([a, b], prepare)  # warm-up
    for r in range(rounds):
        if r % 2:
            tb_, ta_ = hyperfine([b, a], prepare)
        else:
            ta_, tb_ = hyperfine([a, b], prepare)
        ta.append(ta_)
        tb.append(tb_)
    return statistics.median(ta), statistics.median(tb), statistics.median(x / y for x, y in zip(ta, tb))


def private_mounts(empty):
    """A command prefix that hides the directories cups-driverd always scans, or [] if not possible."""
    prefix = ['unshare', '--mount', 'sh', '-c',
              'for d in %s; do [ -d $d ] && mount --bind %s $d; done; exec "$@"' % (' '.join(LSB_DIRS), empty), 'sh']
    if os.geteuid() == 0 and subprocess.run(prefix + ['true'], capture_output=True).returncode == 0:
        return prefix
    return []


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('build_dir')
    ap.add_argument('corpus')
    ap.add_argument('--files', type=int, help='this many files of the corpus, evenly spread (default: all)')
    ap.add_argument('--rounds', type=int, default=15)
    args = ap.parse_args()
    build = os.path.abspath(args.build_dir)
    driver, tool = os.path.join(build, 'ppd-localize-driver'), os.path.join(build, 'ppd-localize')
    files = sorted(f for f in os.listdir(args.corpus) if f.endswith(('.ppd', '.ppd.gz')))
    if args.files and args.files < len(files):
        files = [files[i * len(files) // args.files] for i in range(args.files)]
    work = tempfile.mkdtemp(prefix='driver-bench-')
    try:
        dirs = {k: os.path.join(work, k) for k in ('ppds', 'model', 'bin/driver', 'cache', 'root', 'empty')}
        for d in dirs.values():
            os.makedirs(d)
        for f in files:
            for d in ('ppds', 'model'):
                shutil.copyfile(os.path.join(args.corpus, f), os.path.join(dirs[d], f))
        with open(os.path.join(dirs['root'], 'ppd-localize.conf'), 'w') as conf:
            conf.write('PPDDirectory %s\n' % dirs['ppds'])
        data = os.path.join(work, 'data')
        os.makedirs(data)
        os.symlink(dirs['model'], os.path.join(data, 'model'))
        wrap = private_mounts(dirs['empty'])
        env = ['env', '-i', 'PATH=/usr/bin:/bin', 'CUPS_SERVERROOT=' + dirs['root']]
        driverd_env = env + ['CUPS_DATADIR=' + data, 'CUPS_CACHEDIR=' + dirs['cache'],
                             'CUPS_SERVERBIN=' + os.path.join(work, 'bin'), 'LANG=en.UTF8']
        list_driver = env + ['LANG=en.UTF8'] + wrap + [driver, 'list']
        list_driverd = driverd_env + wrap + [DRIVERD, 'list', '1', '0', '']
        clear_cache = 'rm -f ' + shlex.quote(os.path.join(dirs['cache'], 'ppds.dat'))

        # What each offers, once, before timing.
        listed = subprocess.run(list_driver, capture_output=True, check=True)
        subprocess.run(clear_cache, shell=True, check=True)
        subprocess.run(list_driverd, capture_output=True, check=True)
        dumped = subprocess.run(driverd_env + [DRIVERD, 'dump'], capture_output=True, check=True).stdout
        print('list: %d files; the driver lists %d (%d warning lines), cups-driverd records %d PPDs%s' % (
            len(files), len(listed.stdout.splitlines()), len(listed.stderr.splitlines()),
            len(dumped.splitlines()) - 1,  # a heading, then one line per PPD
            '' if wrap else '; the system PPD directories could not be hidden (not root): cups-driverd also scans them'),
            file=sys.stderr)
        rows = []
        d, s, r = alternate(shlex.join(list_driver), shlex.join(list_driverd), args.rounds, clear_cache)
        rows.append(('list, %d files' % len(files), 'cups-driverd list (empty cache)', d, s, r))

        by_size = sorted(files, key=lambda f: os.path.getsize(os.path.join(args.corpus, f)))
        for f in dict.fromkeys([by_size[0], by_size[len(by_size) // 2], by_size[-1]]):
            path = os.path.join(dirs['ppds'], f)
            cat = env + ['LANG=de_DE.UTF8', driver, 'cat', 'ppd-localize:' + f]
            cli = env + [tool, '--country=DE', '-', path]
            if subprocess.run(cat, capture_output=True).stdout != subprocess.run(cli, capture_output=True).stdout:
                sys.exit('driver_bench: cat and the command line differ on %s' % f)
            d, s, r = alternate(shlex.join(cat), shlex.join(cli), args.rounds)
            rows.append(('cat %s (%d KB)' % (f, os.path.getsize(path) // 1000), 'ppd-localize --country=DE', d, s, r))
    finally:
        shutil.rmtree(work, ignore_errors=True)

    print('| run | against | driver median | against median | driver/against (median of rounds) |')
    print('|---|---|---|---|---|')
    for what, against, d, s, r in rows:
        print('| %s | %s | %.1f ms | %.1f ms | %.3f |' % (what, against, d * 1000, s * 1000, r))
    with open(os.path.join(build, 'driver-bench-results.json'), 'w') as f:
        json.dump([dict(zip(('run', 'against', 'driver_s', 'against_s', 'ratio'), row)) for row in rows], f, indent=1)


if __name__ == '__main__':
    main()
