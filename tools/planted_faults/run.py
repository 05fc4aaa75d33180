#!/usr/bin/env python3
"""Plants one fault at a time in a scratch copy of the tree and records whether the tests
catch it.

The copy lives under build/mut/tree (inside the worktree, so ccache shares the objects of
the real dev build). Each fault replaces one exact, unique snippet of one source file; the
copy is rebuilt with the dev preset, only the test programs whose binaries changed are run,
and the file is put back before the next fault.

    python3 tools/planted_faults/run.py                 # every fault, results to stdout
    python3 tools/planted_faults/run.py --only D1,S3    # some faults
    python3 tools/planted_faults/run.py --out build/mut/results.tsv
    python3 tools/planted_faults/run.py --rev HEAD~3     # the suite of an earlier commit
    python3 tools/planted_faults/run.py --faults other.txt  # a list kept elsewhere

A fault is "caught" when a test that passed on the unchanged copy fails, "missed" when all
pass, "build-failed" when the copy does not build with it, "bad-fault" when its snippet is
not found exactly once.
"""

import argparse
import filecmp
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
FAULTS = Path(__file__).resolve().parent / "faults.txt"
# Tests that run the installed program rather than the test programs.
EXCLUDE = r"^Install\."


def parse_faults(path):
    faults, cur = [], None
    for raw in path.read_text(encoding="utf-8").splitlines():
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        m = re.match(r"^\[(\w+)\]\s*(.*)$", line)
        if m:
            cur = {"id": m.group(1), "what": m.group(2)}
            faults.append(cur)
            continue
        key, _, value = line.partition(" ")
        value = value.strip().replace("\\n", "\n").replace("\\t", "\t")
        if cur is None or key not in ("file", "find", "replace"):
            sys.exit(f"{path.name}: cannot read line: {line}")
        cur[key] = value
    for f in faults:
        for key in ("file", "find", "replace"):
            if key not in f:
                sys.exit(f"fault {f['id']}: no {key}")
    return faults


def run(cmd, cwd, timeout=None):
    return subprocess.run(cmd, cwd=cwd, capture_output=True, text=True, timeout=timeout)


def sync_tree(tree, rev):
    """Makes the copy hold the working tree, or the commit rev. Files whose content did not
    change keep their times, so only what changed is rebuilt."""
    tree.mkdir(parents=True, exist_ok=True)
    source = ROOT
    if rev:
        source = Path(tempfile.mkdtemp(prefix="orvena-mut-"))
        r = subprocess.run(f"git -C '{ROOT}' archive '{rev}' | tar -x -C '{source}'", shell=True,
                           capture_output=True, text=True)
        if r.returncode != 0:
            sys.exit("git archive failed:\n" + r.stderr)
    copy_changed(source, tree)
    if rev:
        shutil.rmtree(source)


SKIP = {"build", ".git", ".cache"}


def copy_changed(source, tree):
    """Copies every file of source whose bytes differ into tree (new files get the present
    time, so the build sees them) and removes what source no longer has."""
    wanted = set()
    for folder, dirs, files in os.walk(source):
        rel = Path(folder).relative_to(source)
        if rel == Path("."):
            dirs[:] = [d for d in dirs if d not in SKIP]
        for name in files:
            src = Path(folder) / name
            dst = tree / rel / name
            wanted.add(rel / name)
            if src.is_symlink() or not src.is_file():
                continue
            if dst.is_file() and filecmp.cmp(src, dst, shallow=False):
                continue
            dst.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(src, dst)
            shutil.copymode(src, dst)
    for folder, dirs, files in os.walk(tree):
        rel = Path(folder).relative_to(tree)
        if rel == Path("."):
            dirs[:] = [d for d in dirs if d not in SKIP]
        for name in files:
            if rel / name not in wanted:
                (Path(folder) / name).unlink()


def test_programs(build):
    """test name -> the program it runs, for every test of the dev build."""
    r = run(["ctest", "--test-dir", str(build), "--show-only=json-v1"], build)
    if r.returncode != 0:
        sys.exit("ctest --show-only failed:\n" + r.stderr)
    out = {}
    for t in json.loads(r.stdout)["tests"]:
        cmd = t.get("command") or [""]
        out[t["name"]] = cmd[0]
    return out


def test_targets(build):
    r = run(["ninja", "-C", str(build), "-t", "targets", "all"], build)
    names = set()
    for line in r.stdout.splitlines():
        name = line.split(":")[0]
        # The test programs, the fuzz replays, and the files of the program folder some tests
        # read.
        pattern = r"test_\w+|fuzz_replay_\w+|orvena_(makams|samples|workbook|melodies|tunings)"
        if re.fullmatch(pattern, name):
            names.add(name)
    return sorted(names)


def build_tests(build, targets, jobs):
    r = run(["cmake", "--build", str(build), "-j", str(jobs), "--target", *targets], build)
    return r.returncode == 0, r.stdout[-3000:] + r.stderr[-3000:]


def mtimes(programs):
    return {p: (os.stat(p).st_mtime_ns if os.path.exists(p) else 0) for p in set(programs.values())}


def run_tests(build, names, jobs, timeout, first=False):
    """Names of the tests that failed (or timed out) among names; with first, only those
    that failed before ctest stopped at the first failure."""
    if not names:
        return set()
    regex = "^(" + "|".join(re.escape(n) for n in sorted(names)) + ")$"
    r = run(["ctest", "--test-dir", str(build), "-j", str(jobs), "--timeout", str(timeout),
             "-R", regex, "-E", EXCLUDE] + (["--stop-on-failure"] if first else []), build)
    failed = set()
    in_list = False
    for line in r.stdout.splitlines():
        if "The following tests FAILED" in line:
            in_list = True
            continue
        if in_list:
            m = re.match(r"\s*\d+\s+-\s+(\S+)\s", line)
            if m:
                failed.add(m.group(1))
    if r.returncode != 0 and not failed and "No tests were found" not in r.stdout:
        failed.add("<ctest: " + (r.stdout + r.stderr).strip().splitlines()[-1] + ">")
    return failed


def try_fault(fault, build, targets, programs, names, baseline_failed, args):
    """Builds and tests the copy with the fault in place. The test program of the fault's own
    folder goes first (built and run alone: most faults are caught there, and the other
    programs need not even be linked); then every other program that changed."""
    own = "test_" + Path(fault["file"]).parts[1]
    stages = [[own], targets] if own in targets else [targets]
    tried = set()
    for stage in stages:
        before = mtimes(programs)
        ok, log = build_tests(build, stage, args.jobs)
        if not ok:
            return "build-failed", log.strip().splitlines()[-1] if log.strip() else ""
        after = mtimes(programs)
        changed = {p for p in after if after[p] != before.get(p)}
        if stage != targets:
            changed |= {p for p in programs.values() if Path(p).name == own}
        to_run = {n for n in names if programs[n] in changed} - baseline_failed - tried
        tried |= to_run
        failed = run_tests(build, to_run, args.jobs, args.timeout, args.first) - baseline_failed
        if failed:
            return "caught", " ".join(sorted(failed))
    return "missed", f"{len(tried)} tests ran"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--only", help="comma-separated fault ids")
    ap.add_argument("--out", help="also write the results here (tab-separated)")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--timeout", type=int, default=60, help="seconds per test")
    ap.add_argument("--first", action="store_true",
                    help="stop each fault's tests at the first failure (faster; names one catcher)")
    ap.add_argument("--rev", help="test this commit instead of the working tree")
    ap.add_argument("--check", action="store_true", help="only check that every snippet is found once")
    ap.add_argument("--faults", default=str(FAULTS), help="another list of faults, same format")
    ap.add_argument("--scratch", default=str(ROOT / "build" / "mut"))
    args = ap.parse_args()

    faults = parse_faults(Path(args.faults))
    if args.only:
        wanted = set(args.only.split(","))
        faults = [f for f in faults if f["id"] in wanted]

    if args.check:
        bad = [f["id"] for f in faults if (ROOT / f["file"]).read_text(encoding="utf-8").count(f["find"]) != 1]
        print(f"{len(faults)} faults, snippets not found exactly once: {bad or 'none'}")
        sys.exit(1 if bad else 0)

    tree = Path(args.scratch) / "tree"
    build = tree / "build" / "dev"
    sync_tree(tree, args.rev)
    # Configured again every time: a folder added since the last run brings test programs
    # the old build files do not list.
    r = run(["cmake", "--preset", "dev"], tree)
    if r.returncode != 0:
        sys.exit("configure failed:\n" + r.stdout + r.stderr)
    targets = test_targets(build)
    ok, log = build_tests(build, targets, args.jobs)
    if not ok:
        sys.exit("the unchanged copy does not build:\n" + log)
    programs = test_programs(build)
    names = {n for n in programs if not re.search(EXCLUDE, n)}
    t0 = time.time()
    baseline_failed = run_tests(build, names, args.jobs, args.timeout)
    unbuilt = sorted(n for n in baseline_failed if n.endswith("_NOT_BUILT"))
    if unbuilt:
        sys.exit(f"test programs not built, so no fault could be caught by them: {unbuilt}")
    print(f"# {len(names)} tests, baseline run {time.time() - t0:.0f} s; failing on the unchanged "
          f"copy (ignored): {sorted(baseline_failed) or 'none'}", flush=True)

    rows = []
    started = time.time()
    for f in faults:
        t0 = time.time()
        path = tree / f["file"]
        original = path.read_text(encoding="utf-8")
        if original.count(f["find"]) != 1:
            result, detail = "bad-fault", f"snippet found {original.count(f['find'])} times"
        else:
            path.write_text(original.replace(f["find"], f["replace"]), encoding="utf-8")
            try:
                result, detail = try_fault(f, build, targets, programs, names, baseline_failed,
                                           args)
            finally:
                # The file goes back now; the next fault's build recompiles it (from ccache)
                # together with its own change, so each program is linked once per fault.
                path.write_text(original, encoding="utf-8")
        rows.append((f["id"], result, f"{time.time() - t0:.0f}s", f["what"], detail))
        print("\t".join(rows[-1]), flush=True)

    counts = {}
    for r in rows:
        counts[r[1]] = counts.get(r[1], 0) + 1
    summary = ", ".join(f"{k} {v}" for k, v in sorted(counts.items()))
    print(f"# {len(rows)} faults in {time.time() - started:.0f} s: {summary}", flush=True)
    build_tests(build, targets, args.jobs)  # leave the copy built as it is
    if args.out:
        Path(args.out).write_text("\n".join("\t".join(r) for r in rows) + f"\n# {summary}\n",
                                  encoding="utf-8")


if __name__ == "__main__":
    main()
