#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Prints the versions that Windows programs' resources give, each as "WHAT VERSION": the fixed
# file version, the version strings and, where there is one, the manifest's version.
# Usage: versions.py WHAT FILE [WHAT FILE...]
import re
import struct
import sys

args = sys.argv[1:]
for name, path in zip(args[::2], args[1::2]):
    data = open(path, 'rb').read()
    fixed = data.find(struct.pack('<I', 0xFEEF04BD))
    if fixed >= 0:
        ms, ls = struct.unpack_from('<II', data, fixed + 8)
        print(f'{name}:FILEVERSION {ms >> 16}.{ms & 0xFFFF}.{ls >> 16}')
    for key in ('FileVersion', 'ProductVersion'):
        m = re.search(re.escape((key + '\0').encode('utf-16-le')) + rb'(?:\0\0)*((?:[^\0]\0)+)', data)
        print(f'{name}:{key} {m.group(1).decode("utf-16-le") if m else "(none)"}')
    m = re.search(rb'<assemblyIdentity[^>]*name="Zandrel[^"]*"[^>]*version="(\d+\.\d+\.\d+)\.0"', data)
    if m:
        print(f'{name}:manifest {m.group(1).decode()}')
