#!/usr/bin/env python3
"""Reads screenshots of the note wall and prints what a player would see in them.

The wall twitches (it shifts by up to 12 px, zooms by up to 7 % and tilts a little every
0.23 s) and dark overlays come and go at random, so nothing here looks at exact pixel
positions or brightness: colours are classified by their ratios (a note is its colour
times a light-grey paper, and a dark overlay scales all channels alike), and positions are
read from where a whole class of pixels lies.

Usage:
  wall.py notes <png>             palette coverage: share of pixels in note colours, and
                                  how many distinct note colours are there
  wall.py player <png>            centre of the player's green body (screen px)
  wall.py creature <png> [min_x]  left edge of the creature (screen px), right of min_x
  wall.py shots <png> <x> <y>     shot-coloured pixels in the band right of (x, y)
  wall.py score <png> <data dir>  the digit read in the score label and how well it fits
  wall.py aim <png> <data dir>    player, core height and score in one go
Each prints one line of space-separated numbers (or "none").
"""
import os
import re
import subprocess
import sys

CONVERT = "/usr/bin/convert"
PALETTE_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                              "..", "..", "src", "wall", "Palette.h")


def note_palette(header=PALETTE_HEADER):
    """The note colours of the wall, 0xRRGGBB, read from the game's kNotePalette."""
    with open(header) as f:
        text = f.read()
    table = re.search(r"kNotePalette\[\]\s*=\s*\{([^}]*)\}", text)
    if not table:
        sys.exit("wall.py: no kNotePalette table in " + header)
    return [int(c, 16) for c in re.findall(r"0x[0-9A-Fa-f]+", table.group(1))]


# The note colours of the wall, 0xRRGGBB.
PALETTE = note_palette()
# The player shot's picture has these two colours.
SHOT_COLOURS = [0xF58E05, 0xFFFEA2]


def load(path, step=1, crop=None):
    """(width, height, rows of (r, g, b, a)) of the picture, every step-th pixel."""
    args = [CONVERT, path]
    if crop:
        args += ["-crop", crop, "+repage"]
    if step > 1:
        args += ["-sample", "%d%%" % (100 // step)]
    args += ["-depth", "8", "-alpha", "on", "pam:-"]
    data = subprocess.run(args, check=True, stdout=subprocess.PIPE).stdout
    end = data.index(b"ENDHDR\n") + len(b"ENDHDR\n")
    header = dict(
        line.split(b" ", 1) for line in data[:end].split(b"\n")[1:-2] if b" " in line)
    w, h = int(header[b"WIDTH"]), int(header[b"HEIGHT"])
    body = data[end:]
    rows = []
    for y in range(h):
        row = body[y * w * 4:(y + 1) * w * 4]
        rows.append([tuple(row[i:i + 4]) for i in range(0, len(row), 4)])
    return w, h, rows


def chroma(r, g, b):
    s = r + g + b
    return (r / s, g / s) if s else (1 / 3, 1 / 3)


PALETTE_CHROMA = [chroma(c >> 16, (c >> 8) & 255, c & 255) for c in PALETTE]


def palette_index(r, g, b):
    """The note colour this pixel shows, by chromaticity; None for dark or foreign ones."""
    if max(r, g, b) < 40:
        return None
    cr, cg = chroma(r, g, b)
    best, best_d = None, 0.045
    for i, (pr, pg) in enumerate(PALETTE_CHROMA):
        d = abs(cr - pr) + abs(cg - pg)
        if d < best_d:
            best, best_d = i, d
    return best


def is_player_green(r, g, b):
    return g > 60 and r < 0.3 * g and b < 0.3 * g


def is_warm(r, g, b):
    """Level colours (all have red or green above blue); not the blue wall, not greys."""
    top = max(r, g)
    return top > 50 and b < 0.8 * top and not is_player_green(r, g, b)


def notes(path):
    w, h, rows = load(path, step=4)
    counts = [0] * len(PALETTE)
    total = 0
    for row in rows:
        for r, g, b, _ in row:
            total += 1
            i = palette_index(r, g, b)
            if i is not None:
                counts[i] += 1
    matched = sum(counts)
    # A colour counts as present with at least half a note's worth of samples.
    present = sum(1 for c in counts if c >= 32)
    print("%.3f %d" % (matched / total, present))


def player(path):
    print(find_player(*load(path, step=4)) or "none")


def find_player(w, h, rows, step=4):
    """'x y samples' of the green body's centre, or None."""
    xs = ys = n = 0
    for y, row in enumerate(rows):
        for x, (r, g, b, _) in enumerate(row):
            if is_player_green(r, g, b):
                xs += x
                ys += y
                n += 1
    # The green of the body covers about six cells (6 x 64 samples); far less is noise.
    if n < 100:
        return None
    return "%d %d %d" % (xs * step // n, ys * step // n, n)


def creature(path, min_x=0):
    """Left edge of the first run of screen columns that are densely warm-coloured."""
    step = 4
    w, h, rows = load(path, step=step)
    dense = []
    for x in range(w):
        n = sum(1 for y in range(h) if is_warm(*rows[y][x][:3]))
        # Stars and their trails are one cell high; the creature is three or more.
        dense.append(n >= 3 * 32 // step)
    for x in range(min_x // step, w - 4):
        # Four dense sample columns in a row (half a cell): not a lone star column.
        if all(dense[x:x + 4]):
            print(x * step)
            return
    print("none")


def core(path, min_x=0):
    print(find_core(*load(path, step=4), min_x=min_x))


def find_core(w, h, rows, step=4, min_x=0):
    """Centre height of the creature's white core cells, right of min_x, or 'none'."""
    ys = []
    for y, row in enumerate(rows):
        for x in range(min_x // step, w):
            r, g, b, _ = row[x]
            if min(r, g, b) > 150 and min(r, g, b) > 0.85 * max(r, g, b):
                ys.append(y * step)
    # Half a note's worth of white at least; the median resists a stray white particle.
    return "none" if len(ys) < 32 else str(sorted(ys)[len(ys) // 2])


def shots(path, px, py):
    """Shot-coloured samples in the band of rows around py, right of px."""
    step = 2
    w, h, rows = load(path, step=step)
    shot_chroma = [chroma(c >> 16, (c >> 8) & 255, c & 255) for c in SHOT_COLOURS]
    n = 0
    for y in range(max(0, (py - 48) // step), min(h, (py + 48) // step)):
        for x in range(px // step, w):
            r, g, b, _ = rows[y][x]
            if max(r, g, b) < 40:
                continue
            cr, cg = chroma(r, g, b)
            if any(abs(cr - sr) + abs(cg - sg) < 0.04 for sr, sg in shot_chroma):
                n += 1
    print(n)


def aim(path, data):
    """One look for the steering loop: 'player x y samples | core y | digit fit'."""
    picture = load(path, step=4)
    found = find_player(*picture)
    core_y = find_core(*picture, min_x=int(found.split()[0]) + 160) if found else "none"
    print("%s %s" % (found or "none - -", core_y), end=" ")
    score(path, data)


def score(path, data):
    """Which digit picture fits the label best: the label is drawn still, without the
    camera, at (798, -1); its digits black from (881, 15)."""
    lw, lh, label = load(data + "/gfx/score_background.png")
    sw, sh, seen = load(path, crop="%dx%d+798+0" % (lw, lh - 1))
    best = None
    for k in range(10):
        dw, dh, digit = load(data + "/gfx/num_0%d.png" % k)
        err = n = 0
        for y in range(sh):
            for x in range(sw):
                ly = y + 1  # the label's first row lies above the window
                lr, lg, lb, la = label[ly][x]
                if la < 250:
                    continue  # only where the label hides the wall completely
                dx, dy = x + 798 - 881, y - 15
                ink = digit[dy][dx][3] / 255 if 0 <= dx < dw and 0 <= dy < dh else 0
                expect = [c * (1 - ink) for c in (lr, lg, lb)]
                r, g, b, _ = seen[y][x]
                err += (abs(r - expect[0]) + abs(g - expect[1]) + abs(b - expect[2])) / 3
                n += 1
        err /= max(n, 1)
        if best is None or err < best[1]:
            best = (k, err)
    print("%d %.1f" % best)


def main(argv):
    what = argv[1]
    if what == "notes":
        notes(argv[2])
    elif what == "player":
        player(argv[2])
    elif what == "creature":
        creature(argv[2], int(argv[3]) if len(argv) > 3 else 0)
    elif what == "core":
        core(argv[2], int(argv[3]) if len(argv) > 3 else 0)
    elif what == "shots":
        shots(argv[2], int(argv[3]), int(argv[4]))
    elif what == "aim":
        aim(argv[2], argv[3])
    elif what == "score":
        score(argv[2], argv[3])
    else:
        sys.exit("unknown query " + what)


if __name__ == "__main__":
    main(sys.argv)
