#!/usr/bin/env python3
"""Checks the include graph of src/ between folders (core/api, core/capture, platform/linux, widgets/shell ...).

Fails when two folders include each other, directly or through others (a cycle), or when a library includes one
it may not depend on: core depends on nothing of ours, platform/linux and platform/fake on core, widgets on core,
app on everything. With --print it writes the folder graph, one edge per line with the number of includes."""
import re
import sys
from collections import defaultdict
from pathlib import Path

ALLOWED = {
    "core": {"core"},
    "platform/linux": {"core", "platform/linux"},
    "platform/fake": {"core", "platform/fake"},
    "widgets": {"core", "widgets"},
    "app": {"core", "platform/linux", "widgets", "app"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def library(folder):
    for lib in sorted(ALLOWED, key=len, reverse=True):
        if folder == lib or folder.startswith(lib + "/"):
            return lib
    return None


def folder_of(path):
    parts = Path(path).parts
    if parts[0] in ("core", "widgets") and len(parts) > 2:
        return "/".join(parts[:2])
    if parts[0] == "platform" and len(parts) > 2:
        return "/".join(parts[:2])
    return parts[0]


def main():
    src = Path(__file__).resolve().parent.parent / "src"
    edges = defaultdict(int)
    problems = []
    for file in sorted(src.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        rel = file.relative_to(src).as_posix()
        here = folder_of(rel)
        for target in INCLUDE.findall(file.read_text(encoding="utf-8")):
            if not (src / target).exists():
                continue  # a header of the test or build tree, or a neighbour by bare name
            there = folder_of(target)
            if library(there) not in ALLOWED[library(here)]:
                problems.append(f"{rel} includes {target}: {library(here)} may not depend on {library(there)}")
            if there != here:
                edges[(here, there)] += 1

    graph = defaultdict(set)
    for a, b in edges:
        graph[a].add(b)
    # Tarjan's strongly connected components: any component of more than one folder is a cycle.
    index, low, on_stack, stack, counter = {}, {}, set(), [], [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for nxt in graph[node]:
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                problems.append("include cycle between " + ", ".join(sorted(component)))

    for node in list(graph):
        if node not in index:
            visit(node)

    if "--print" in sys.argv:
        for (a, b), n in sorted(edges.items()):
            print(f"{a} -> {b} ({n})")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
