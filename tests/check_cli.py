#!/usr/bin/env python3
"""End-to-end tests of the command-line converter.

Usage: check_cli.py VORNCONV_PROGRAM LIBRARY README
"""
import ctypes
import re
import subprocess
import sys
import unittest

PROGRAM = LIBRARY = README = None


def run(args, stdin=""):
    result = subprocess.run([PROGRAM, *args], input=stdin, capture_output=True, text=True, timeout=60)
    return result.returncode, result.stdout, result.stderr


class Conversions(unittest.TestCase):
    # (arguments, expected standard output), each exiting 0 with nothing on standard error.
    CASES = [
        (["resistance", "-100", "0", "100"], "60.255840000000006\n100\n138.50549999999998\n"),
        (["temperature", "60.255840000000006", "138.50549999999998"], "-100.00001099328074\n99.99999999999976\n"),
        (["temperature", "100"], "-0\n"),
        (["resistance", "--r0", "1000", "-100"], "602.5584\n"),
        (["resistance", "--r0=1000", "-200"], "185.20080000000004\n"),
        (["resistance", "--set", "IEC", "-100"], "60.255840000000006\n"),
        (["resistance", "--set", "1", "100"], "138.49981\n"),
        (["resistance", "--set", "US", "-100"], "59.638450000000006\n"),
        (["resistance", "--set", "3", "-100"], "59.484999999999985\n"),
        (["resistance", "--set", "user", "-100"], "60.255840000000006\n"),
        (["resistance", "--scale", "F", "0", "212"], "93.03338244807072\n138.50549999999998\n"),
        (["resistance", "--scale", "K", "173.15"], "60.25584000000001\n"),
        (["temperature", "--scale", "K", "100"], "273.15\n"),
        (["temperature", "--scale", "F", "100"], "32\n"),
        (["resistance", "--user", "4e-3,0,0", "100"], "140\n"),
        (["resistance", "--set", "user", "--user", "5e-3,-0,0", "100"], "150\n"),
        # A certificate of the IEC curve: alpha 0.00385055, delta 1.4998, beta 0.10863.
        (["resistance", "--alpha", "0.00385055", "--delta", "1.4998", "--beta", "0.10863", "--digits", "4",
          "100", "-100", "0"], "138.5055\n60.2558\n100.0000\n"),
        (["resistance", "--alpha", "0.004", "50"], "120\n"),
        (["resistance", "--r0", "1000", "--digits", "2", "20"], "1077.94\n"),
        (["resistance", "--format", "csv", "0", "-100"], "0,100\n-100,60.255840000000006\n"),
        (["resistance", "--", "-5e-1"], "99.8045...\n"),
        (["temperature", "762", "nan", "inf"], "nan\nnan\nnan\n"),
        (["resistance", "+100", " 100 "], "138.50549999999998\n138.50549999999998\n"),
    ]

    def test_cases(self):
        for args, expected in self.CASES:
            with self.subTest(args=args):
                status, out, err = run(args)
                self.assertEqual((0, ""), (status, err))
                if expected.endswith("...\n"):
                    self.assertTrue(out.startswith(expected[:-4]), out)
                else:
                    self.assertEqual(expected, out)

    def test_help_and_version(self):
        status, out, _ = run(["--help"])
        self.assertEqual(0, status)
        self.assertIn("usage: vornconv resistance", out)
        self.assertEqual((0, "vornconv 1.2 (library version 102)\n", ""), run(["--version"]))


class Streams(unittest.TestCase):
    def test_blank_comment_and_bad_lines_keep_their_rows(self):
        stdin = "# logger 7\n\n-100\n  \nabc\n100"  # no final line feed
        status, out, err = run(["resistance"], stdin)
        self.assertEqual(1, status)
        self.assertEqual("# logger 7\n\n60.255840000000006\n  \n\n138.50549999999998\n", out)
        self.assertEqual("vornconv: line 5: not a number: 'abc'\n", err)

    def test_csv_rows(self):
        status, out, err = run(["temperature", "--format", "csv"], "60.25584\n1,2\n#c\n762\n")
        self.assertEqual(1, status)
        self.assertEqual('60.25584,-100.00001099328074\n"1,2",\n#c\n762,nan\n', out)
        self.assertIn("line 2: not a number: '1,2'", err)

    def test_crlf_lines(self):
        self.assertEqual((0, "138.50549999999998\n60.255840000000006\n", ""), run(["resistance"], "100\r\n-100\r\n"))

    def test_strict_counts_nan(self):
        status, out, err = run(["temperature", "--strict"], "100\n762\n")
        self.assertEqual((1, "-0\nnan\n"), (status, out))
        self.assertEqual("vornconv: line 2: no solution for 762\n", err)
        status, out, err = run(["temperature", "--strict", "100", "762"])
        self.assertEqual((1, "-0\nnan\n"), (status, out))
        self.assertIn("argument 2: no solution", err)

    def test_bad_argument_value(self):
        status, out, err = run(["resistance", "1", "x", "2"])
        self.assertEqual(1, status)
        self.assertEqual(3, out.count("\n"))
        self.assertEqual("vornconv: argument 2: not a number: 'x'\n", err)

    def test_empty_input(self):
        self.assertEqual((0, "", ""), run(["temperature"], ""))


class Tables(unittest.TestCase):
    def test_rows_of_ten_like_the_table_program(self):
        status, out, err = run(["table", "--from", "0", "--to", "49", "--step", "1", "--digits", "2"])
        self.assertEqual((0, ""), (status, err))
        rows = out.splitlines()
        self.assertEqual(5, len(rows))
        self.assertEqual("0.00\t100.00\t100.39\t100.78\t101.17\t101.56\t101.95\t102.34\t102.73\t103.12\t103.51", rows[0])
        self.assertTrue(rows[4].startswith("40.00\t115.54\t") and rows[4].endswith("\t119.01"))

    def test_csv_and_partial_last_row(self):
        status, out, _ = run(["table", "--from", "-200", "--to", "850", "--step", "525", "--format", "csv"])
        self.assertEqual((0, "temperature,resistance\n-200,18.520080000000007\n325,220.91990624999997\n"
                             "850,390.48112499999996\n"), (status, out))
        status, out, _ = run(["table", "--from", "10", "--to", "0", "--step", "-2.5"])
        self.assertEqual(0, status)
        self.assertEqual(1, len(out.splitlines()))
        self.assertEqual(6, len(out.split("\t")))
        # A step that does not land on --to stops short of it.
        status, out, _ = run(["table", "--from", "0", "--to", "1", "--step", "0.3", "--format", "csv"])
        self.assertEqual(["0", "0.3", "0.6", "0.8999999999999999"], [l.split(",")[0] for l in out.splitlines()[1:]])


class UsageErrors(unittest.TestCase):
    # (arguments, what the one-line message must contain)
    CASES = [
        ([], "usage:"),
        (["convert"], "unknown command 'convert'"),
        (["resistance", "--bogus", "1"], "unknown option '--bogus'"),
        (["resistance", "--r0"], "--r0: missing value"),
        (["resistance", "--r0", "abc", "1"], "--r0: expected a resistance in ohms, got 'abc'"),
        (["resistance", "--set", "DIN", "1"], "--set: expected IEC, 1, US, 3 or user, got 'DIN'"),
        (["resistance", "--scale", "R", "1"], "--scale: expected C, F or K, got 'R'"),
        (["resistance", "--format", "json", "1"], "--format: expected text or csv"),
        (["resistance", "--digits", "-1", "1"], "--digits: expected a whole number"),
        (["resistance", "--user", "1,2", "1"], "--user: expected three numbers A,B,C, got '1,2'"),
        (["resistance", "--user", "1,2,3", "--alpha", "0.004", "1"], "not both"),
        (["resistance", "--delta", "1.5", "1"], "expected --alpha as well"),
        (["resistance", "--set", "US", "--user", "1,2,3", "1"], "need --set user"),
        (["resistance", "--strict=yes", "1"], "--strict takes no value"),
        (["resistance", "--from", "0", "1"], "only for table"),
        (["table", "--from", "0", "--step", "1"], "table: expected --to"),
        (["table", "--from", "0", "--to", "10", "--step", "0"], "--step: expected a finite, non-zero step"),
        (["table", "--from", "0", "--to", "10", "--step", "-1"], "--step: expected a finite, non-zero step"),
        (["table", "--from", "0", "--to", "nan", "--step", "1"], "--from and --to must be finite"),
        (["table", "--r0", "inf", "--from", "0", "--to", "1", "--step", "1"], "--r0: a table needs a finite R0"),
        (["table", "--from", "0", "--to", "1e300", "--step", "1"], "more than 10000000 values"),
        (["table", "--from", "0", "--to", "1", "--step", "1", "5"], "unexpected value '5'"),
    ]

    def test_cases(self):
        for args, message in self.CASES:
            with self.subTest(args=args):
                status, out, err = run(args, "1\n")
                self.assertEqual((2, ""), (status, out))
                self.assertIn(message, err)
                if args:
                    self.assertEqual(1, err.count("\n"), err)


class ReadmeSets(unittest.TestCase):
    def test_alpha_of_each_built_in_set(self):
        # The README's table of sets gives alpha = A + 100 B to six digits.
        lib = ctypes.CDLL(LIBRARY)
        with open(README, encoding="utf-8") as f:
            rows = re.findall(r"^\| (\d) \|[^|]*\|[^|]*\| ([0-9.]+) \|", f.read(), re.M)
        self.assertEqual(["0", "1", "2", "3"], [slot for slot, _ in rows])
        for slot, alpha in rows:
            lib.vorn_set_type(ctypes.c_int32(int(slot)))
            a, b, c = ctypes.c_double(), ctypes.c_double(), ctypes.c_double()
            lib.vorn_get_parameters(ctypes.byref(a), ctypes.byref(b), ctypes.byref(c))
            self.assertEqual(alpha, f"{a.value + 100 * b.value:.6g}", f"slot {slot}")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    PROGRAM, LIBRARY, README = sys.argv[1:]
    unittest.main(argv=sys.argv[:1], verbosity=2)
