#!/usr/bin/env python3
"""Times whole runs of ppd-localize against the floor program with hyperfine.

For each size it generates a large PPD, then measures the floor and the tool
for each country in alternating rounds, and prints medians, the tool/floor
ratio, peak memory (GNU time) and the scaling of the tool from 4 MB to the
largest size. The ratio is taken pair by pair: each round's tool time over the
same round's floor time, then the median of those, so that the machine's drift
from one minute to the next cancels out. Usage: run_bench.py BUILD_DIR [--sizes 1,4,16,64] [--countries JP,CN,DE] [--gzip] [--rounds N]
With --gzip the PPD is gzip-compressed first, and both read the compressed file.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

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


def peak_kib(command):
    result = subprocess.run(["/usr/bin/time", "-f", "%M", "sh", "-c", command + " >/dev/null"],
                            check=True, capture_output=True, text=True)
    return int(result.stderr.strip().splitlines()[-1])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--sizes", default="1,4,16,64")
    parser.add_argument("--countries", default="JP,CN,DE")
    parser.add_argument("--tool", help="the ppd-localize binary to time (default: BUILD_DIR/ppd-localize)")
    parser.add_argument("--gzip", action="store_true", help="time a gzip-compressed copy of each PPD")
    parser.add_argument("--rounds", type=int, help="rounds at every size instead of the defaults")
    args = parser.parse_args()
    build = os.path.abspath(args.build_dir)
    tool = os.path.abspath(args.tool) if args.tool else os.path.join(build, "ppd-localize")
    floor = os.path.join(build, "bench", "ppd-floor")
    maker = os.path.join(build, "bench", "make_large_ppd")
    sizes = [int(s) for s in args.sizes.split(",")]
    countries = args.countries.split(",")
    os.makedirs(os.path.join(build, "ppds"), exist_ok=True)

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
        row = {"size_mb": size, "bytes": ppd_bytes, "floor_s": medians[0],
               "floor_peak_kib": peak_kib(floor_cmd)}
        for i, (c, cmd) in enumerate(zip(countries, tool_cmds), start=1):
            ratios = [t / f for t, f in zip(times[i], times[0])]
            row[c] = {"median_s": medians[i], "ratio": statistics.median(ratios), "peak_kib": peak_kib(cmd)}
        rows.append(row)
        print(f"measured {size} MB", file=sys.stderr)

    print("| size | floor median | " + " | ".join(f"{c} median | {c}/floor" for c in countries) +
          " | floor peak | tool peak (max) | budget (floor + 2 x size) |")
    print("|---" * (3 + 2 * len(countries) + 2) + "|")
    for r in rows:
        peak = max(r[c]["peak_kib"] for c in countries)
        budget = r["floor_peak_kib"] + 2 * r["bytes"] // 1024
        cells = " | ".join(f"{r[c]['median_s'] * 1000:.1f} ms | {r[c]['ratio']:.3f}" for c in countries)
        print(f"| {r['size_mb']} MB | {r['floor_s'] * 1000:.1f} ms | {cells} | "
              f"{r['floor_peak_kib'] / 1024:.1f} MiB | {peak / 1024:.1f} MiB | {budget / 1024:.1f} MiB |")
    by_size = {r["size_mb"]: r for r in rows}
    if 4 in by_size and len(rows) > 1:
        big = max(by_size)
        for c in countries:
            print(f"scaling {c}: tool {big} MB / 4 MB = "
                  f"{by_size[big][c]['median_s'] / by_size[4][c]['median_s']:.1f}x; "
                  f"floor {by_size[big]['floor_s'] / by_size[4]['floor_s']:.1f}x")
    with open(os.path.join(build, "bench-results.json"), "w") as f:
        json.dump(rows, f, indent=1)


if __name__ == "__main__":
    main()
