#!/usr/bin/env python3
"""Tests of bench/bench_report.py: reading callgrind's counts, the goals of the detour rows, and
the targets with their met/not-met answers at and around their limits."""

import contextlib
import io
import json
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "bench"))
import bench_report  # noqa: E402


def row(lookups=0, heap=0, timers=0):
    return {"lookups": lookups, "heap_allocs": heap, "timers": timers}


class CallgrindTotalTest(unittest.TestCase):
    def total_of(self, text):
        with tempfile.NamedTemporaryFile("w", suffix=".out", delete=False) as f:
            f.write(text)
        try:
            return bench_report.callgrind_total(f.name)
        finally:
            os.unlink(f.name)

    def test_reads_totals_not_the_summary_left_at_zero(self):
        self.assertEqual(self.total_of("events: Ir\nsummary: 0\nfn=main\n1 5\ntotals: 1234\n"), 1234)

    def test_a_file_without_totals_is_an_error(self):
        with self.assertRaises(ValueError):
            self.total_of("events: Ir\nsummary: 0\n")


class DetourGoalTest(unittest.TestCase):
    def test_goals_by_subject(self):
        cases = [
            ("non-target", row(), ("0 look-ups, 0 heap", True)),
            ("player", row(lookups=1), ("0 look-ups, 0 heap", False)),
            ("player riding a target", row(heap=0.5), ("0 look-ups, 0 heap", False)),
            ("target", row(lookups=7), ("0 heap", True)),
            ("target", row(heap=1), ("0 heap", False)),
            ("target", row(timers=1, heap=9), ("-", None)),
            ("target as built", row(timers=2), ("-", None)),
        ]
        for subject, values, expected in cases:
            with self.subTest(subject=subject, values=values):
                self.assertEqual(bench_report.detour_goal(subject, values), expected)


class InstructionTargetsTest(unittest.TestCase):
    @staticmethod
    def counts(resize, bare, save_with, save_without, settle=None, creatures=1000):
        def entry(total):
            return {"creatures": creatures, "total": total, "per_creature": total / creatures}
        counts = {"resize-all": entry(resize), "bare-writes": entry(bare),
                  "save-with-plugin": entry(save_with), "save-without-plugin": entry(save_without)}
        if settle is not None:
            counts["world-to-settings"] = entry(settle)
        return counts

    def answers(self, counts, detours=()):
        return {title: flag for title, _, _, flag in
                bench_report.instruction_targets(counts, list(detours))}

    def test_limits_are_inclusive_and_one_past_them_fails(self):
        held = self.answers(self.counts(1_000_000, 333_334, 2_100_000, 2_000_000, 1_100_000))
        self.assertEqual(len(held), 5)
        self.assertEqual(set(held.values()), {True})
        failed = self.answers(self.counts(1_001_000, 333_000, 3_001_000, 2_000_000, 1_102_000))
        self.assertEqual(len(failed), 5)
        self.assertEqual(set(failed.values()), {False})
        # Without its count the world-to-settings row is left out, not failed.
        self.assertEqual(len(self.answers(self.counts(1_000_000, 333_334, 2_100_000, 2_000_000))),
                         4)

    def test_detour_rows_count_only_rows_with_a_goal(self):
        detours = [
            {"subject": "player", "met": True},
            {"subject": "non-target", "met": False},
            {"subject": "target", "met": True},
            {"subject": "target", "met": None},
        ]
        targets = bench_report.instruction_targets({}, detours)
        self.assertEqual([(value, flag) for _, value, _, flag in targets],
                         [("1 of 2 rows", False), ("1 of 1 rows", True)])


class DebugLogTargetsTest(unittest.TestCase):
    """The goals of DebugLog on: lines of a save and of a start, and what it adds to a save."""

    @staticmethod
    def counts(save_off, save_on, save_lines, start_lines, creatures=5000):
        def entry(total, lines):
            return {"creatures": creatures, "total": total, "per_creature": total / creatures,
                    "lines": lines}
        return {"save-and-reapply": entry(save_off, 1),
                "save-and-reapply+debug-log": entry(save_on, save_lines),
                "start": entry(1, 1), "start+debug-log": entry(1, start_lines)}

    def answers(self, counts):
        return {title: flag for title, _, _, flag in bench_report.instruction_targets(counts, [])}

    def test_limits_are_inclusive_and_one_past_them_fails(self):
        held = self.answers(self.counts(1_000_000, 1_500_000, 150, 1000))
        self.assertEqual(len(held), 3)
        self.assertEqual(set(held.values()), {True})
        failed = self.answers(self.counts(1_000_000, 1_500_001, 151, 1001))
        self.assertEqual(len(failed), 3)
        self.assertEqual(set(failed.values()), {False})

    def test_rows_pair_off_and_on_and_skip_an_operation_measured_once(self):
        counts = self.counts(1_000_000, 1_250_000, 51, 300)
        counts["unload"] = {"creatures": 5000, "total": 5, "per_creature": 0.001, "lines": 2}
        rows = bench_report.debug_log_rows(counts)
        self.assertEqual([r[0] for r in rows], ["save-and-reapply", "start"])
        self.assertEqual(rows[0][2:], ["200", "250", "50", "1", "51"])

    def test_reads_the_printed_lines(self):
        with tempfile.NamedTemporaryFile("w", suffix=".stdout", delete=False) as f:
            f.write("measured save-and-reapply over 5000 creatures\nlines 51\n")
        try:
            self.assertEqual(bench_report.printed_lines(f.name), 51)
        finally:
            os.unlink(f.name)


class ReadBenchmarksTest(unittest.TestCase):
    def test_rows_per_call_or_per_creature_in_nanoseconds(self):
        document = {"context": {"num_cpus": 2}, "benchmarks": [
            {"name": "Detour/Unstasis/target", "run_type": "iteration", "cpu_time": 1500.0,
             "time_unit": "ns", "per_iteration": 1, "lookups": 20, "fmemory_allocs": 3,
             "heap_allocs": 26, "name_conversions": 3, "timers": 0},
            {"name": "World/resize-all/plugin/iterations:20", "run_type": "iteration",
             "cpu_time": 25.0, "time_unit": "ms", "per_iteration": 10000, "lookups": 50,
             "fmemory_allocs": 8, "heap_allocs": 59, "name_conversions": 8, "timers": 0},
            {"name": "StartUp/cache read/iterations:3", "run_type": "iteration", "cpu_time": 400.0,
             "real_time": 500.0, "time_unit": "ms", "heap_allocs": 90},
            {"name": "Detour/Unstasis/target_mean", "run_type": "aggregate", "cpu_time": 1.0},
            {"name": "Detour/Destroy/target", "run_type": "iteration", "error_occurred": True,
             "error_message": "a target could not be brought back to its scale"},
        ]}
        with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as f:
            json.dump(document, f)
        try:
            with contextlib.redirect_stderr(io.StringIO()) as errors:
                context, detours, world = bench_report.read_benchmarks(f.name)
        finally:
            os.unlink(f.name)
        self.assertEqual(context, {"num_cpus": 2})
        self.assertEqual([(r["hook"], r["subject"], r["ns"], r["goal"], r["met"]) for r in detours],
                         [("Unstasis", "target", 1500.0, "0 heap", False)])
        start_up, world = bench_report.split_start_up(world)
        self.assertEqual([(r["name"], r["ns"], r["lookups"]) for r in world],
                         [("World/resize-all/plugin", 2500.0, 50)])
        self.assertEqual([(r["name"], r["ns"], r["real_ns"], r["heap_allocs"]) for r in start_up],
                         [("StartUp/cache read", 4e8, 5e8, 90)])
        self.assertIn("Detour/Destroy/target", errors.getvalue())


class NumberTest(unittest.TestCase):
    def test_small_values_never_read_as_zero(self):
        for value, text in [(0, "0"), (3, "3"), (34600, "34,600"), (2.5, "2.5"),
                            (0.0001, "<0.001"), (None, "-")]:
            with self.subTest(value=value):
                self.assertEqual(bench_report.number(value), text)


if __name__ == "__main__":
    unittest.main()
