#!/usr/bin/env python3
"""Fails when the folders of src/ include each other in a loop.

    python3 scripts/check-include-loops.py [SRC]     SRC: the src/ folder beside this script

A folder depends on every folder whose headers its files include, except its own ancestors: a
reader's folder may use the engine's base types one level up, and the engine may call its
readers. Any other loop (two sibling folders using each other, or a chain that comes back to
where it started) is printed with one include that makes each step, and the exit status is 1.
"""
import os
import re
import sys
from collections import defaultdict

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def folder_edges(src):
    edges = defaultdict(dict)  # folder -> {included folder: one include that makes the edge}
    for folder, _, files in os.walk(src):
        here = os.path.relpath(folder, src)
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as text:
                for included in INCLUDE.findall(text.read()):
                    if not os.path.isfile(os.path.join(src, included)):
                        continue  # a system or generated header
                    there = os.path.dirname(included)
                    if there == here or (here + "/").startswith(there + "/"):
                        continue
                    edges[here].setdefault(there, f"{os.path.join(here, name)} -> {included}")
    return edges


def loops(edges):
    """The strongly connected components of more than one folder (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in edges.get(node, {}):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    nodes = set(edges) | {target for targets in edges.values() for target in targets}
    for node in sorted(nodes):
        if node not in index:
            visit(node)
    return found


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src")
    edges = folder_edges(src)
    found = loops(edges)
    for component in found:
        print("include loop among: " + ", ".join(component))
        for folder in component:
            for target, example in sorted(edges[folder].items()):
                if target in component:
                    print(f"    {example}")
    if not found:
        print("no include loops between folders")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
