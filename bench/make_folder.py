#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Fills a folder for the scale table: make_folder.py <folder> <files> [<folders> [<bytes per file>]]
# With folders > 0 the files are spread evenly over that many subfolders (two levels: a/b), else all lie
# at the top. Random content, so that nothing compresses or deduplicates.
import os
import sys

def main():
    top, files = sys.argv[1], int(sys.argv[2])
    folders = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    size = int(sys.argv[4]) if len(sys.argv) > 4 else 1024
    os.makedirs(top, exist_ok=True)
    places = [top]
    if folders > 0:
        places = [os.path.join(top, f"skupina-{i // 10:03d}", f"slozka-{i:05d}") for i in range(folders)]
        for place in places:
            os.makedirs(place, exist_ok=True)
    for i in range(files):
        with open(os.path.join(places[i % len(places)], f"soubor-{i:06d}.bin"), "wb") as out:
            out.write(os.urandom(size))

main()
