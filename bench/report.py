#!/usr/bin/env python3
"""Turns hull_bench's JSON into the speed table, the chart's data and the goals.

usage: report.py RESULTS.json OUT_DIR [PRINTED.txt]
Writes OUT_DIR/bench.md (markdown: machine, tables, goals) and OUT_DIR/bench.dat
(nanoseconds per point, one row per input, one column per implementation).
PRINTED.txt holds lines "n milliseconds": the times the program itself printed,
one line per run; they are set beside hull_bench's warm time per call.
"""
import statistics
import json
import platform
import subprocess
import sys
from collections import OrderedDict


def machine(context):
    """One line naming the machine: lscpu's model and topology, the clock and
    caches Google Benchmark saw, the compiler and the load when the run began."""
    cpu = {}
    try:
        for line in subprocess.run(["lscpu"], capture_output=True, text=True).stdout.splitlines():
            key, _, value = line.partition(":")
            cpu[key.strip()] = value.strip()
    except OSError:
        pass
    model = cpu.get("Model name", platform.processor() or "unknown CPU")
    if "CPU family" in cpu:
        model += " (family {}, model {}{})".format(cpu["CPU family"], cpu.get("Model", "?"),
                                                   ", " + cpu["Hypervisor vendor"] + " guest" if "Hypervisor vendor" in cpu else "")
    topology = "{} CPUs ({} socket × {} cores × {} thread per core)".format(
        cpu.get("CPU(s)", context.get("num_cpus", "?")), cpu.get("Socket(s)", "?"),
        cpu.get("Core(s) per socket", "?"), cpu.get("Thread(s) per core", "?"))
    caches = ", ".join("L{} {} KiB".format(c["level"], c["size"] // 1024)
                       for c in context.get("caches", []) if c["type"] in ("Data", "Unified"))
    try:
        compiler = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    except (OSError, IndexError):
        compiler = "c++"
    load = context.get("load_avg", [])
    parts = [model, topology, "{} MHz".format(context.get("mhz_per_cpu", "?")), caches, compiler,
             "load average {} at the start".format("{:.2f}".format(load[0]) if load else "?"),
             context.get("date", "")[:10]]
    return "; ".join(p for p in parts if p) + "."


def load(path):
    """Median CPU time per point for every benchmark (the single run when the
    benchmark ran without repetitions), plus its counters."""
    with open(path) as f:
        data = json.load(f)
    scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    singles, medians = OrderedDict(), OrderedDict()
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") != "median":
                continue
            target = medians
        else:
            target = singles
            if name in singles:
                continue
        points = int(name.rsplit("/", 1)[1])
        target[name] = {
            "ns_per_point": b["cpu_time"] * scale[b["time_unit"]] / points,
            "allocs": b.get("allocs_per_iter"),
            "vertices": b.get("vertices"),
        }
    singles.update(medians)
    return data.get("context", {}), singles


def split(name):
    """'peer/cgal_bykat/random/100' -> ('peer/cgal_bykat', 'random/100')."""
    parts = name.split("/")
    return "/".join(parts[:-2]), "/".join(parts[-2:])


# Work the window does once the hull is computed, as a multiple of computeHull
# on the same inputs (medians): the goal for each pair of work and input that
# has one. traceHull builds the steps; edit is a point moved and everything
# shown rebuilt, timed hull and steps included.
WINDOW_RATIO_GOALS = OrderedDict([
    (("edit", "circle/10000"), 5),
    (("traceHull", "random/10000"), 10),
    (("traceHull", "circle/10000"), 10),
])


def duration(ns):
    """A time per call in the unit that suits it."""
    return "{:.3f} ms".format(ns / 1e6) if ns >= 1e6 else "{:.1f} µs".format(ns / 1e3)


def verdict(ok):
    return "met" if ok else "NOT met"


def window_work(results, inputs):
    """The window's work per call beside computeHull's on the same inputs, and
    each ratio that has a goal checked against it: the table's lines, and per
    goal its text and whether it is met."""
    lines = [
        "",
        "Window work: median time per call beside computeHull on the same inputs.",
        "",
        "| work | input | time per call | computeHull | ratio | goal | verdict |",
        "|---|---|---:|---:|---:|---:|---|",
    ]
    goals = []
    for work in ("edit", "traceHull"):
        for inp in inputs:
            done, kernel = results.get(work + "/" + inp), results.get("computeHull/" + inp)
            if not done or not kernel:
                continue
            ratio = done["ns_per_point"] / kernel["ns_per_point"]
            points = int(inp.rsplit("/", 1)[1])
            limit = WINDOW_RATIO_GOALS.get((work, inp))
            lines.append("| {} | {} | {} | {} | {:.1f}× | {} | {} |".format(
                work, inp, duration(done["ns_per_point"] * points), duration(kernel["ns_per_point"] * points), ratio,
                "≤ {}×".format(limit) if limit else "–", verdict(ratio <= limit) if limit else ""))
            if limit:
                goals.append(("{}/{} at most {} × computeHull/{} ({:.1f}×)".format(work, inp, limit, inp, ratio),
                              ratio <= limit))
    return (lines if len(lines) > 5 else []), goals


def printed_table(path, results):
    """The program's printed time, median over its runs, beside the warm time per
    call of computeHull on inputs of the same size, and the goals for their ratio."""
    runs = {}
    with open(path) as f:
        for line in f:
            fields = line.split()
            if len(fields) == 2:
                runs.setdefault(int(fields[0]), []).append(float(fields[1]) * 1e6)
    lines = [
        "",
        "The time the program prints (the first and only computeHull of a run, cold code and caches)",
        "beside the warm time per call:",
        "",
        "| n | printed, median of {} runs | hull_bench warm per call | printed / warm |".format(
            max(len(v) for v in runs.values()) if runs else 0),
        "|---:|---:|---:|---:|",
    ]
    ratios = {}
    for n in sorted(runs):
        printed = statistics.median(runs[n])
        warm = results.get("computeHull/random/{}".format(n))
        warm_ns = warm["ns_per_point"] * n if warm else None
        ratios[n] = printed / warm_ns if warm_ns else None
        lines.append("| {} | {:.1f} µs | {} | {} |".format(
            n, printed / 1e3, "{:.3f} µs".format(warm_ns / 1e3) if warm_ns else "–",
            "{:.1f}×".format(ratios[n]) if ratios[n] else "–"))
    lines.append("")
    for n, limit in ((10000, 5), (1000, 20)):
        if ratios.get(n):
            lines.append("- printed at n = {} at most {} × the warm call ({:.1f}×): {}".format(
                n, limit, ratios[n], verdict(ratios[n] <= limit)))
    return lines


def main():
    results_path, out_dir = sys.argv[1], sys.argv[2]
    context, results = load(results_path)
    inputs, implementations = [], []
    for name in results:
        impl, inp = split(name)
        if inp not in inputs:
            inputs.append(inp)
        if impl not in implementations:
            implementations.append(impl)
    peers = [i for i in implementations if i.startswith("peer/")]

    rows, facts = [], {}
    for inp in inputs:
        kernel = results.get("computeHull/" + inp)
        floor = results.get("floor/" + inp)
        timed = [(results[p + "/" + inp]["ns_per_point"], p) for p in peers if p + "/" + inp in results]
        if not kernel or not floor:
            continue
        best = min(timed) if timed else None
        allocs = kernel["allocs"]
        facts[inp] = (kernel["ns_per_point"] / floor["ns_per_point"],
                      best[0] / kernel["ns_per_point"] if best else None, allocs)
        rows.append("| {} | {:.2f} | {:.3f} | {:.1f}× | {} | {} | {} |".format(
            inp, kernel["ns_per_point"], floor["ns_per_point"], facts[inp][0],
            "{} ({:.2f} ns)".format(best[1][5:], best[0]) if best else "–",
            "{:.1f}×".format(facts[inp][1]) if best else "–",
            "{:g}".format(allocs) if allocs is not None else "–"))

    lines = [
        "Machine: " + machine(context),
        "",
        "| input | computeHull ns/point | floor ns/point | computeHull / floor | fastest peer | peer / computeHull | allocations per computeHull |",
        "|---|---:|---:|---:|---|---:|---:|",
        *rows,
        "",
        "All times: median CPU time of the repetitions, per input point.",
        "",
        "| ns/point | " + " | ".join(inputs) + " |",
        "|---|" + "---:|" * len(inputs),
    ]
    for impl in implementations:
        cells = ["{:.2f}".format(results[impl + "/" + i]["ns_per_point"]) if impl + "/" + i in results else "–"
                 for i in inputs]
        lines.append("| {} | {} |".format(impl, " | ".join(cells)))

    window_lines, window_goals = window_work(results, inputs)
    lines += window_lines

    def goal(text, ok):
        return "- {}: {}".format(text, verdict(ok))
    lines.append("")
    if "random/10000" in facts:
        ratio, peer, allocs = facts["random/10000"]
        lines.append(goal("random/10000 at most 4 × the floor ({:.1f}×)".format(ratio), ratio <= 4))
        if peer is not None:
            lines.append(goal("random/10000 at least 5 × faster than the fastest peer ({:.1f}×)".format(peer), peer >= 5))
    if "random/100" in facts and facts["random/100"][1] is not None:
        peer = facts["random/100"][1]
        lines.append(goal("random/100 at least 3 × faster than the fastest peer ({:.1f}×)".format(peer), peer >= 3))
    if "circle/10000" in facts and facts["circle/10000"][1] is not None:
        peer = facts["circle/10000"][1]
        lines.append(goal("circle/10000 at least 3 × faster than the fastest peer ({:.1f}×)".format(peer), peer >= 3))
    # The window's work beside the hull: the step-by-step trace, built once per
    # run after the timed hull, and an edit.
    lines += [goal(text, ok) for text, ok in window_goals]
    # The other methods' traces, and all four of them with their counts (what
    # --poredi costs), at 10000 points: the wrap's time follows the corners.
    for inp in inputs:
        for what, limit in (("traceJarvis", 20), ("traceGraham", 20), ("traceAndrew", 20), ("compareMethods", 50)):
            timed = results.get(what + "/" + inp)
            if timed:
                ms = timed["ns_per_point"] * int(inp.rsplit("/", 1)[1]) / 1e6
                lines.append(goal("{}/{} at most {} ms ({:.2f} ms)".format(what, inp, limit, ms), ms <= limit))
    # One edit in the window: a point moved, then hull, outline, Scene and steps rebuilt.
    for inp in inputs:
        edit, kernel = results.get("edit/" + inp), results.get("computeHull/" + inp)
        if edit and kernel:
            points = int(inp.rsplit("/", 1)[1])
            ms, kernel_ms = edit["ns_per_point"] * points / 1e6, kernel["ns_per_point"] * points / 1e6
            lines.append(goal("edit/{} at most 1 ms ({:.3f} ms; computeHull {:.3f} ms)".format(inp, ms, kernel_ms),
                              ms <= 1.0))
    allocs = [f[2] for f in facts.values() if f[2] is not None]
    lines.append(goal("no allocation inside computeHull after its first run", allocs and max(allocs) == 0))
    if len(sys.argv) > 3:
        lines += printed_table(sys.argv[3], results)

    with open(out_dir + "/bench.md", "w") as f:
        f.write("\n".join(lines) + "\n")
    # The chart compares hull computations on the inputs computeHull is timed
    # on; an edit's whole rebuild and the four methods side by side are no such thing.
    implementations = [i for i in implementations if i not in ("edit", "compareMethods")]
    inputs = [i for i in inputs if "computeHull/" + i in results]
    with open(out_dir + "/bench.dat", "w") as f:
        f.write("input " + " ".join('"{}"'.format(i) for i in implementations) + "\n")
        for inp in inputs:
            cells = ["{:.4f}".format(results[i + "/" + inp]["ns_per_point"]) if i + "/" + inp in results else "NaN"
                     for i in implementations]
            f.write('"{}" {}\n'.format(inp, " ".join(cells)))
    print("\n".join(lines))


if __name__ == "__main__":
    main()
