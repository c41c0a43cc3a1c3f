#!/usr/bin/env python3
"""Runs the comparison benchmark and writes its table of ratios into
docs/performance.md (between the performance-table markers).

    scripts/performance-table.py [--bench build/default/kvswx_bench]
                                 [--sizes 10000,100000,1000000] [--repetitions 5]
                                 [--min-time 0.5]

Each benchmark runs --repetitions times, the runs of all benchmarks
interleaved at random so that a change in the machine's load falls on the
project and its baselines alike; the table gives medians of CPU time. A
repetition repeats its work for at least --min-time seconds (a run of
10^6 segments takes longer than that once), so that the short runs of the
small drawings are not single samples of a noisy machine.
"""
import argparse
import datetime
import json
import os
import platform
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BENCHES = ["Load", "Baseline_NlohmannParse", "ExtractSave", "Baseline_PugixmlBuildSave",
           "ReadBack", "Baseline_PugixmlParse", "WholeRun"]
BEGIN = "<!-- performance-table:begin -->"
END = "<!-- performance-table:end -->"


def machine():
    cpu = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    memory = ""
    try:
        with open("/proc/meminfo") as f:
            kib = int(f.readline().split()[1])
            memory = f", {kib / 1024 / 1024:.0f} GiB"
    except (OSError, ValueError, IndexError):
        pass
    try:
        load = ", load average %.1f" % os.getloadavg()[0]
    except OSError:
        load = ""
    return f"{cpu}, {os.cpu_count()} cores{memory}{load}"


def run(bench, sizes, repetitions, min_time):
    pattern = "^(%s)/(%s)$" % ("|".join(BENCHES), "|".join(str(s) for s in sizes))
    cmd = [bench, "--benchmark_filter=" + pattern, "--benchmark_format=json",
           "--benchmark_repetitions=%d" % repetitions, "--benchmark_enable_random_interleaving=true",
           "--benchmark_report_aggregates_only=true", "--benchmark_min_time=%g" % min_time]
    print("running:", " ".join(cmd), file=sys.stderr)
    out = subprocess.run(cmd, check=True, stdout=subprocess.PIPE, text=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        # With one repetition there are no aggregates: the run itself is the median.
        single = repetitions == 1 and b.get("run_type") == "iteration"
        if b.get("aggregate_name") != "median" and not single:
            continue
        if b.get("error_occurred"):
            sys.exit("benchmark failed: %s: %s" % (b["run_name"], b.get("error_message")))
        name, size = b["run_name"].split("/")
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
        medians[(name, int(size))] = dict(b, cpu_ms=b["cpu_time"] * scale)
    return medians


def table(m, sizes):
    def cell(f):
        return " | ".join(f(s) for s in sizes)

    def ratio(a, b):
        return lambda s: "%.1fx" % (m[(a, s)]["cpu_ms"] / m[(b, s)]["cpu_ms"])

    def ms(name):
        return lambda s: "%.0f" % m[(name, s)]["cpu_ms"] if m[(name, s)]["cpu_ms"] >= 10 else \
            "%.1f" % m[(name, s)]["cpu_ms"]

    head = "| | " + " | ".join("%d segments" % s for s in sizes) + " |\n|---|" + "---|" * len(sizes) + "\n"
    largest = max(sizes)

    def per_segment(names, s):
        return sum(m[(n, s)]["cpu_ms"] for n in names) * 1000 / s

    def relative(names):
        return lambda s: "%.2fx" % (per_segment(names, s) / per_segment(names, largest))

    # The nearest a pipeline of the baselines comes to a whole run: parsing
    # the recording and building and saving the XML. Its own scaling shows
    # what the drawings' per-view content costs before any code of ours.
    baselines = ["Baseline_NlohmannParse", "Baseline_PugixmlBuildSave"]
    rows = [
        ("whole run (load, extract, save) per segment",
         lambda s: "%.1f µs" % per_segment(["WholeRun"], s)),
        ("whole run per segment / the same at %d segments" % largest, relative(["WholeRun"])),
        ("baselines (nlohmann parse, pugixml build and save) per segment",
         lambda s: "%.1f µs" % per_segment(baselines, s)),
        ("baselines per segment / the same at %d segments" % largest, relative(baselines)),
        ("extract+save / pugixml building and saving the same tree", ratio("ExtractSave", "Baseline_PugixmlBuildSave")),
        ("reading our XML back / pugixml parsing it", ratio("ReadBack", "Baseline_PugixmlParse")),
        ("loading the recording / nlohmann parsing it", ratio("Load", "Baseline_NlohmannParse")),
        ("peak heap of the whole run / output XML size",
         lambda s: "%.1fx" % m[("WholeRun", s)]["peak_per_xml_byte"]),
        ("output XML size", lambda s: "%.1f MB" % (m[("WholeRun", s)]["xml_bytes"] / 1e6)),
    ]
    text = head + "".join("| %s | %s |\n" % (label, cell(f)) for label, f in rows)
    text += "\nCPU times (ms, medians):\n\n" + head
    text += "".join("| %s | %s |\n" % (name, cell(ms(name))) for name in BENCHES)
    return text


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--bench", default=os.path.join(ROOT, "build", "default", "kvswx_bench"))
    p.add_argument("--sizes", default="10000,100000,1000000")
    p.add_argument("--repetitions", type=int, default=5)
    p.add_argument("--min-time", type=float, default=0.5,
                   help="seconds of work per repetition, at least")
    p.add_argument("--doc", default=os.path.join(ROOT, "docs", "performance.md"))
    args = p.parse_args()
    sizes = [int(s) for s in args.sizes.split(",")]
    medians = run(args.bench, sizes, args.repetitions, args.min_time)
    revision = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], stdout=subprocess.PIPE,
                              text=True).stdout.strip()
    block = "%s\nMeasured %s on %s (revision %s, %d repetitions of at least %g s).\n\n%s%s" % (
        BEGIN, datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"), machine(),
        revision, args.repetitions, args.min_time, table(medians, sizes), END)
    with open(args.doc) as f:
        doc = f.read()
    if BEGIN not in doc or END not in doc:
        sys.exit("%s: the performance-table markers are missing" % args.doc)
    doc = re.sub(re.escape(BEGIN) + ".*?" + re.escape(END), lambda _: block, doc, flags=re.S)
    with open(args.doc, "w") as f:
        f.write(doc)
    print(block)


if __name__ == "__main__":
    main()
