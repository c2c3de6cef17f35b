#!/usr/bin/env python3
"""Cross-builds the library for aarch64 and compares its result digest with
the native one.

Usage: check_cross_digest.py SOURCE_DIR CROSS_BUILD_DIR NATIVE_DIGEST_PROGRAM QEMU

The aarch64 build (Debian's g++-aarch64-linux-gnu) runs under qemu-user; both
programs print one digest of the bits of every result over the same grid.
"""
import os
import subprocess
import sys


def run(command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=900)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout}\n{result.stderr}")
    return result.stdout


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    source, build, native, qemu = sys.argv[1:]
    run(["cmake", "-S", source, "-B", build,
         f"-DCMAKE_TOOLCHAIN_FILE={os.path.join(source, 'cmake', 'aarch64-linux-gnu.cmake')}",
         "-DCMAKE_BUILD_TYPE=Release", "-DVORNCONV_BUILD_TESTS=OFF", "-DVORNCONV_BUILD_TABLES=OFF",
         "-DVORNCONV_INSTALL=OFF"])
    run(["cmake", "--build", build, "--target", "vector_digest", "-j", "2"])
    here = run([native]).strip()
    there = run([qemu, "-L", "/usr/aarch64-linux-gnu", os.path.join(build, "tools", "vector_digest")]).strip()
    print(f"x86-64:  {here}\naarch64: {there}")
    if here != there:
        sys.exit("the aarch64 build gives other bits")


if __name__ == "__main__":
    main()
