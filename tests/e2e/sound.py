#!/usr/bin/env python3
"""Counts shot-sound bursts in parts of a capture of the mixer (raw S16LE stereo 44.1 kHz).

A 50 ms window of the 4 to 8 kHz band louder than -30 dB is a shot (or an explosion): the
shot is bright there, and the music stays at least 1 dB below in any 50 ms.

Usage: sound.py <raw> <from> <to> [<from> <to> ...]   byte offsets into the capture;
prints the number of loud windows of each part.
"""
import array
import math
import subprocess
import sys

FRAME = 4  # bytes per stereo frame
WINDOW = 2205  # 50 ms at 44.1 kHz
THRESHOLD_DB = -30.0


def loud_windows(data):
    band = subprocess.run(
        ["sox", "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "2", "-",
         "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "1", "-",
         "remix", "1-2", "sinc", "4000-8000"],
        input=data, check=True, stdout=subprocess.PIPE).stdout
    samples = array.array("h")
    samples.frombytes(band[:len(band) // 2 * 2])
    powers = (sum(s * s for s in samples[i:i + WINDOW]) / WINDOW / 32768.0**2
              for i in range(0, len(samples) - WINDOW + 1, WINDOW))
    return sum(1 for power in powers if 10 * math.log10(power + 1e-12) > THRESHOLD_DB)


def main(argv):
    raw = open(argv[1], "rb").read()
    at = [int(offset) // FRAME * FRAME for offset in argv[2:]]
    print(" ".join(str(loud_windows(raw[a:b])) for a, b in zip(at[::2], at[1::2])))


if __name__ == "__main__":
    main(sys.argv)
