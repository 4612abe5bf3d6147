#!/usr/bin/env python3
"""Prints the benchmark figures of scripts/bench.sh beside their targets.

Reads the Google Benchmark JSON files in the folder given; exits 1 when a
target is missed or a figure is missing.
"""
import json
import pathlib
import sys

MIB = 1024 * 1024


def load(folder):
    runs = {}
    for path in sorted(pathlib.Path(folder).glob("*.json")):
        for run in json.loads(path.read_text())["benchmarks"]:
            if run.get("error_occurred"):
                print(f"{run['name']}: {run.get('error_message', 'failed')}")
                continue
            runs[run["run_name"]] = run
    return runs


def main(folder):
    runs = load(folder)
    rows = []  # (figure, value text, target text, verdict)

    def check(figure, value, text, target_text, ok):
        rows.append((figure, text, target_text, "PASS" if ok else "FAIL") if value is not None
                    else (figure, "missing", target_text, "FAIL"))

    for op in ("Load", "Save"):
        for entries in (1000, 100000, 1000000):
            run = runs.get(f"BM_{op}List/{entries}/manual_time")
            name = f"{op} {entries:>9,} entries"
            if run is None:
                check(name + ": time", None, "", "", False)
                continue
            time_ms = run["real_time"]
            growth = run["peak_rss_growth_bytes"]
            ratio = run["memory_per_file_byte"]
            size_text = f"file {run['file_bytes'] / MIB:.1f} MiB"
            if entries == 1000000:
                check(name + ": time", time_ms, f"{time_ms:.1f} ms", "< 1000 ms", time_ms < 1000)
                check(name + ": peak memory", growth,
                      f"{growth / MIB:.1f} MiB = {ratio:.2f}x ({size_text})", "< 4x file",
                      0 <= ratio < 4)
            else:
                rows.append((name + ": time", f"{time_ms:.2f} ms", "(info)", ""))
                rows.append((name + ": peak memory",
                             f"{growth / MIB:.2f} MiB = {ratio:.2f}x ({size_text})", "(info)", ""))

    wait = runs.get("BM_PumpWaitCpu/5000/iterations:1/manual_time")
    cpu = wait["cpu_percent_of_core"] if wait else None
    check("5 s PumpWait: CPU of one core", cpu,
          f"{cpu:.3f} % ({wait['cpu_seconds'] * 1000:.1f} ms in {wait['wall_seconds']:.3f} s)"
          if wait else "", "< 1 %", cpu is not None and cpu < 1)

    if wait:
        rows.append(("5 s PumpWait: ends after its delay by", f"{wait['last_wait_late_ms']:.1f} ms",
                     "(info)", ""))

    late = runs.get("BM_LaunchLateness/10/iterations:1")
    median = late["late_median_ms"] if late else None
    check("Launch lateness: median of 10", median,
          f"{median:.2f} ms (1-s entries {late['late_delayed_median_ms']:.2f} ms, "
          f"max {late['late_max_ms']:.2f} ms)" if late else "", "< 5 ms",
          median is not None and median < 5)

    start = runs.get("BM_StartToFirstLaunch/iterations:1")
    extra = start["extra_ms"] if start else None
    check("Start to first launch: pellox - sh", extra,
          f"+{extra:.1f} ms ({start['pellox_median_ms']:.1f} vs {start['sh_median_ms']:.1f} ms, "
          f"ratio {start['ratio']:.1f})" if start else "", "<= 200 ms",
          extra is not None and extra <= 200)

    for command in ("Add", "Insert", "Delete"):
        run = runs.get(f"BM_EditAtTheTop/{command}/iterations:3/manual_time")
        ms = run["real_time"] if run else None
        check(f"{command} at the top of 999,997 entries", ms, f"{ms:.1f} ms" if run else "",
              "< 500 ms", ms is not None and ms < 500)

    run = runs.get("BM_LoadIntoWindow/iterations:3/manual_time")
    name = "Load 1,000,000 entries into the Qt window"
    # The CPU time is the target: on a shared machine the wall time also
    # counts the waits for a core, and is shown beside it.
    cpu = run["cpu_ms"] if run else None
    check(name + ": CPU", cpu, f"{cpu:.1f} ms (wall {run['real_time']:.1f} ms)" if run else "",
          "< 250 ms", cpu is not None and cpu < 250)
    ratio = run["memory_per_file_byte"] if run else None
    check(name + ": peak memory", ratio,
          f"{run['peak_rss_growth_bytes'] / MIB:.1f} MiB = {ratio:.2f}x "
          f"(file {run['file_bytes'] / MIB:.1f} MiB)" if run else "", "< 2x file",
          ratio is not None and 0 <= ratio < 2)

    widths = [max(len(row[i]) for row in rows) for i in range(3)]
    header = ("Figure", "Measured", "Target")
    widths = [max(w, len(h)) for w, h in zip(widths, header)]
    line = "  ".join(f"{{:<{w}}}" for w in widths) + "  {}"
    print()
    print(line.format(*header, "Result"))
    print(line.format(*("-" * w for w in widths), "------"))
    for row in rows:
        print(line.format(*row))
    return 1 if any(row[3] == "FAIL" for row in rows) else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
