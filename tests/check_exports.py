#!/usr/bin/env python3
"""Checks a built libvornconv's dynamic symbol table.

Usage: check_exports.py LIBRARY [--imports]

It must define exactly the eight exports (`nm -D --defined-only`): any other
defined symbol, or a missing or C++-mangled export, fails the check. With
--imports, it may also need nothing but the C library's square root
(`nm -D --undefined-only`, weak references aside): no allocation, no I/O,
no C++ runtime.
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


IMPORTS = {"sqrt"}


def symbols(library, which):
    """(name, type) of the dynamic symbols that nm lists with `which`."""
    nm = shutil.which("nm")
    if nm is None:
        sys.exit("check_exports: nm not found (install binutils)")
    out = subprocess.run([nm, "-D", which, "--format=posix", library],
                         check=True, capture_output=True, text=True).stdout
    # posix format: NAME TYPE [VALUE [SIZE]]; a version suffix follows '@'.
    return {(line.split()[0].split("@")[0], line.split()[1]) for line in out.splitlines() if line.strip()}


def check_imports(library):
    needed = {name for name, kind in symbols(library, "--undefined-only") if kind == "U"}
    extra = sorted(needed - IMPORTS)
    for name in extra:
        print(f"unexpected import: {name}")
    if extra:
        sys.exit(1)
    print(f"imports: {', '.join(sorted(needed)) or 'none'}")


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[2:] not in ([], ["--imports"]):
        sys.exit(__doc__)
    if sys.argv[2:] == ["--imports"]:
        check_imports(sys.argv[1])
    found = {name for name, _ in symbols(sys.argv[1], "--defined-only")}
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
