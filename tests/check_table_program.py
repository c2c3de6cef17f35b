#!/usr/bin/env python3
"""Runs the table program and checks its report line by line.

Usage: check_table_program.py PROGRAM INCOMPLETE_LIBRARY_DIR

INCOMPLETE_LIBRARY_DIR holds a libvornconv built without one of the exports
that the program binds; pointed at it, the program must not start.
"""
import os
import subprocess
import sys
import unittest

PROGRAM = None
INCOMPLETE_DIR = None

HEADER = "\t" + "".join(f"    +{c}.0 " for c in range(10)) + "\n"
TITLES = [
    "Temperature to resistance tables\n",
    "Default operation (100 Ohm, deg C)\n",
    "Set to 1000 Ohm\n",
    "Set to degF\n",
    "Set type to US\n",
    "Round trip tests, 100 Ohm, IEC, degC\n",
    "Round trip tests, 500 Ohm, US, degK\n",
]


def run(args=(), env=None, stdout=subprocess.PIPE):
    return subprocess.run([PROGRAM, *args], stdout=stdout, stderr=subprocess.PIPE,
                          stdin=subprocess.DEVNULL, env={} if env is None else env, timeout=30)


def cells(line):
    """The eight-character cells of a table row, after its label and tab."""
    label, rest = line.split("\t")
    return label, [rest[i:i + 9] for i in range(0, len(rest) - 1, 9)]


class Report(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # An empty environment: the program finds the library by itself.
        result = run()
        cls.status = result.returncode
        cls.raw = result.stdout
        cls.lines = result.stdout.decode("ascii").splitlines(keepends=True)

    def test_exit_status_and_line_ends(self):
        self.assertEqual(0, self.status)
        self.assertEqual(57, len(self.lines))
        self.assertTrue(self.raw.endswith(b"\n"))
        self.assertNotIn(b"\r", self.raw)

    def test_sections(self):
        self.assertEqual(TITLES[0], self.lines[0])
        # Each later title follows an empty line; four tables of six lines,
        # then two listings of ten.
        starts = [1, 9, 17, 25, 33, 45]
        for start, title in zip(starts, TITLES[1:]):
            self.assertEqual(["\n", title], self.lines[start:start + 2])
        for start in starts[:4]:
            table = self.lines[start + 2:start + 8]
            self.assertEqual(HEADER, table[0])
            for row, line in zip(range(0, 50, 10), table[1:]):
                self.assertTrue(line.endswith(" \n"), line)
                label, row_cells = cells(line)
                self.assertEqual(f"{row:5.1f}", label)
                self.assertEqual(10, len(row_cells))
        for start in starts[4:]:
            for line in self.lines[start + 2:start + 12]:
                self.assertRegex(line, r"^ ?\d+\.\d\d deg -> \d+\.\d\d Ohms -> -?\s?\d+\.\d\d deg\n$")

    def test_listed_lines(self):
        lines = self.lines
        self.assertEqual("  0.0\t  100.00   100.39   100.78   101.17   101.56   101.95   102.34"
                         "   102.73   103.12   103.51 \n", lines[4])
        self.assertTrue(lines[8].startswith(" 40.0\t  115.54 "))
        self.assertTrue(lines[8].endswith("  119.01 \n"))
        self.assertTrue(lines[12].startswith("  0.0\t 1000.00  1003.91 "))
        # 1077.935 exactly: the evaluation order rounds it up.
        self.assertTrue(lines[14].startswith(" 20.0\t 1077.94 "))
        # Fahrenheit, IEC: 0 degF and, in the row 30, 32 degF = 0 degC.
        self.assertEqual("  930.33 ", cells(lines[20])[1][0])
        self.assertEqual(" 1000.00 ", cells(lines[23])[1][2])
        # Fahrenheit, US.
        self.assertEqual("  929.25 ", cells(lines[28])[1][0])
        self.assertEqual(" 1000.00 ", cells(lines[31])[1][2])
        self.assertEqual(" 0.00 deg -> 100.00 Ohms -> -0.00 deg\n", lines[35])
        self.assertEqual("90.00 deg -> 134.71 Ohms -> 90.00 deg\n", lines[44])
        self.assertEqual("200.00 deg -> 353.12 Ohms -> 200.00 deg\n", lines[47])
        self.assertEqual("290.00 deg -> 533.36 Ohms -> 290.00 deg\n", lines[56])

    def test_round_trips_come_back(self):
        for line in self.lines[35:45] + self.lines[47:57]:
            first, _, last = line.split(" -> ")
            self.assertEqual(first.split()[0], last.split()[0].lstrip("-"), line)

    def test_arguments_ignored(self):
        for args in (["x"], ["--help"], ["-v", "1", ""]):
            result = run(args)
            self.assertEqual(0, result.returncode)
            self.assertEqual(self.raw, result.stdout)

    def test_unwritable_output_still_exits_zero(self):
        with open("/dev/full", "wb") as full:
            self.assertEqual(0, run(stdout=full).returncode)


class Binding(unittest.TestCase):
    def test_missing_export_stops_the_start(self):
        result = run(env={"LD_LIBRARY_PATH": INCOMPLETE_DIR})
        self.assertNotEqual(0, result.returncode)
        self.assertEqual(b"", result.stdout)
        self.assertIn(b"vorn_get_temperature", result.stderr)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    PROGRAM = os.path.abspath(sys.argv[1])
    INCOMPLETE_DIR = os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
