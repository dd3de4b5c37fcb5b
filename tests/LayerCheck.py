#!/usr/bin/env python3
"""Fails when an include under src/ points up the layers of the game.

The folders of src/ are layers, lowest first:

    util  <  canvas, audio  <  render  <  wall, actors  <  game  <  app

A file may include headers of its own folder and of any folder of a lower rank. Folders of
the same rank are peers and stay apart: canvas and audio do not include each other, nor do
wall and actors (game is where they meet). A folder that is not in the table below, as
includer or included, is an error too: a new folder gets its place here first.

Only quoted includes that start with a folder name are looked at (`#include "wall/X.h"`);
system and library headers are not ours to order.

Usage: LayerCheck.py <src folder> [--graph]
  --graph  also prints each folder and the folders it includes (its own left out).
Exit status 0 when every include follows the order, 1 with one line per offending include.
"""
import os
import re
import sys

# Rank of each folder: the higher may include the lower; equal ranks are peers.
RANKS = {
    "util": 0,
    "canvas": 1,
    "audio": 1,
    "render": 2,
    "wall": 3,
    "actors": 3,
    "game": 4,
    "app": 5,
}
ORDER_TEXT = "util < canvas, audio < render < wall, actors < game < app"
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/([^"]*)"')


def includes_of(path):
    """(line number, folder, rest of the path) of each quoted folder include in the file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, m.group(1), m.group(2)


def check(src):
    problems = []
    graph = {}
    count = 0
    for folder in sorted(os.listdir(src)):
        top = os.path.join(src, folder)
        if not os.path.isdir(top):
            continue
        for root, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(root, name)
                shown = os.path.relpath(path, os.path.dirname(os.path.abspath(src)))
                for number, target, rest in includes_of(path):
                    count += 1
                    where = '%s:%d: #include "%s/%s"' % (shown, number, target, rest)
                    if folder not in RANKS:
                        problems.append("%s: folder %s has no place in the layer order (%s)"
                                        % (where, folder, ORDER_TEXT))
                        continue
                    if target not in RANKS:
                        problems.append("%s: %s is not a layer (%s)" % (where, target, ORDER_TEXT))
                        continue
                    if target != folder:
                        graph.setdefault(folder, set()).add(target)
                    if target == folder or RANKS[target] < RANKS[folder]:
                        continue
                    if RANKS[target] == RANKS[folder]:
                        why = "%s and %s are peers and stay apart" % (folder, target)
                    else:
                        why = "%s lies above %s" % (target, folder)
                    problems.append("%s points up the layers: %s (%s)" % (where, why, ORDER_TEXT))
    return problems, graph, count


def main(argv):
    if len(argv) < 2 or not os.path.isdir(argv[1]):
        print("usage: LayerCheck.py <src folder> [--graph]", file=sys.stderr)
        return 2
    problems, graph, count = check(argv[1])
    if "--graph" in argv[2:]:
        for folder in sorted(RANKS, key=lambda f: (RANKS[f], f)):
            print("%-7s -> %s" % (folder, ", ".join(
                sorted(graph.get(folder, ()), key=lambda f: (RANKS.get(f, 99), f))) or "-"))
    for p in problems:
        print(p)
    if problems:
        print("include layers: %d of %d folder includes break the order" % (len(problems), count))
        return 1
    print("include layers: all %d folder includes follow %s" % (count, ORDER_TEXT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
