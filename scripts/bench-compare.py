#!/usr/bin/env python3
"""Compares two benchmark runs (Google Benchmark JSON, as scripts/bench.sh
writes them) and prints, for every benchmark, the median of each run and the
ratio new/old; counters (peak memory) are compared the same way.

    scripts/bench-compare.py OLD.json NEW.json              plain text
    scripts/bench-compare.py --markdown OLD.json NEW.json   README's table

OLD and NEW may each be several files joined by commas (runs of parts of the
suite); the times compared are processor times, except for the whole runs,
which are wall time (see measured_seconds).

Only the standard library is used.
"""

import argparse
import json
import re
import statistics
import sys

# What each benchmark measures and the figure it should stay under, for the
# README's table, in the order the table lists them. Benchmarks not named
# here are listed after these under their own name.
GOALS = [
    ("BM_GenerationRun", "Whole run, filled week (7 rates, template → `.xls` → picture)", "2 ms"),
    ("BM_GoldenWeekRun/sample", "Whole run, the sample data (14 rates)", ""),
    ("BM_GenerationRunRates/7", "Whole run, 7 rate types", ""),
    ("BM_GenerationRunRates/14", "Whole run, 14 rate types", ""),
    ("BM_GenerationRunRates/100", "Whole run, 100 rate types", "10 ms"),
    ("BM_GenerationRunRates/254", "Whole run, 254 rate types", "20 ms"),
    ("BM_FillCommand/100000", "`tallowby-fill --settings F --xls` with 100,000 hours entries", "0.2 s"),
    ("BM_FillCommand/1000000", "`tallowby-fill --settings F --xls` with 1,000,000 hours entries",
     "2 s, 200 MB"),
    ("BM_FillCommandStore50MB", "`tallowby-fill` on a 50 MB store", "peak < 100 MB"),
    ("BM_StoreLoad/10000", "Read a store with 10,000 hours entries", ""),
    ("BM_StoreLoad/1000000", "Read a store with 1,000,000 hours entries", ""),
    ("BM_WindowStartToFirstPaint", "`tallowby` started to its window's first paint (offscreen)",
     "100 ms"),
    ("BM_StartToPreviewShown/sample", "\"Start\" to the preview painted, the sample data",
     "100 ms"),
    ("BM_WindowOpenStore/10000", "Entry window opened on a store with 10,000 hours entries",
     "300 ms"),
]

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
NOT_COUNTERS = {
    "name", "run_name", "run_type", "repetitions", "repetition_index", "threads",
    "aggregate_name", "aggregate_unit", "iterations", "real_time", "cpu_time", "time_unit",
    "family_index", "per_family_instance_index", "label", "error_occurred", "error_message",
}


def base_name(name):
    """The benchmark's name without the repetition and aggregate suffixes."""
    name = re.sub(r"_(mean|median|stddev|cv)$", "", name)
    name = re.sub(r"/(repeats|iterations):\d+", "", name)
    while re.search(r"/(real_time|manual_time|process_time)$", name):
        name = re.sub(r"/(real_time|manual_time|process_time)$", "", name)
    return name


def load_runs(paths):
    """The benchmarks of one or more JSON files (comma-separated) as one run."""
    benchmarks, context = [], {}
    for path in paths.split(","):
        with open(path, encoding="utf-8") as f:
            data = json.load(f)
        benchmarks += data.get("benchmarks", [])
        context = context or data.get("context", {})
    return benchmarks, context


# A whole run shares a big picture's work with a helper thread: what the user
# waits for is the wall time, and the processor time of the measuring thread
# would leave the helper's share out. Their processor time (all threads, where
# the benchmark measures it so) is shown beside it.
WALL_CLOCK = ("BM_GenerationRun", "BM_GoldenWeekRun")


def is_wall_clock(name):
    return name.startswith(WALL_CLOCK)


def measured_seconds(b):
    """Processor time of the benchmark's thread; benchmarks that time another
    process report its processor time as manual time. On a machine shared with
    others the wall clock would measure them too. The whole runs are the
    exception (WALL_CLOCK)."""
    name = b.get("run_name", b["name"])
    wall = "manual_time" in name or is_wall_clock(name)
    return (b["real_time"] if wall else b["cpu_time"]) * UNIT_SECONDS[b.get("time_unit", "ns")]


def medians(paths):
    """{benchmark: {"seconds": median time, counter: median value}}."""
    benchmarks, context = load_runs(paths)
    samples = {}
    reported = {}
    for b in benchmarks:
        if b.get("error_occurred"):
            continue
        name = base_name(b.get("run_name", b["name"]))
        values = {"seconds": measured_seconds(b)}
        if is_wall_clock(name):
            values["processor_seconds"] = b["cpu_time"] * UNIT_SECONDS[b.get("time_unit", "ns")]
        for key, value in b.items():
            if key not in NOT_COUNTERS and isinstance(value, (int, float)):
                values[key] = float(value)
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                reported[name] = values
        else:
            samples.setdefault(name, []).append(values)
    result = {}
    for name, runs in samples.items():
        result[name] = {k: statistics.median(r[k] for r in runs if k in r) for k in runs[0]}
    result.update(reported)  # a reported median wins over one computed here
    return result, context


def show_time(seconds):
    if seconds is None:
        return "–"
    if seconds >= 1:
        return f"{seconds:.2f} s"
    if seconds >= 1e-3:
        return f"{seconds * 1e3:.2f} ms"
    return f"{seconds * 1e6:.1f} µs"


def show_ratio(old, new):
    if old is None or new is None or old == 0:
        return "–"
    return f"{new / old:.2f}"


def ordered_names(old, new):
    known = [name for name, _, _ in GOALS if name in old or name in new]
    rest = sorted((set(old) | set(new)) - set(known))
    return known + rest


def plain(old, new):
    print(f"{'benchmark':44} {'old median':>12} {'new median':>12} {'new/old':>8}")
    for name in ordered_names(old, new):
        o, n = old.get(name, {}), new.get(name, {})
        print(f"{name:44} {show_time(o.get('seconds')):>12} {show_time(n.get('seconds')):>12} "
              f"{show_ratio(o.get('seconds'), n.get('seconds')):>8}")
        for counter in sorted((set(o) | set(n)) - {"seconds"}):
            ov, nv = o.get(counter), n.get(counter)
            if counter.endswith("seconds"):
                print(f"  {counter:42} {show_time(ov):>12} {show_time(nv):>12} "
                      f"{show_ratio(ov, nv):>8}")
                continue
            print(f"  {counter:42} {'–' if ov is None else f'{ov:.1f}':>12} "
                  f"{'–' if nv is None else f'{nv:.1f}':>12} {show_ratio(ov, nv):>8}")


def markdown(old, new, context):
    described = {name: (what, goal) for name, what, goal in GOALS}
    print("| What | Goal | Before | After | After/before | Processor time before → after "
          "| Peak memory before → after |")
    print("|---|---|---|---|---|---|---|")
    for name in ordered_names(old, new):
        what, goal = described.get(name, (f"`{name}`", ""))
        o, n = old.get(name, {}), new.get(name, {})
        peak = ""
        if "peak_rss_MiB" in o or "peak_rss_MiB" in n:
            ov, nv = o.get("peak_rss_MiB"), n.get("peak_rss_MiB")
            peak = (f"{'–' if ov is None else f'{ov:.0f}'} → "
                    f"{'–' if nv is None else f'{nv:.0f}'} MiB")
        processor = ""
        if "processor_seconds" in o or "processor_seconds" in n:
            processor = (f"{show_time(o.get('processor_seconds'))} → "
                         f"{show_time(n.get('processor_seconds'))}")
        print(f"| {what} | {goal or '–'} | {show_time(o.get('seconds'))} | "
              f"{show_time(n.get('seconds'))} | {show_ratio(o.get('seconds'), n.get('seconds'))} "
              f"| {processor} | {peak} |")
    cpus = context.get("num_cpus")
    mhz = context.get("mhz_per_cpu")
    if cpus and mhz:
        print(f"\nMedians of five repetitions on {cpus} CPUs at {mhz} MHz "
              f"({context.get('library_build_type', 'unknown')} Google Benchmark library).")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--markdown", action="store_true", help="print README's table")
    parser.add_argument("old")
    parser.add_argument("new")
    args = parser.parse_args()
    old, _ = medians(args.old)
    new, context = medians(args.new)
    if args.markdown:
        markdown(old, new, context)
    else:
        plain(old, new)
    return 0


if __name__ == "__main__":
    sys.exit(main())
