#!/usr/bin/env python3
"""Fault-injection campaign: does the test suite notice planted mistakes?

Each fault in the JSON list replaces one unique snippet of a source file with
a plausible wrong version.  For every fault the script

  1. checks that `find` occurs exactly once in `file` (otherwise the fault
     "does not apply" to this tree and is skipped),
  2. writes the replaced text and builds (`cmake --build BUILD -j2`); a build
     failure makes the fault "invalid", never "caught",
  3. runs `ctest --test-dir BUILD -LE e2e --parallel 2 --stop-on-failure
     --timeout 60`; a non-zero exit (a failure or a timeout) means "caught",
     and the first failing tests are read from
     BUILD/Testing/Temporary/LastTestsFailed.log,
  4. always restores the original file, also on errors and Ctrl-C.

After the last fault the tree is rebuilt so the build matches the sources.
Results go to a markdown table (id, subsystem, file, what, caught, first
failing tests) and progress lines to standard output.

Usage:
  scripts/fault-campaign.py --tree DIR --build DIR --faults scripts/faults.json \\
      --out RESULTS.md [--only ID,...]

Fault file: a JSON list of objects with the keys
  id, subsystem, file (relative to --tree), find, replace, what.
"""

import argparse
import json
import os
import subprocess
import sys
import time

REQUIRED_KEYS = ("id", "subsystem", "file", "find", "replace", "what")
FAILED_LOG = os.path.join("Testing", "Temporary", "LastTestsFailed.log")
MAX_TESTS_SHOWN = 3


def parse_args():
    parser = argparse.ArgumentParser(
        description="Plant each fault of a JSON list in the tree, build, run the "
        "suite and record whether it was caught.",
        epilog="Example: scripts/fault-campaign.py --tree . --build build-rel "
        "--faults scripts/faults.json --out /tmp/results.md",
    )
    parser.add_argument("--tree", required=True, help="source tree the fault paths are relative to")
    parser.add_argument("--build", required=True, help="configured CMake build directory")
    parser.add_argument("--faults", required=True, help="JSON list of faults")
    parser.add_argument("--out", required=True, help="markdown file for the results table")
    parser.add_argument("--only", help="comma-separated fault ids to run (default: all)")
    parser.add_argument("--all-catchers", action="store_true",
                        help="run the whole suite for every fault (no stop at the first failure) "
                        "and write every failing test to OUT.json, to see which tests are the "
                        "only ones that catch a fault")
    return parser.parse_args()


def load_faults(path, only):
    with open(path, encoding="utf-8") as f:
        faults = json.load(f)
    ids = set()
    for fault in faults:
        missing = [k for k in REQUIRED_KEYS if k not in fault]
        if missing:
            sys.exit(f"fault {fault.get('id', '?')}: missing {', '.join(missing)}")
        if fault["id"] in ids:
            sys.exit(f"fault {fault['id']}: duplicate id")
        ids.add(fault["id"])
    if only:
        wanted = [x.strip() for x in only.split(",") if x.strip()]
        unknown = [x for x in wanted if x not in ids]
        if unknown:
            sys.exit(f"unknown fault ids: {', '.join(unknown)}")
        faults = [f for f in faults if f["id"] in wanted]
    return faults


def run(cmd):
    """Runs a command quietly; returns (exit code, combined output)."""
    proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    return proc.returncode, proc.stdout


def build(build_dir):
    return run(["cmake", "--build", build_dir, "-j2"])


def first_failing_tests(build_dir, ctest_output):
    log = os.path.join(build_dir, FAILED_LOG)
    names = []
    try:
        with open(log, encoding="utf-8", errors="replace") as f:
            for line in f:
                # Lines look like "12:Suite.Case".
                line = line.strip()
                if line:
                    names.append(line.split(":", 1)[-1])
    except FileNotFoundError:
        pass
    if not names and "Timeout" in ctest_output:
        names.append("(timeout)")
    return names


def run_suite(build_dir, all_catchers):
    log = os.path.join(build_dir, FAILED_LOG)
    if os.path.exists(log):
        os.remove(log)  # a stale list from an earlier run must not be blamed
    stop = [] if all_catchers else ["--stop-on-failure"]
    code, output = run(["ctest", "--test-dir", build_dir, "-LE", "e2e", "--parallel", "2",
                        "--timeout", "60"] + stop)
    return code, first_failing_tests(build_dir, output) if code != 0 else []


def try_fault(fault, tree, build_dir, all_catchers):
    """Returns (verdict, failing tests).  The file is restored before returning."""
    path = os.path.join(tree, fault["file"])
    try:
        with open(path, encoding="utf-8", newline="") as f:
            original = f.read()
    except FileNotFoundError:
        return "does not apply", ["(no such file)"]
    count = original.count(fault["find"])
    if count != 1:
        return "does not apply", [f"(snippet found {count} times)"]
    mutated = original.replace(fault["find"], fault["replace"], 1)
    stat = os.stat(path)
    try:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(mutated)
        code, output = build(build_dir)
        if code != 0:
            return "invalid", ["(build failed)"]
        code, failed = run_suite(build_dir, all_catchers)
        return ("yes", failed) if code != 0 else ("no", [])
    finally:
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(original)
        # A newer mtime than the faulty build's makes the next build recompile it.
        now = time.time()
        os.utime(path, (now, max(now, stat.st_mtime + 1)))


def cell(text):
    return str(text).replace("|", "\\|").replace("\n", " ")


def write_table(out, rows, elapsed):
    counts = {}
    for row in rows:
        counts[row["verdict"]] = counts.get(row["verdict"], 0) + 1
    valid = counts.get("yes", 0) + counts.get("no", 0)
    with open(out, "w", encoding="utf-8") as f:
        f.write("# Fault campaign results\n\n")
        f.write(f"Faults run: {len(rows)}; caught {counts.get('yes', 0)} of {valid} valid; "
                f"missed {counts.get('no', 0)}; invalid {counts.get('invalid', 0)}; "
                f"does not apply {counts.get('does not apply', 0)}; "
                f"total time {elapsed / 60:.1f} min.\n\n")
        f.write("| id | subsystem | file | what | caught | first failing tests |\n")
        f.write("|---|---|---|---|---|---|\n")
        for row in rows:
            fault = row["fault"]
            tests = ", ".join(row["tests"][:MAX_TESTS_SHOWN])
            if len(row["tests"]) > MAX_TESTS_SHOWN:
                tests += f" (+{len(row['tests']) - MAX_TESTS_SHOWN} more)"
            f.write(f"| {cell(fault['id'])} | {cell(fault['subsystem'])} | {cell(fault['file'])} "
                    f"| {cell(fault['what'])} | {row['verdict']} | {cell(tests)} |\n")


def write_catchers(path, rows):
    catchers = {row["fault"]["id"]: {"verdict": row["verdict"], "tests": row["tests"]}
                for row in rows}
    with open(path, "w", encoding="utf-8") as f:
        json.dump(catchers, f, indent=1, sort_keys=True)


def main():
    args = parse_args()
    faults = load_faults(args.faults, args.only)
    tree = os.path.abspath(args.tree)
    build_dir = os.path.abspath(args.build)
    rows = []
    start = time.time()
    try:
        for n, fault in enumerate(faults, 1):
            began = time.time()
            print(f"[{n}/{len(faults)}] {fault['id']} ({fault['file']}) ...", flush=True)
            verdict, tests = try_fault(fault, tree, build_dir, args.all_catchers)
            rows.append({"fault": fault, "verdict": verdict, "tests": tests})
            shown = ", ".join(tests[:MAX_TESTS_SHOWN])
            print(f"[{n}/{len(faults)}] {fault['id']}: {verdict} {shown} "
                  f"({time.time() - began:.0f} s)", flush=True)
            write_table(args.out, rows, time.time() - start)
    except KeyboardInterrupt:
        print("interrupted; the file in hand was restored", flush=True)
    finally:
        print("rebuilding the clean tree ...", flush=True)
        code, output = build(build_dir)
        if code != 0:
            print(output[-4000:])
            print("warning: the clean rebuild failed", flush=True)
        write_table(args.out, rows, time.time() - start)
        if args.all_catchers:
            write_catchers(args.out + ".json", rows)
    print(f"results in {args.out}", flush=True)


if __name__ == "__main__":
    main()
