#!/usr/bin/env python3
"""Times whole runs of ppd-localize against the floor program with hyperfine.

For each size it generates a large PPD, then measures the floor and the tool
for each country in alternating rounds, and prints medians, the tool/floor
ratio, peak memory and the scaling of the tool from 4 MB to the largest size.
The ratio is taken pair by pair: each round's tool time over the same round's
floor time, then the median of those, so that the machine's drift from one
minute to the next cancels out.

Peak memory is the high-water mark of a memory cgroup made for the one run
(cgroup v1 memory.max_usage_in_bytes, or cgroup v2 memory.peak): it counts
in-memory files (the tool keeps the PPD's bytes in a memfd, whose pages leave
the process's resident set once unmapped but stay charged to the cgroup) and
page cache, which a process's maximum resident size does not. GNU time's
maximum resident size is printed beside it for comparison only; the budget
check uses the cgroup figure.

Usage: run_bench.py BUILD_DIR [--sizes 1,4,16,64] [--countries JP,CN,DE] [--gzip]
                    [--rounds N] [--memory auto|cgroup] [--memory-only]
With --gzip the PPD is gzip-compressed first, and both read the compressed file.
With --memory=cgroup the script stops with an error where no memory cgroup can
be made; by default it says why on stderr and prints the memory columns as n/a.
With --memory-only the timings are skipped.
"""
import argparse
import errno
import json
import os
import shlex
import statistics
import subprocess
import sys
import tempfile
import time

# Rounds per size. Each round runs every command once, one after another,
# so the floor and the tool are measured alternately; small sizes are noisy
# and get more rounds.
ROUNDS = {1: 40, 4: 30, 16: 12, 64: 5}


def hyperfine(commands, warmup):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(["hyperfine", "--style", "none", "--warmup", str(warmup), "--runs", "1",
                        "--export-json", out.name, *commands],
                       check=True, stdout=subprocess.DEVNULL)
        with open(out.name) as f:
            return [r["times"] for r in json.load(f)["results"]]


class CgroupUnavailable(Exception):
    """No memory cgroup can be made here; str() says why, .short says it in a few words."""

    def __init__(self, reason, short):
        super().__init__(reason)
        self.short = short


def _mounts(fstype):
    """(mount root, mount point, super options) of each mount of the given type."""
    def unescape(s):
        return s.replace("\\040", " ").replace("\\011", "\t").replace("\\012", "\n").replace("\\134", "\\")
    found = []
    with open("/proc/self/mountinfo") as f:
        for line in f:
            left, _, right = line.partition(" - ")
            fields, rfields = left.split(), right.split()
            if len(fields) >= 5 and len(rfields) >= 3 and rfields[0] == fstype:
                found.append((unescape(fields[3]), unescape(fields[4]), rfields[2].split(",")))
    return found


def _own_cgroup(hierarchy):
    """This process's path in the v1 hierarchy with the given controller, or in v2 (None)."""
    with open("/proc/self/cgroup") as f:
        for line in f:
            _, controllers, path = line.rstrip("\n").split(":", 2)
            if hierarchy is None and controllers == "":
                return path
            if hierarchy is not None and hierarchy in controllers.split(","):
                return path
    return None


def _cgroup_dir(mount_root, mount_point, path):
    """The directory of cgroup `path` in a mount whose root is `mount_root`."""
    if mount_root != "/" and (path == mount_root or path.startswith(mount_root + "/")):
        path = path[len(mount_root):]
    return os.path.normpath(os.path.join(mount_point, path.lstrip("/")))


class MemoryCgroup:
    """Runs a command in a fresh memory cgroup of its own, a child of this process's,
    and reads the cgroup's high-water mark."""

    def __init__(self):
        reasons = []
        for version, find in ((1, self._find_v1), (2, self._find_v2)):
            try:
                self.parent, self.peak_file, self.version = find()
                self.count = 0
                self._probe()
                return
            except CgroupUnavailable as e:
                reasons.append((version, e))
        raise CgroupUnavailable("; ".join(f"cgroup v{v}: {e}" for v, e in reasons),
                                ", ".join(f"v{v} {e.short}" for v, e in reasons))

    def _probe(self):
        # Make and remove one child now, so that a missing permission or file is
        # told before the first run rather than in the middle of the table.
        child = self._make_child()
        try:
            if not os.path.exists(os.path.join(child, self.peak_file)):
                raise CgroupUnavailable(f"{child} has no {self.peak_file}"
                                        + (" (memory.peak needs Linux 5.19 or later)"
                                           if self.version == 2 else ""),
                                        f"no {self.peak_file}")
        finally:
            self._remove_child(child)

    def describe(self):
        return f"cgroup v{self.version} {self.peak_file} of a child of {self.parent}"

    @staticmethod
    def _find_v1():
        mounts = [m for m in _mounts("cgroup") if "memory" in m[2]]
        if not mounts:
            raise CgroupUnavailable("no cgroup v1 memory hierarchy is mounted", "no memory hierarchy")
        path = _own_cgroup("memory")
        if path is None:
            raise CgroupUnavailable("/proc/self/cgroup has no memory line", "no memory line")
        parent = _cgroup_dir(mounts[0][0], mounts[0][1], path)
        if not os.path.isdir(parent):
            raise CgroupUnavailable(f"this process's memory cgroup {parent} is not visible here",
                                    "own cgroup not visible")
        return parent, "memory.max_usage_in_bytes", 1

    @staticmethod
    def _find_v2():
        mounts = _mounts("cgroup2")
        if not mounts:
            raise CgroupUnavailable("no cgroup2 file system is mounted", "not mounted")
        path = _own_cgroup(None)
        if path is None:
            raise CgroupUnavailable("/proc/self/cgroup has no 0:: line", "no 0:: line")
        parent = _cgroup_dir(mounts[0][0], mounts[0][1], path)
        try:
            with open(os.path.join(parent, "cgroup.controllers")) as f:
                controllers = f.read().split()
            with open(os.path.join(parent, "cgroup.subtree_control")) as f:
                enabled = f.read().split()
        except OSError as e:
            raise CgroupUnavailable(f"cannot read the cgroup2 files of {parent}: {e.strerror}",
                                    "files unreadable")
        if "memory" not in controllers:
            raise CgroupUnavailable(f"the memory controller is not available in the cgroup2 "
                                    f"cgroup {parent}", "no memory controller")
        if "memory" not in enabled:
            raise CgroupUnavailable(f"the memory controller is not enabled for the children of "
                                    f"{parent} (no +memory in its cgroup.subtree_control)",
                                    "memory not enabled for children")
        return parent, "memory.peak", 2

    def _make_child(self):
        self.count += 1
        child = os.path.join(self.parent, f"ppd-bench-{os.getpid()}-{self.count}")
        try:
            os.mkdir(child)
        except OSError as e:
            raise CgroupUnavailable(f"cannot make a cgroup under {self.parent}: {e.strerror}",
                                    {errno.EACCES: "no permission", errno.EPERM: "no permission",
                                     errno.EROFS: "read-only"}.get(e.errno, e.strerror))
        return child

    @staticmethod
    def _remove_child(child):
        # The cgroup can stay busy for a moment after its last process has been reaped.
        for attempt in range(50):
            try:
                os.rmdir(child)
                return
            except FileNotFoundError:
                return
            except OSError as e:
                if e.errno != errno.EBUSY:
                    break
                time.sleep(0.02 * (attempt + 1) if attempt < 10 else 0.2)
        print(f"run_bench: could not remove the cgroup {child}", file=sys.stderr)

    def peak_kib(self, command):
        """Runs `command` (output to /dev/null) once in a fresh cgroup; its high-water mark in KiB."""
        child = self._make_child()
        try:
            # The shell moves itself into the cgroup and then becomes the command:
            # what the shell had before the move stays charged to this process's
            # cgroup, and everything the command maps, reads into memory or puts in
            # an in-memory file is charged to the child from its exec on.
            script = (f"echo $$ > {shlex.quote(os.path.join(child, 'cgroup.procs'))} "
                      f"&& exec {command} >/dev/null")
            proc = subprocess.Popen(["sh", "-c", script])
            try:
                status = proc.wait()
            finally:
                if proc.poll() is None:
                    proc.kill()
                    proc.wait()
            if status != 0:
                raise subprocess.CalledProcessError(status, script)
            with open(os.path.join(child, self.peak_file)) as f:
                return int(f.read()) // 1024
        finally:
            self._remove_child(child)


def max_rss_kib(command):
    """GNU time's maximum resident size: for comparison only, it leaves out in-memory
    files once unmapped and the page cache."""
    if not os.path.exists("/usr/bin/time"):
        return None
    result = subprocess.run(["/usr/bin/time", "-f", "%M", "sh", "-c", command + " >/dev/null"],
                            check=True, capture_output=True, text=True)
    return int(result.stderr.strip().splitlines()[-1])


def read_through(path):
    """Reads the file once here, so that its page cache is charged to this process's cgroup
    (or already stands charged wherever it was read or written before) and not to the child
    cgroup of the run measured next: the floor and the tool read the same file, and each
    measurement starts from the same state, the whole file in the page cache."""
    with open(path, "rb") as f:
        while f.read(1 << 20):
            pass


def mib(kib):
    return "n/a" if kib is None else f"{kib / 1024:.1f} MiB"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--sizes", default="1,4,16,64")
    parser.add_argument("--countries", default="JP,CN,DE")
    parser.add_argument("--tool", help="the ppd-localize binary to time (default: BUILD_DIR/ppd-localize)")
    parser.add_argument("--gzip", action="store_true", help="time a gzip-compressed copy of each PPD")
    parser.add_argument("--rounds", type=int, help="rounds at every size instead of the defaults")
    parser.add_argument("--memory", choices=["auto", "cgroup"], default="auto",
                        help="cgroup: stop with an error where the memory cgroup's high-water mark "
                             "cannot be measured; auto (default): say why and print n/a")
    parser.add_argument("--memory-only", action="store_true", help="measure peak memory only, no timings")
    args = parser.parse_args()
    build = os.path.abspath(args.build_dir)
    tool = os.path.abspath(args.tool) if args.tool else os.path.join(build, "ppd-localize")
    floor = os.path.join(build, "bench", "ppd-floor")
    maker = os.path.join(build, "bench", "make_large_ppd")
    sizes = [int(s) for s in args.sizes.split(",")]
    countries = args.countries.split(",")
    timed = not args.memory_only
    os.makedirs(os.path.join(build, "ppds"), exist_ok=True)

    try:
        cgroup = MemoryCgroup()
        unavailable = None
        print(f"run_bench: peak memory is the {cgroup.describe()}", file=sys.stderr)
    except CgroupUnavailable as e:
        if args.memory == "cgroup":
            sys.exit(f"run_bench: the memory cgroup's high-water mark cannot be measured: {e}")
        cgroup, unavailable = None, f"n/a ({e.short})"
        print(f"run_bench: peak memory not measured, the memory cgroup's high-water mark cannot be "
              f"measured: {e}", file=sys.stderr)
    has_rss = os.path.exists("/usr/bin/time")

    def peak(command, path):
        if cgroup is None:
            return None
        read_through(path)
        return cgroup.peak_kib(command)

    rows = []
    for size in sizes:
        path = os.path.join(build, "ppds", f"large-{size}MB.ppd")
        if not os.path.exists(path):
            with open(path, "wb") as f:
                subprocess.run([maker, str(size * 1000000)], check=True, stdout=f)
        ppd_bytes = os.path.getsize(path)  # the budget counts the PPD, not its gzip copy
        if args.gzip:
            if not os.path.exists(path + ".gz"):
                subprocess.run(["gzip", "-k", "-6", path], check=True)
            path += ".gz"
        # The floor runs under env as the tool does, so both pay for the same exec.
        floor_cmd = f"env LC_ALL=C {floor} x {path}"
        tool_cmds = [f"env LC_ALL=xx_{c}.UTF-8 {tool} x {path}" for c in countries]
        row = {"size_mb": size, "bytes": ppd_bytes}
        if timed:
            rounds = args.rounds or ROUNDS.get(size, 3)
            warmup = 1 if size <= 4 else 0
            times = [[] for _ in range(1 + len(countries))]
            for round_ in range(rounds):
                order = list(range(1 + len(countries)))
                if round_ % 2:
                    order.reverse()
                cmds = [([floor_cmd] + tool_cmds)[i] for i in order]
                for i, t in zip(order, hyperfine(cmds, warmup)):
                    times[i].extend(t)
            medians = [statistics.median(t) for t in times]
            row["floor_s"] = medians[0]
        row["floor_peak_kib"] = peak(floor_cmd, path)
        row["floor_max_rss_kib"] = max_rss_kib(floor_cmd)
        for i, (c, cmd) in enumerate(zip(countries, tool_cmds), start=1):
            row[c] = {}
            if timed:
                ratios = [t / f for t, f in zip(times[i], times[0])]
                row[c] = {"median_s": medians[i], "ratio": statistics.median(ratios)}
            row[c]["peak_kib"] = peak(cmd, path)
            row[c]["max_rss_kib"] = max_rss_kib(cmd)
        if cgroup is not None:
            row["tool_peak_kib"] = max(row[c]["peak_kib"] for c in countries)
            row["budget_kib"] = row["floor_peak_kib"] + 2 * ppd_bytes // 1024
            row["within_budget"] = row["tool_peak_kib"] <= row["budget_kib"]
        row["memory_measure"] = cgroup.describe() if cgroup else unavailable
        rows.append(row)
        print(f"measured {size} MB", file=sys.stderr)

    head = ["size"]
    if timed:
        head += ["floor median"] + [h for c in countries for h in (f"{c} median", f"{c}/floor")]
    head += ["floor peak (cgroup)", "tool peak (cgroup, max over countries)",
             "budget (floor + 2 x size)", "within budget"]
    if has_rss:
        head += ["floor max RSS (GNU time, for comparison)", "tool max RSS (GNU time, max over countries)"]
    print("| " + " | ".join(head) + " |")
    print("|---" * len(head) + "|")
    for r in rows:
        cells = [f"{r['size_mb']} MB"]
        if timed:
            cells.append(f"{r['floor_s'] * 1000:.1f} ms")
            for c in countries:
                cells += [f"{r[c]['median_s'] * 1000:.1f} ms", f"{r[c]['ratio']:.3f}"]
        if cgroup is not None:
            cells += [mib(r["floor_peak_kib"]), mib(r["tool_peak_kib"]), mib(r["budget_kib"]),
                      "yes" if r["within_budget"] else "no"]
        else:
            cells += [unavailable] * 4
        if has_rss:
            cells += [mib(r["floor_max_rss_kib"]), mib(max(r[c]["max_rss_kib"] for c in countries))]
        print("| " + " | ".join(cells) + " |")
    by_size = {r["size_mb"]: r for r in rows}
    if timed and 4 in by_size and max(by_size) > 4:
        big = max(by_size)
        for c in countries:
            print(f"scaling {c}: tool {big} MB / 4 MB = "
                  f"{by_size[big][c]['median_s'] / by_size[4][c]['median_s']:.1f}x; "
                  f"floor {by_size[big]['floor_s'] / by_size[4]['floor_s']:.1f}x")
    with open(os.path.join(build, "bench-results.json"), "w") as f:
        json.dump(rows, f, indent=1)


if __name__ == "__main__":
    main()
