#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds two folder trees for the scan benchmark.

make_trees.py DIR FILES [disjoint]  creates DIR/source and DIR/target with FILES files each,
in about FILES/20 folders (100 top folders, each with its share of subfolders). About 1% of
the files are newer on the source side, 1% newer on the target side, 1% exist on one side
only; some names differ only in letter case, within a folder and between the two sides.
With "disjoint" the two trees have the same folders but no file name in common: every file is
new on its side. Sizes are sparse, so the trees take almost no disk space.
"""
import os
import random
import sys

BASE_TIME = 1_600_000_000
EXTENSIONS = ["txt", "doc", "jpg", "c", "h", "pdf", "xls", "png", "mp3", "log"]


def make_file(path, size, mtime):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    if size:
        os.ftruncate(fd, size)
    os.close(fd)
    os.utime(path, (mtime, mtime))


def main():
    root, files = sys.argv[1], int(sys.argv[2])
    disjoint = len(sys.argv) > 3 and sys.argv[3] == "disjoint"
    rng = random.Random(1)
    src, tgt = os.path.join(root, "source"), os.path.join(root, "target")
    folders = max(1, files // 20)
    tops = min(100, folders)
    per_file = []
    for i in range(files):
        folder = i % folders
        rel_dir = "top%03d/sub%05d" % (folder % tops, folder)
        ext = EXTENSIONS[i % len(EXTENSIONS)]
        name = "file_%07d.%s" % (i, ext)
        per_file.append((rel_dir, name))
    for side in (src, tgt):
        for f in range(folders):
            os.makedirs(os.path.join(side, "top%03d/sub%05d" % (f % tops, f)), exist_ok=True)
    for i, (rel_dir, name) in enumerate(per_file):
        size = rng.randrange(0, 200_000)
        roll = rng.random()
        s_time = t_time = BASE_TIME + rng.randrange(0, 10_000_000)
        if disjoint:
            make_file(os.path.join(src, rel_dir, "s" + name), size, s_time)
            make_file(os.path.join(tgt, rel_dir, "t" + name), size, s_time)
            continue
        s_name = t_name = name
        make_s = make_t = True
        if roll < 0.01:
            s_time += 60  # newer on the source side
        elif roll < 0.02:
            t_time += 60  # newer on the target side
        elif roll < 0.025:
            make_t = False  # source only
        elif roll < 0.03:
            make_s = False  # target only
        elif roll < 0.035:
            t_name = name.upper()  # same file, other letter case on the target side
        elif roll < 0.04:
            # a second file in the folder whose name differs only in letter case
            for side in (src, tgt):
                make_file(os.path.join(side, rel_dir, name.capitalize()), size, s_time)
        if make_s:
            make_file(os.path.join(src, rel_dir, s_name), size, s_time)
        if make_t:
            make_file(os.path.join(tgt, rel_dir, t_name), size, t_time)


if __name__ == "__main__":
    main()
