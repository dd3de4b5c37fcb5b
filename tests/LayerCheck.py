#!/usr/bin/env python3
"""Fails when an include under src/ points up the layers of the game.

The folders of src/ are layers, lowest first:

    util  <  canvas, audio  <  render  <  wall, actors  <  game  <  app

A file may include headers of its own folder and lower layers; peers stay apart (game is
where wall and actors meet). A folder missing from the table is an error. Only quoted
includes that start with a folder name count.

Usage: LayerCheck.py <src folder>; one line per offending include, exit status 1 if any.
"""
import os
import re
import sys

RANKS = {"util": 0, "canvas": 1, "audio": 1, "render": 2, "wall": 3, "actors": 3, "game": 4,
         "app": 5}
ORDER = "util < canvas, audio < render < wall, actors < game < app"
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"')


def problems(src):
    for root, _, files in sorted(os.walk(src)):
        folder = os.path.relpath(root, src).split(os.sep)[0]
        for name in sorted(files):
            path = os.path.join(root, name)
            for number, line in enumerate(open(path, errors="replace"), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target, where = m.group(1), "%s:%d: %s" % (path, number, line.strip())
                if folder not in RANKS or target not in RANKS:
                    yield "%s: %s has no place in the layer order (%s)" % (
                        where, folder if folder not in RANKS else target, ORDER)
                elif target != folder and RANKS[target] >= RANKS[folder]:
                    rel = "a peer of" if RANKS[target] == RANKS[folder] else "above"
                    yield "%s points up the layers: %s is %s %s (%s)" % (
                        where, target, rel, folder, ORDER)


if __name__ == "__main__":
    found = list(problems(sys.argv[1]))
    print("\n".join(found) or "include layers: every include follows " + ORDER)
    sys.exit(1 if found else 0)
