#!/usr/bin/env python3
"""Mutation testing of the test suite: puts one small fault at a time into a copy of the tree,
rebuilds it incrementally, runs the test programs that cover the faulty file, and records
whether any of them failed (killed) or all passed (survived).

The faults are listed in scripts/mutants.txt; see the head of that file for its format.
Run through scripts/mutate.sh; `--help` lists the options.
"""

import argparse
import filecmp
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field


@dataclass
class Mutant:
    ident: str
    path: str
    tests: list
    why: str = ""
    equivalent: str = ""
    original: list = field(default_factory=list)
    faulty: list = field(default_factory=list)
    line: int = 0


def parse_mutants(fname):
    mutants, current = [], None
    with open(fname, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            tag, text = line[:1], line[2:] if len(line) > 1 else ""
            if tag == "@":
                words = text.split()
                if len(words) < 3:
                    sys.exit(f"{fname}:{number}: '@ ID FILE TEST...' expected")
                current = Mutant(words[0], words[1], words[2:], line=number)
                mutants.append(current)
            elif current is None:
                sys.exit(f"{fname}:{number}: text before the first '@' line")
            elif tag == "?":
                current.why = (current.why + " " + text).strip()
            elif tag == "=":
                current.equivalent = (current.equivalent + " " + text).strip()
            elif tag == "-":
                current.original.append(text)
            elif tag == "+":
                current.faulty.append(text)
            else:
                sys.exit(f"{fname}:{number}: unknown line tag '{tag}'")
    seen = set()
    for m in mutants:
        if m.ident in seen:
            sys.exit(f"{fname}:{m.line}: mutant {m.ident} listed twice")
        seen.add(m.ident)
        if not m.original or not m.why:
            sys.exit(f"{fname}:{m.line}: mutant {m.ident} needs '-' lines and a '?' reason")
    return mutants


def run(cmd, cwd=None, timeout=None, env=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=timeout, env=env)
        return p.returncode, p.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired as e:
        return -1, (e.stdout or b"").decode(errors="replace") + "\n[timed out]"


def killers(output):
    """The test programs that failed, with the test functions that failed in each, as
    "tst_a(one,two) tst_b(timeout)": a guide to which tests carry which fault."""
    programs = re.findall(r"^\s*\d+ - (\S+) \(([^)]*)\)", output, re.M)
    functions = {}
    for cls, fn in re.findall(r"^FAIL!  : (\w+)::(\w+)\(", output, re.M):
        functions.setdefault(cls, [])
        if fn not in functions[cls]:
            functions[cls].append(fn)
    parts = []
    for program, reason in programs:
        # Qt Test names the class, not the program; the class is the program's name without
        # "tst_", in other case.
        fns = next((f for c, f in functions.items()
                    if c.lower() == "test" + program[4:].lower()), None)
        parts.append(f"{program}({','.join(fns) if fns else reason.lower()})")
    return " ".join(parts)


def sync_tree(root, dest):
    """Copies the tracked and untracked (not ignored) files of root to dest. Only files whose
    content differs are copied, and they get a new modification time: a later run rebuilds
    what changed, and also what the last mutant of an earlier run was built from."""
    rc, out = run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=root)
    if rc != 0:
        sys.exit("git ls-files failed:\n" + out)
    files = [f for f in out.split("\0") if f]
    wanted = set()
    for rel in files:
        src = os.path.join(root, rel)
        if not os.path.isfile(src):
            continue
        dst = os.path.join(dest, rel)
        wanted.add(dst)
        if os.path.isfile(dst) and filecmp.cmp(src, dst, shallow=False):
            continue
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copyfile(src, dst)
        shutil.copymode(src, dst)
    for dirpath, _, names in os.walk(dest):
        for name in names:
            p = os.path.join(dirpath, name)
            if p not in wanted:
                os.remove(p)


def apply(mutant, src):
    path = os.path.join(src, mutant.path)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    original, faulty = "\n".join(mutant.original), "\n".join(mutant.faulty)
    count = text.count(original)
    if count != 1:
        return None, f"the original text occurs {count} times in {mutant.path}"
    return text, text.replace(original, faulty)


def main():
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("ids", nargs="*", help="run only these mutants (default: all)")
    ap.add_argument("--list", default="scripts/mutants.txt", help="the list of mutants")
    ap.add_argument("--work", default="build-mutate", help="folder for the copy and its build")
    ap.add_argument("--threshold", type=float, default=90.0,
                    help="lowest score (percent killed) that passes")
    ap.add_argument("--first", type=int, default=0, help="run only the first N mutants")
    ap.add_argument("--timeout", type=int, default=120, help="seconds per test program")
    ap.add_argument("--check", action="store_true",
                    help="only check that every mutant applies to today's tree")
    ap.add_argument("--in-place", action="store_true",
                    help="put the mutants into this tree and build in its build/ (configured "
                         "and built before, as scripts/test.sh leaves it): no copy, no build "
                         "of its own, for a short run in CI; every file is restored after")
    ap.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 1)
    args = ap.parse_args()

    root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
    mutants = parse_mutants(os.path.join(root, args.list))
    if args.ids:
        unknown = set(args.ids) - {m.ident for m in mutants}
        if unknown:
            sys.exit("unknown mutants: " + " ".join(sorted(unknown)))
        mutants = [m for m in mutants if m.ident in args.ids]
    if args.first:
        mutants = mutants[:args.first]

    bad = []
    for m in mutants:
        base, _ = apply(m, root)
        if base is None:
            bad.append(f"{m.ident} ({m.path}): {_}")
    if bad:
        print("mutants that do not apply to the tree:\n  " + "\n  ".join(bad))
        return 2
    if args.check:
        print(f"all {len(mutants)} mutants apply")
        return 0

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    if args.in_place:
        work, src, build = root, root, os.path.join(root, "build")
        if not os.path.isfile(os.path.join(build, "CMakeCache.txt")):
            sys.exit("--in-place needs the tree's build/ (run scripts/test.sh first)")
        # A stop from outside still restores the file of the mutant being tried.
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(3))
    else:
        work = os.path.abspath(os.path.join(root, args.work))
        src, build = os.path.join(work, "src"), os.path.join(work, "build")
        os.makedirs(src, exist_ok=True)
        sync_tree(root, src)
        rc, out = run(["cmake", "-S", src, "-B", build, "-DCMAKE_BUILD_TYPE=Release"])
        if rc != 0:
            print(out)
            return 2
    tests = sorted({t for m in mutants for t in m.tests})
    print(f"== building {work} ({len(tests)} test programs)", flush=True)
    rc, out = run(["cmake", "--build", build, f"-j{args.jobs}", "--target"] + tests)
    if rc != 0:
        print(out[-4000:])
        return 2

    def run_tests(names, *extra):
        regex = "^(" + "|".join(re.escape(t) for t in names) + ")$"
        return run(["ctest", "--test-dir", build, "-R", regex, f"-j{args.jobs}",
                    "--timeout", str(args.timeout), "--output-on-failure"] + list(extra),
                   timeout=args.timeout * max(1, len(names)) + 60, env=env)

    print("== the unchanged tree must pass", flush=True)
    rc, out = run_tests(tests)
    if rc != 0:
        print(out[-6000:])
        print("the tests fail without any mutant; nothing measured")
        return 2

    killed = survived = equivalent_survived = stillborn = 0
    survivors, equivalents = [], []
    for m in mutants:
        started = time.time()
        by = ""
        path = os.path.join(src, m.path)
        original_text, faulty_text = apply(m, src)
        with open(path, "w", encoding="utf-8") as f:
            f.write(faulty_text)
        try:
            rc, out = run(["cmake", "--build", build, f"-j{args.jobs}", "--target"] + m.tests)
            if rc != 0:
                verdict = "stillborn"
                stillborn += 1
            else:
                # The first failing program is enough to kill a mutant.
                rc, out = run_tests(m.tests, "--stop-on-failure")
                if rc != 0:
                    verdict = "killed"
                    killed += 1
                    by = killers(out)
                elif m.equivalent:
                    verdict = "equivalent"
                    equivalent_survived += 1
                    equivalents.append(m)
                else:
                    verdict = "SURVIVED"
                    survived += 1
                    survivors.append(m)
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original_text)
        print(f"{verdict:<10} {m.ident:<24} {m.path:<34} {time.time() - started:5.0f} s  "
              f"{by or m.why}", flush=True)

    # Equivalent mutants cannot be killed by any test; they are listed with their reason
    # and left out of the score. A stillborn mutant (it does not compile) is a fault of the
    # list and fails the run.
    scored = killed + survived
    score = 100.0 * killed / scored if scored else 100.0
    print(f"\nscore: {killed} of {scored} killed ({score:.1f}%); "
          f"{equivalent_survived} equivalent, {stillborn} stillborn")
    for m in survivors:
        print(f"  survived: {m.ident} {m.path}: {m.why}")
    for m in equivalents:
        print(f"  equivalent: {m.ident} {m.path}: {m.equivalent}")
    if stillborn:
        return 2
    return 0 if score >= args.threshold else 1


if __name__ == "__main__":
    sys.exit(main())
