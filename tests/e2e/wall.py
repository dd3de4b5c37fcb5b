#!/usr/bin/env python3
"""Reads a screenshot of the note wall and prints what a player would see in it.

The wall twitches and dark overlays come and go: colours are classified by their channel
ratios (an overlay scales all alike), positions by where a class of pixels lies.

Usage (each prints one line of numbers, or "none"):
  wall.py notes <picture>           share of pixels in note colours, note colours present
  wall.py player <picture>          centre of the player's green body (screen px), samples
  wall.py shots <picture> <x> <y>   shot-coloured samples in the band right of (x, y)
  wall.py score <picture> <data>    the digit read in the score label, mean misfit
"""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def header(name):
    return open(os.path.join(HERE, "..", "..", "src", "wall", name)).read()


# The wall's layout constants and picture names, and its note colours (0xRRGGBB), as the
# game's headers define them.
LAYOUT = {name: float(value) for name, value in
          re.findall(r"constexpr float (k\w+) = (-?[0-9.]+)f;", header("WallLayout.h"))}
LAYOUT.update(re.findall(r'constexpr char (k\w+)\[\] = "([^"]*)";', header("WallLayout.h")))
NOTE_COLOURS = [int(c, 16) for c in re.findall(r"0x[0-9A-Fa-f]+", re.search(
    r"kNotePalette\[\]\s*=\s*\{([^}]*)\}", header("Palette.h")).group(1))]
SCORE_X, SCORE_Y = int(LAYOUT["kScoreBackgroundX"]), int(LAYOUT["kScoreBackgroundY"])
DIGIT_X, DIGIT_Y = int(LAYOUT["kScoreNumberX"]), int(LAYOUT["kScoreNumberY"])


def chroma(r, g, b):
    s = r + g + b
    return (r / s, g / s) if s else (1 / 3, 1 / 3)


PALETTE_CHROMA = [chroma(c >> 16, (c >> 8) & 255, c & 255) for c in NOTE_COLOURS]
SHOT_CHROMA = [chroma(c >> 16, (c >> 8) & 255, c & 255)
               for c in (0xF58E05, 0xFFFEA2)]  # the player shot's picture


def load(path, step=1, crop=None):
    """(width, height, rows of (r, g, b, a)) of every step-th pixel; a list: side by side."""
    args = ["/usr/bin/convert"] + (path + ["-background", "none", "+append"]
                                   if isinstance(path, list) else [path])
    args += ["-crop", crop, "+repage"] if crop else []
    args += ["-sample", "%d%%" % (100 // step)] if step > 1 else []
    data = subprocess.run(args + ["-depth", "8", "-alpha", "on", "pam:-"], check=True,
                          stdout=subprocess.PIPE).stdout
    end = data.index(b"ENDHDR\n") + 7
    fields = dict(line.split(b" ", 1) for line in data[:end].split(b"\n") if b" " in line)
    w, h = int(fields[b"WIDTH"]), int(fields[b"HEIGHT"])
    body = data[end:]
    return w, h, [[tuple(body[(y * w + x) * 4:(y * w + x) * 4 + 4]) for x in range(w)]
                  for y in range(h)]


def nearest(chromas, r, g, b, limit):
    """Index of the colour whose chromaticity is within `limit` and nearest; None if dark."""
    if max(r, g, b) < 40:
        return None
    cr, cg = chroma(r, g, b)
    d, i = min((abs(cr - pr) + abs(cg - pg), i) for i, (pr, pg) in enumerate(chromas))
    return i if d < limit else None


def notes(path):
    w, h, rows = load(path, step=4)
    found = [nearest(PALETTE_CHROMA, r, g, b, 0.045) for row in rows for r, g, b, _ in row]
    counts = [found.count(i) for i in range(len(PALETTE_CHROMA))]
    # A colour counts as present with at least half a note's worth of samples.
    print("%.3f %d" % (sum(counts) / (w * h), sum(1 for c in counts if c >= 32)))


def find_player(rows, step=4):
    """'x y samples' of the green body's centre, or None."""
    green = [(x, y) for y, row in enumerate(rows) for x, (r, g, b, _) in enumerate(row)
             if g > 60 and r < 0.3 * g and b < 0.3 * g]
    # The body covers about six cells (6 x 64 samples); far less is noise.
    if len(green) < 100:
        return None
    return "%d %d %d" % (sum(x for x, _ in green) * step // len(green),
                         sum(y for _, y in green) * step // len(green), len(green))


def shots(path, px, py):
    step = 2
    w, h, rows = load(path, step=step)
    print(sum(1 for y in range(max(0, (py - 48) // step), min(h, (py + 48) // step))
              for r, g, b, _ in rows[y][px // step:]
              if nearest(SHOT_CHROMA, r, g, b, 0.04) is not None))


def score(path, data):
    """Which digit fits the label best (drawn still at (SCORE_X, SCORE_Y), its digit black from
    (DIGIT_X, DIGIT_Y)), where the label hides the wall completely."""
    pictures = [data + "/gfx/" + LAYOUT["kScoreBackgroundPicture"]] + [
        data + "/gfx/num_0%d.png" % k for k in range(10)]
    # One decoder run for all eleven pictures, side by side; PNG headers give the sizes.
    sizes = [(int.from_bytes(h[16:20], "big"), int.from_bytes(h[20:24], "big"))
             for h in (open(p, "rb").read(24) for p in pictures)]
    atlas = load(pictures)[2]
    starts = [sum(w for w, _ in sizes[:i]) for i in range(len(sizes))]
    # The label starts one row above the screen when SCORE_Y is -1: that row is not seen.
    sw, sh, seen = load(path, crop="%dx%d+%d+0" % (sizes[0][0], sizes[0][1] + SCORE_Y, SCORE_X))
    fits = []
    for k in range(10):
        dx0, (dw, dh) = starts[k + 1], sizes[k + 1]
        err = n = 0
        for y in range(0, sh, 2):
            for x in range(0, sw, 2):
                lr, lg, lb, la = atlas[y - SCORE_Y][x]
                if la < 250:
                    continue
                dx, dy = x + SCORE_X - DIGIT_X, y - DIGIT_Y
                ink = atlas[dy][dx0 + dx][3] / 255 if 0 <= dx < dw and 0 <= dy < dh else 0
                err += sum(abs(s - c * (1 - ink)) for s, c in zip(seen[y][x], (lr, lg, lb))) / 3
                n += 1
        fits.append((err / max(n, 1), k))
    fit, k = min(fits)
    return "%d %.1f" % (k, fit)


def main(what, path, *args):
    queries = {"notes": lambda: notes(path),
               "player": lambda: print(find_player(load(path, step=4)[2]) or "none"),
               "shots": lambda: shots(path, int(args[0]), int(args[1])),
               "score": lambda: print(score(path, args[0]))}
    queries.get(what, lambda: sys.exit("unknown query " + what))()


if __name__ == "__main__":
    main(*sys.argv[1:])
