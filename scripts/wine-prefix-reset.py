#!/usr/bin/env python3
"""Makes a Wine prefix an exact copy of a template again, copying only what differs.

    wine-prefix-reset.py TEMPLATE PREFIX

Used by wine-run.sh between runs in one prefix: a program changes a few files (the
registry files, its own files under drive_c), so a full copy of the ~700 MB template
per run is wasted work. Every entry of PREFIX is compared with the template's:
type, mode, and for files size and modification time (to the nanosecond; a
program's write changes it), for links the target. What differs is copied again
(times kept), what the template lacks is removed, what PREFIX lacks is copied. A
missing PREFIX is created. Never run while a wineserver uses PREFIX.

Exit status 0 on success, 1 with a message on standard error otherwise.
"""

import os
import shutil
import stat
import sys


def copy_entry(src, dst, st):
    """Copies one entry of any type from src to dst (dst does not exist)."""
    if stat.S_ISDIR(st.st_mode):
        shutil.copytree(src, dst, symlinks=True, copy_function=shutil.copy2)
    elif stat.S_ISLNK(st.st_mode):
        os.symlink(os.readlink(src), dst)
    else:
        shutil.copy2(src, dst, follow_symlinks=False)


def remove_entry(path, st):
    if stat.S_ISDIR(st.st_mode):
        shutil.rmtree(path)
    else:
        os.unlink(path)


def same(src, dst, a, b):
    """Whether dst (stat b) still equals src (stat a), short of the contents."""
    if stat.S_IFMT(a.st_mode) != stat.S_IFMT(b.st_mode):
        return False
    if stat.S_ISLNK(a.st_mode):
        return os.readlink(src) == os.readlink(dst)
    if stat.S_IMODE(a.st_mode) != stat.S_IMODE(b.st_mode):
        return False
    if stat.S_ISREG(a.st_mode):
        return a.st_size == b.st_size and a.st_mtime_ns == b.st_mtime_ns
    return True


def entries(path):
    with os.scandir(path) as it:
        return {e.name: e.stat(follow_symlinks=False) for e in it}


def reset(template, prefix):
    """Brings directory prefix to template's state; returns the entries copied."""
    copied = 0
    have = entries(prefix)
    want = entries(template)
    for name, b in have.items():
        if name not in want:
            remove_entry(os.path.join(prefix, name), b)
    for name, a in want.items():
        src = os.path.join(template, name)
        dst = os.path.join(prefix, name)
        b = have.get(name)
        if b is not None and same(src, dst, a, b):
            if stat.S_ISDIR(a.st_mode):
                copied += reset(src, dst)
            continue
        if b is not None:
            remove_entry(dst, b)
        copy_entry(src, dst, a)
        copied += 1
    return copied


def main(argv):
    if len(argv) != 3:
        print("usage: wine-prefix-reset.py TEMPLATE PREFIX", file=sys.stderr)
        return 1
    template, prefix = argv[1], argv[2]
    try:
        if not os.path.isdir(template):
            raise OSError(f"no template prefix at {template}")
        if not os.path.isdir(prefix):
            shutil.copytree(template, prefix, symlinks=True, copy_function=shutil.copy2)
            return 0
        reset(template, prefix)
    except OSError as e:
        print(f"wine-prefix-reset: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
