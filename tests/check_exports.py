#!/usr/bin/env python3
"""Checks that a built libvornconv defines exactly the eight exports.

Usage: check_exports.py LIBRARY

Reads the dynamic symbol table with `nm -D --defined-only`; any other defined
symbol, or a missing or C++-mangled export, fails the check.
"""
import shutil
import subprocess
import sys

EXPORTS = {
    "vorn_set_r0",
    "vorn_set_scale",
    "vorn_set_type",
    "vorn_set_user_parameters",
    "vorn_get_parameters",
    "vorn_library_version",
    "vorn_get_resistance",
    "vorn_get_temperature",
}


def defined_symbols(library):
    nm = shutil.which("nm")
    if nm is None:
        sys.exit("check_exports: nm not found (install binutils)")
    out = subprocess.run([nm, "-D", "--defined-only", "--format=posix", library],
                         check=True, capture_output=True, text=True).stdout
    # posix format: NAME TYPE VALUE [SIZE]; a version suffix follows '@'.
    return {line.split()[0].split("@")[0] for line in out.splitlines() if line.strip()}


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = defined_symbols(sys.argv[1])
    missing = sorted(EXPORTS - found)
    extra = sorted(found - EXPORTS)
    for name in missing:
        print(f"missing export: {name}")
    for name in extra:
        print(f"unexpected exported symbol: {name}")
    if missing or extra:
        sys.exit(1)
    print(f"{len(EXPORTS)} exports, nothing else: {', '.join(sorted(found))}")


if __name__ == "__main__":
    main()
