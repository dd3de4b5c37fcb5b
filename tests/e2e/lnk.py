#!/usr/bin/env python3
"""Prints the working folder a Windows shortcut (.lnk) names, or nothing.

Shell Link format: a 76-byte header whose flags say which parts follow: the item list
(0x01, its size first), the link info (0x02, its size first), then counted strings in the
order name 0x04, relative path 0x08, working folder 0x10 (UTF-16 when 0x80 is set).
"""
import struct
import sys

data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 76
if flags & 0x01:
    at += 2 + struct.unpack_from("<H", data, at)[0]
if flags & 0x02:
    at += struct.unpack_from("<I", data, at)[0]
width = 2 if flags & 0x80 else 1
for bit in (0x04, 0x08, 0x10):
    if flags & bit:
        count = struct.unpack_from("<H", data, at)[0]
        text = data[at + 2:at + 2 + count * width]
        at += 2 + count * width
        if bit == 0x10:
            print(text.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0"))
