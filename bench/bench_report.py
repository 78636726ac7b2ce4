#!/usr/bin/env python3
"""Composes the benchmark results: Google Benchmark's JSON and callgrind's instruction counts
into one table on standard output and one JSON file, with the performance targets and whether
each is met. Run by scripts/bench; reads only the files it is given."""

import argparse
import json
import sys

COUNTERS = ["lookups", "fmemory_allocs", "heap_allocs", "name_conversions"]

# Instructions per creature, and ratios, the plugin is meant to reach.
RESIZE_PER_CREATURE = 1000
RESIZE_OVER_BARE = 3.0
# Bringing a world to changed settings (one creature in ten restored) against resize-all on
# creatures at their scale, per creature.
SETTLE_OVER_RESIZE = 1.10
SAVE_ADDED_PER_TARGET = 1000
SAVE_RATIO = 1.05
# With DebugLog on, as shipped: the lines a save of 5,000 tamed targets writes through its
# re-application, the instructions DebugLog adds to it per target, and the lines a start of 5,000
# tamed targets over 120 s writes through their 3 s passes.
SAVE_LINES = 150
SAVE_DEBUG_LOG_ADDED_PER_TARGET = 100
START_LINES = 1000
DEBUG_LOG = "+debug-log"
# The operations measured with DebugLog off beside on, in the order shown.
DEBUG_LOG_OPERATIONS = ["save-and-reapply", "start", "unload", "resize-all", "world-to-settings"]


def number(value, digits=3):
    """An integer as it is; otherwise up to digits decimals, and a small non-zero value never
    shown as 0 (a goal of 0 is exact)."""
    if value is None:
        return "-"
    if value == int(value):
        return f"{int(value):,}"
    text = f"{value:,.{digits}f}"
    if digits > 0:
        text = text.rstrip("0").rstrip(".")
    return text if text not in ("0", "-0") else f"<{10 ** -digits:g}"


def met(flag):
    return "met" if flag else "not met"


def callgrind_total(path):
    """The instructions a callgrind output file collected: its totals line. (Its summary line
    stays 0 when instrumentation starts off.)"""
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            if line.startswith("totals:"):
                return int(line.split()[1])
    raise ValueError(f"{path}: no totals line")


def printed_lines(path):
    """The lines the plugin wrote during the operation: the "lines <n>" line instruction_counts
    printed."""
    with open(path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            if line.startswith("lines "):
                return int(line.split()[1])
    raise ValueError(f"{path}: no lines line")


def detour_goal(subject, row):
    """The goal a detour row is held to, and whether it is met (None: no goal)."""
    if subject in ("non-target", "player", "player riding a target"):
        return "0 look-ups, 0 heap", row["lookups"] == 0 and row["heap_allocs"] == 0
    if subject.startswith("target") and row["timers"] == 0:
        return "0 heap", row["heap_allocs"] == 0
    return "-", None


def read_benchmarks(path):
    with open(path, encoding="utf-8") as f:
        document = json.load(f)
    detours, world = [], []
    for entry in document.get("benchmarks", []):
        if entry.get("run_type") == "aggregate":
            continue
        name = entry["name"].split("/iterations:")[0]
        if entry.get("error_occurred"):
            print(f"bench_report: {name}: {entry.get('error_message')}", file=sys.stderr)
            continue
        per = entry.get("per_iteration", 1) or 1
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[entry.get("time_unit", "ns")]
        row = {
            "name": name,
            "ns": entry["cpu_time"] * scale / per,
            "real_ns": entry.get("real_time", entry["cpu_time"]) * scale / per,
            "timers": entry.get("timers", 0),
            "lines": entry.get("lines"),
        }
        for counter in COUNTERS:
            row[counter] = entry.get(counter)
        parts = name.split("/")
        if parts[0] == "Detour":
            row["hook"], row["subject"] = parts[1], parts[2]
            row["goal"], row["met"] = detour_goal(row["subject"], row)
            detours.append(row)
        else:
            world.append(row)
    return document.get("context", {}), detours, world


def split_start_up(world):
    """The rows measured once at start-up ("StartUp/..."), apart from the world operations."""
    start_up = [r for r in world if r["name"].startswith("StartUp/")]
    return start_up, [r for r in world if not r["name"].startswith("StartUp/")]


def instruction_targets(counts, detours):
    targets = []
    resize, bare = counts.get("resize-all"), counts.get("bare-writes")
    if resize:
        value = resize["per_creature"]
        targets.append(("resize-all, instructions per creature", value,
                        f"<= {RESIZE_PER_CREATURE:,}", value <= RESIZE_PER_CREATURE))
    if resize and bare:
        value = resize["total"] / bare["total"]
        targets.append(("resize-all / bare-writes loop (instructions)", value,
                        f"<= {RESIZE_OVER_BARE:g}", value <= RESIZE_OVER_BARE))
    settle = counts.get("world-to-settings")
    if resize and settle:
        value = settle["per_creature"] / resize["per_creature"]
        targets.append(("world-to-settings (1 in 10 restored) / resize-all, per creature "
                        "(instructions)", value, f"<= {SETTLE_OVER_RESIZE:g}",
                        value <= SETTLE_OVER_RESIZE))
    with_plugin, without = counts.get("save-with-plugin"), counts.get("save-without-plugin")
    if with_plugin and without and with_plugin["creatures"] == without["creatures"]:
        added = (with_plugin["total"] - without["total"]) / with_plugin["creatures"]
        targets.append(("save, instructions the plugin adds per saved tamed target", added,
                        f"<= {SAVE_ADDED_PER_TARGET:,}", added <= SAVE_ADDED_PER_TARGET))
        ratio = with_plugin["total"] / without["total"]
        targets.append(("save with plugin / without (instructions)", ratio,
                        f"<= {SAVE_RATIO:g}", ratio <= SAVE_RATIO))
    save_off, save_on = counts.get("save-and-reapply"), counts.get("save-and-reapply" + DEBUG_LOG)
    if save_on and save_on.get("lines") is not None:
        targets.append(("save of 5,000 tamed targets and its re-application, DebugLog on: lines",
                        save_on["lines"], f"<= {SAVE_LINES:,}", save_on["lines"] <= SAVE_LINES))
    if save_off and save_on and save_off["creatures"] == save_on["creatures"]:
        added = (save_on["total"] - save_off["total"]) / save_on["creatures"]
        targets.append(("save and re-application, instructions DebugLog on adds per target",
                        added, f"<= {SAVE_DEBUG_LOG_ADDED_PER_TARGET:,}",
                        added <= SAVE_DEBUG_LOG_ADDED_PER_TARGET))
    start_on = counts.get("start" + DEBUG_LOG)
    if start_on and start_on.get("lines") is not None:
        targets.append(("start of 5,000 tamed targets over 120 s, DebugLog on: lines",
                        start_on["lines"], f"<= {START_LINES:,}", start_on["lines"] <= START_LINES))
    for title, subjects in (
            ("detours on a non-target or a player: 0 look-ups and 0 heap allocations",
             ("non-target", "player", "player riding a target")),
            ("detours on a target at its scale that schedule no timer: 0 heap allocations",
             ("target",))):
        held = [r for r in detours if r["subject"] in subjects and r["met"] is not None]
        if held:
            good = sum(1 for r in held if r["met"])
            targets.append((title, f"{good} of {len(held)} rows", "all rows",
                            good == len(held)))
    return targets


def debug_log_rows(counts):
    """One row per operation measured with DebugLog off and on: instructions per creature for
    each, what DebugLog adds per creature, and the lines each wrote."""
    rows = []
    for operation in DEBUG_LOG_OPERATIONS:
        off, on = counts.get(operation), counts.get(operation + DEBUG_LOG)
        if not off or not on:
            continue
        rows.append([operation, f"{on['creatures']:,}", number(off["per_creature"], 0),
                     number(on["per_creature"], 0),
                     number(on["per_creature"] - off["per_creature"], 0),
                     number(off.get("lines")), number(on.get("lines"))])
    return rows


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "|".join(" --- " for _ in header) + "|"]
    lines += ["| " + " | ".join(str(cell) for cell in row) + " |" for row in rows]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--benchmarks", required=True, help="Google Benchmark JSON output")
    parser.add_argument("--counts", action="append", default=[],
                        help="OPERATION:CREATURES:CALLGRIND_OUT_FILE[:PRINTED_FILE], once per "
                             "operation; PRINTED_FILE holds instruction_counts' output, with the "
                             "lines the plugin wrote")
    parser.add_argument("--out", required=True, help="the JSON file to write")
    args = parser.parse_args()

    context, detours, world = read_benchmarks(args.benchmarks)
    start_up, world = split_start_up(world)
    counts = {}
    for entry in args.counts:
        operation, creatures, path, *printed = entry.split(":", 3)
        total = callgrind_total(path)
        counts[operation] = {"creatures": int(creatures), "total": total,
                             "per_creature": total / int(creatures),
                             "lines": printed_lines(printed[0]) if printed else None}
    targets = instruction_targets(counts, detours)

    header = ["benchmark", "ns/call", "look-ups/call", "FMemory allocs/call", "heap allocs/call",
              "name conversions/call", "timers/call", "goal"]
    print("Detours (one call, the game's function a stand-in; CPU time)\n")
    print(table(header, [
        [f"{r['hook']} / {r['subject']}", number(r["ns"], 0)]
        + [number(r[c]) for c in COUNTERS] + [number(r["timers"]),
                                              r["goal"] if r["met"] is None
                                              else f"{r['goal']}: {met(r['met'])}"]
        for r in detours]))
    print("\nWorld operations (per creature; CPU time)\n")
    print(table(["benchmark", "ns/creature", "look-ups/creature", "FMemory allocs/creature",
                 "heap allocs/creature", "name conversions/creature", "lines/run"], [
        [r["name"].removeprefix("World/"), number(r["ns"], 0)] + [number(r[c]) for c in COUNTERS]
        + [number(r["lines"])]
        for r in world]))
    print("\nStart-up (one whole run; CPU and wall-clock time)\n")
    print(table(["benchmark", "ms (CPU)", "ms (wall)", "heap allocs"], [
        [r["name"].removeprefix("StartUp/"), number(r["ns"] / 1e6, 0),
         number(r["real_ns"] / 1e6, 0), number(r["heap_allocs"])]
        for r in start_up]))
    print("\nInstructions under callgrind (one operation)\n")
    print(table(["operation", "creatures", "instructions", "per creature", "lines"], [
        [op, f"{c['creatures']:,}", f"{c['total']:,}", number(c["per_creature"], 0),
         number(c.get("lines"))]
        for op, c in counts.items()]))
    rows = debug_log_rows(counts)
    if rows:
        print("\nDebugLog off beside on (instructions under callgrind, per creature; lines "
              "written)\n")
        print(table(["operation", "creatures", "off", "on", "added by DebugLog", "lines off",
                     "lines on"], rows))
    print("\nTargets\n")
    print(table(["measurement", "now", "target", "met"], [
        [title, value if isinstance(value, str) else number(value, 2), target, met(flag)]
        for title, value, target, flag in targets]))

    result = {
        "context": context,
        "detours": detours,
        "world": world,
        "start_up": start_up,
        "instructions": counts,
        "targets": [{"measurement": t, "now": v, "target": g, "met": f}
                    for t, v, g, f in targets],
    }
    with open(args.out, "w", encoding="utf-8") as f:
        json.dump(result, f, indent=1)
        f.write("\n")
    print(f"\nwritten: {args.out}")


if __name__ == "__main__":
    main()
