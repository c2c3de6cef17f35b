#!/usr/bin/env python3
"""Runs the README's Install and Use snippets against a built tree.

Usage: check_usage.py SOURCE_DIR BUILD_DIR

Installs with the README's command into a temporary home, moves the installed
tree elsewhere (the package files must be relocatable), then builds and runs
the README's C program through its CMake package and through pkg-config, and
runs its Python snippet against the built library.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = BUILD = None


def snippets(readme):
    """Fenced blocks followed by a <!-- snippet: NAME --> line, by name."""
    found = re.findall(r"```\w+\n((?:(?!```).)*)```\n<!-- snippet: (.+?) -->", readme, re.S)
    return {name: body for body, name in found}


def run(command, cwd, home, extra_env=None, shell=False):
    env = {"PATH": os.environ["PATH"], "HOME": home, "LANG": "C"}
    # A sanitizer build's library needs its runtime's options in consumers too.
    env.update({k: v for k, v in os.environ.items() if k in ("ASAN_OPTIONS", "UBSAN_OPTIONS")})
    env.update(extra_env or {})
    result = subprocess.run(command, cwd=cwd, env=env, shell=shell, executable="/bin/bash" if shell else None,
                            capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        raise AssertionError(f"{command!r} failed ({result.returncode}):\n{result.stdout}\n{result.stderr}")
    return result.stdout


class Usage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
            cls.snippet = snippets(f.read())
        cls.tmp = tempfile.mkdtemp(prefix="vornconv-usage-")
        # The README's commands speak of ./build: give them this build tree.
        work = os.path.join(cls.tmp, "checkout")
        os.makedirs(work)
        os.symlink(BUILD, os.path.join(work, "build"))
        installed_home = os.path.join(cls.tmp, "home-installed")
        run(cls.snippet["install"], work, installed_home, shell=True)
        # Move the installed tree: nothing in it may name where it was put.
        cls.home = os.path.join(cls.tmp, "home")
        shutil.move(installed_home, cls.home)
        cls.prefix = os.path.join(cls.home, ".local")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def consumer_dir(self, name):
        path = os.path.join(self.tmp, name)
        os.makedirs(path)
        with open(os.path.join(path, "main.c"), "w") as f:
            f.write(self.snippet["main.c"])
        return path

    def expected_output(self):
        return self.snippet["main.c output"]

    def test_installed_layout(self):
        lib = os.path.join(self.prefix, "lib")
        with open(os.path.join(SOURCE, "library", "vornconv.h")) as f:
            major = re.search(r"#define VORNCONV_VERSION_MAJOR (\d+)", f.read()).group(1)
        self.assertEqual(f"libvornconv.so.{major}", os.readlink(os.path.join(lib, "libvornconv.so")))
        dynamic = run(["objdump", "-p", os.path.join(lib, "libvornconv.so")], self.tmp, self.home)
        self.assertRegex(dynamic, rf"SONAME\s+libvornconv\.so\.{major}\n")
        for path in ["include/vornconv.h", "lib/cmake/vornconv/vornconvConfig.cmake",
                     "lib/cmake/vornconv/vornconvConfigVersion.cmake", "lib/pkgconfig/vornconv.pc"]:
            self.assertTrue(os.path.isfile(os.path.join(self.prefix, path)), path)
        # On the PATH only the converter: no `test` to shadow the shell's.
        self.assertEqual(["vornconv"], os.listdir(os.path.join(self.prefix, "bin")))
        version = run([os.path.join(self.prefix, "bin", "vornconv"), "--version"], self.tmp, self.home)
        self.assertIn("library version 102", version)
        report = run([os.path.join(self.prefix, "libexec", "vornconv", "test")], self.tmp, self.home)
        self.assertEqual(57, report.count("\n"))

    def test_header_is_strict_c(self):
        include = os.path.join(self.prefix, "include")
        main = os.path.join(self.consumer_dir("strict-c"), "main.c")
        for standard in ("c99", "c11", "c17"):
            run(["cc", f"-std={standard}", "-Wall", "-Wextra", "-Wpedantic", "-Werror", "-fsyntax-only",
                 "-I", include, main], self.tmp, self.home)

    def test_cmake_consumer(self):
        path = self.consumer_dir("cmake-consumer")
        with open(os.path.join(path, "CMakeLists.txt"), "w") as f:
            f.write(self.snippet["CMakeLists.txt"])
        out = run(self.snippet["cmake consumer"], path, self.home, shell=True)
        # CMake's own messages come first; the program's line last.
        self.assertEqual(self.expected_output(), out.splitlines(keepends=True)[-1])

    def test_package_version_compatibility(self):
        for requested, found in [("1.0", True), ("1.2", True), ("1.3", False), ("2", False), ("0.9", False)]:
            with self.subTest(requested=requested):
                path = os.path.join(self.tmp, f"version-{requested}")
                os.makedirs(path)
                with open(os.path.join(path, "CMakeLists.txt"), "w") as f:
                    f.write("cmake_minimum_required(VERSION 3.25)\nproject(v LANGUAGES NONE)\n"
                            f"find_package(vornconv {requested} CONFIG QUIET)\n"
                            'message(STATUS "found: ${vornconv_FOUND}")\n')
                out = run(["cmake", "-S", ".", "-B", "b", f"-DCMAKE_PREFIX_PATH={self.prefix}"], path, self.home)
                self.assertIn(f"found: {1 if found else 0}", out)

    def test_add_subdirectory(self):
        # A parent project gets the library and the alias target, and none of
        # the tests, the table program or the install rules.
        path = self.consumer_dir("parent-project")
        with open(os.path.join(path, "CMakeLists.txt"), "w") as f:
            f.write("cmake_minimum_required(VERSION 3.25)\nproject(parent LANGUAGES C CXX)\n"
                    f'add_subdirectory("{SOURCE}" vornconv)\n'
                    "add_executable(pt1000 main.c)\n"
                    "target_link_libraries(pt1000 PRIVATE vornconv::vornconv)\n"
                    "enable_testing()\nadd_test(NAME parent_only COMMAND pt1000)\n")
        run(["cmake", "-S", ".", "-B", "b"], path, self.home)
        run(["cmake", "--build", "b", "-j", "2"], path, self.home)
        self.assertEqual(self.expected_output(), run([os.path.join(path, "b", "pt1000")], path, self.home))
        self.assertIn("Total Tests: 1", run(["ctest", "--test-dir", "b", "-N"], path, self.home))
        self.assertFalse(os.path.exists(os.path.join(path, "b", "bin", "test")))
        prefix = os.path.join(path, "prefix")
        run(["cmake", "--install", "b", "--prefix", prefix], path, self.home)
        self.assertFalse(os.path.exists(prefix))

    @unittest.skipUnless(shutil.which("pkg-config"), "pkg-config not installed")
    def test_pkg_config_consumer(self):
        path = self.consumer_dir("pkg-config-consumer")
        self.assertEqual(self.expected_output(), run(self.snippet["pkg-config consumer"], path, self.home, shell=True))

    def test_python_caller(self):
        out = run([sys.executable, "-c", self.snippet["python"]], self.tmp, self.home,
                  {"LD_LIBRARY_PATH": os.path.join(BUILD, "library")})
        self.assertEqual("vornconv 102\n", out)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    SOURCE, BUILD = (os.path.abspath(p) for p in sys.argv[1:])
    unittest.main(argv=sys.argv[:1], verbosity=2)
