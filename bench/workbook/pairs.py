#!/usr/bin/env python3
"""Medians and pair-by-pair ratios of compare.sh's rows, as Markdown tables.

    bench/workbook/compare.sh ... | tee runs.txt; python3 bench/workbook/pairs.py runs.txt

First each workload and program: wall seconds round by round, median wall and CPU seconds, peak
memory. Then the ratios that the targets name, each taken within one round and then the median:
now against before for every workload, W2.ods against W2.xlsx, and W3.xlsx against unzip.
"""
import collections
import statistics
import sys


def read_runs(path):
    runs = collections.defaultdict(dict)  # (workload, program) -> round -> (wall, cpu, peak)
    with open(path) as lines:
        for line in lines:
            fields = line.split()
            if len(fields) != 6 or not fields[0].isdigit():
                continue
            round_, workload, program, wall, cpu, peak = fields
            runs[(workload, program)][int(round_)] = (float(wall), float(cpu), int(peak))
    return runs


def ratio_row(name, top, bottom):
    rounds = sorted(set(top) & set(bottom))
    ratios = [top[r][0] / bottom[r][0] for r in rounds]
    if ratios:
        listed = ", ".join(f"{x:.2f}" for x in ratios)
        print(f"| {name} | {listed} | {statistics.median(ratios):.2f} |")


def main():
    runs = read_runs(sys.argv[1])
    print("| workload | program | wall s, round by round | median wall s | median CPU s | peak MiB |")
    print("|---|---|---|---:|---:|---:|")
    for (workload, program), by_round in sorted(runs.items()):
        values = [by_round[r] for r in sorted(by_round)]
        walls = ", ".join(f"{v[0]:.2f}" for v in values)
        print(f"| {workload} | {program} | {walls} | {statistics.median(v[0] for v in values):.2f}"
              f" | {statistics.median(v[1] for v in values):.2f} | {max(v[2] for v in values)} |")
    print()
    print("| ratio of wall times | round by round | median |")
    print("|---|---|---:|")
    for workload in sorted({key[0] for key in runs}):
        if (workload, "now") in runs and (workload, "before") in runs:
            ratio_row(f"{workload}: now / before", runs[(workload, "now")],
                      runs[(workload, "before")])
    for program in ("before", "now"):
        if ("W2.ods", program) in runs and ("W2.xlsx", program) in runs:
            ratio_row(f"W2.ods / W2.xlsx, {program}", runs[("W2.ods", program)],
                      runs[("W2.xlsx", program)])
        if ("W3.xlsx", program) in runs and ("W3.xlsx", "unzip") in runs:
            ratio_row(f"W3.xlsx / unzip, {program}", runs[("W3.xlsx", program)],
                      runs[("W3.xlsx", "unzip")])


if __name__ == "__main__":
    main()
