#!/usr/bin/env python3
"""Compiles every C++ file of the native tree with clang, syntax only, with
-Wthread-safety -Werror: a lock rule broken anywhere (data touched without the
lock that GUARDED_BY names, a REQUIRES not met) fails the check.

Usage: check-thread-safety.py BUILD_DIR [JOBS]
BUILD_DIR is a CMake build folder configured with clang++ (its
compile_commands.json says how each file is compiled)."""
import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

FLAGS = ["-fsyntax-only", "-Wthread-safety", "-Werror"]


def command_of(entry):
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    out = []
    skip = False
    for a in args:
        if skip:
            skip = False
            continue
        if a in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if a in ("-c", "-MD", "-MMD"):
            continue
        out.append(a)
    return out + FLAGS


def main():
    build = sys.argv[1]
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = [e for e in json.load(f) if e["file"].endswith((".cpp", ".cc", ".cxx"))]
    seen = set()
    unique = []
    for e in entries:
        if e["file"] not in seen:
            seen.add(e["file"])
            unique.append(e)

    def check(entry):
        run = subprocess.run(command_of(entry), cwd=entry["directory"], capture_output=True, text=True)
        return entry["file"], run.returncode, run.stderr

    failed = 0
    with ThreadPoolExecutor(max_workers=jobs) as pool:
        for name, code, errors in pool.map(check, unique):
            if code != 0:
                failed += 1
                sys.stderr.write(errors)
    print(f"thread-safety check: {len(unique)} files, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
