#!/usr/bin/env python3
"""Medians of run.sh's rows, as Markdown tables.

    bench/export/run.sh ... | tee runs.txt; python3 bench/export/medians.py runs.txt

First each workload, option, build and tool with its wall seconds (every round), median wall and
CPU seconds and peak memory; then, per workload and option, the window's median wall time
against tabulon-cli's (and round by round), and the build against the BEFORE build.
"""
import collections
import statistics
import sys

OPTIONS = ["book", "sheet", "row", "column"]


def read_runs(path):
    runs = collections.defaultdict(list)
    with open(path) as lines:
        for line in lines:
            fields = line.split()
            if len(fields) < 9 or not fields[0].isdigit():
                continue
            _, load, mode, build, tool, wall, cpu, peak, files = fields[:9]
            runs[(load, mode, build, tool)].append((float(wall), float(cpu), int(peak), int(files)))
    return runs


def median(runs, index):
    return statistics.median(run[index] for run in runs)


def main():
    runs = read_runs(sys.argv[1])
    order = lambda key: (key[0], OPTIONS.index(key[1]), key[2] != "before", key[3])
    print("| workload | option | build | tool | wall s, round by round | median wall s"
          " | median CPU s | peak MiB | files |")
    print("|---|---|---|---|---|---:|---:|---:|---:|")
    for key in sorted(runs, key=order):
        group = runs[key]
        walls = ", ".join(f"{run[0]:.2f}" for run in group)
        print(f"| {' | '.join(key)} | {walls} | {median(group, 0):.2f} | {median(group, 1):.2f}"
              f" | {max(run[2] for run in group)} | {group[0][3]} |")
    print()
    print("| workload | option | window / tabulon-cli | round by round | now / before, cli"
          " | now / before, window |")
    print("|---|---|---:|---|---:|---:|")
    for load, mode in sorted({key[:2] for key in runs}, key=lambda k: (k[0], OPTIONS.index(k[1]))):
        get = lambda build, tool: runs.get((load, mode, build, tool), [])
        cli, window = get("now", "cli"), get("now", "window")
        if not cli or not window:
            continue
        rounds = ", ".join(f"{w[0] / c[0]:.2f}" for w, c in zip(window, cli))
        against = []
        for tool, now in (("cli", cli), ("window", window)):
            before = get("before", tool)
            against.append(f"{median(now, 0) / median(before, 0):.2f}" if before else "-")
        print(f"| {load} | {mode} | {median(window, 0) / median(cli, 0):.2f} | {rounds}"
              f" | {' | '.join(against)} |")


if __name__ == "__main__":
    main()
