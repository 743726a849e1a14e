#!/usr/bin/env python3
"""Kills lootwright-cli normalize at random moments on a generated configuration of a few MB.
After each kill, the next command's load must find both drop files from the same save, old and
old or new and new, each whole, and nothing left beside them."""
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

cli = sys.argv[1]
rounds = 20
names = ("MonsterDropBoxs.txt", "DropBoxContent.txt")


def generate(directory, rng):
    # Not in the editor's format (short lines, double blanks), so a normalize changes both files.
    with open(os.path.join(directory, names[0]), "w", newline="\n") as f:
        f.write("MonsterId\tMValue\tDropType\nint\tint\tint\n")
        for monster in range(1, 30001):
            boxes = "\t".join(str(rng.randint(1, 6000)) for _ in range(rng.randint(1, 20)))
            f.write(f"{monster}\t{rng.randint(1, 5000)}\t{monster % 2}\t{boxes}\n")
    with open(os.path.join(directory, names[1]), "w", newline="\n") as f:
        f.write("ID BoxValue NotifyId ForceOpenFlag\nint int int int\n")
        for box in range(1, 6001):
            items = "  ".join(f"{rng.randint(1, 60000)} {rng.randint(0, 9)}"
                              for _ in range(rng.randint(1, 60)))
            f.write(f"{box}  {rng.randint(100, 90000)}  -1  0  {items}\n")


def digests(directory):
    result = []
    for name in names:
        with open(os.path.join(directory, name), "rb") as f:
            result.append(hashlib.sha1(f.read()).hexdigest())
    return tuple(result)


def reset(directory, pristine):
    for name in os.listdir(directory):
        path = os.path.join(directory, name)
        shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
    for name in names:
        shutil.copy(os.path.join(pristine, name), directory)


def main():
    rng = random.Random(int(os.environ.get("LOOTWRIGHT_KILL_SEED", time.time())))
    failures = []
    outcomes = {"old": 0, "new": 0}
    with tempfile.TemporaryDirectory() as temp:
        pristine = os.path.join(temp, "pristine")
        config = os.path.join(temp, "config")
        os.mkdir(pristine)
        os.mkdir(config)
        generate(pristine, rng)
        old = digests(pristine)
        reset(config, pristine)
        started = time.monotonic()
        subprocess.run([cli, "normalize", config], check=True, capture_output=True)
        duration = time.monotonic() - started
        new = digests(config)
        # Most kills fall after the load, while the files are written.
        started = time.monotonic()
        subprocess.run([cli, "check", pristine], capture_output=True)
        loading = min(time.monotonic() - started, duration)
        if new[0] == old[0] or new[1] == old[1]:
            failures.append("the generated files are already in the editor's format")
        for round in range(rounds):
            reset(config, pristine)
            process = subprocess.Popen([cli, "normalize", config], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            time.sleep(rng.uniform(loading * 0.8, duration * 1.1))
            process.send_signal(signal.SIGKILL)
            process.wait()
            check = subprocess.run([cli, "check", config], capture_output=True, text=True)
            if check.returncode == 2:
                failures.append(f"round {round}: load failed: {check.stderr.strip()}")
                continue
            found = digests(config)
            if found == old:
                outcomes["old"] += 1
            elif found == new:
                outcomes["new"] += 1
            else:
                failures.append(f"round {round}: the files are from different saves or cut short")
            debris = [n for n in os.listdir(config) if n.startswith(".")]
            if debris:
                failures.append(f"round {round}: left beside the files: {debris}")
    print(f"normalize took {duration * 1000:.0f} ms, a load {loading * 1000:.0f} ms; "
          f"after the kills: {outcomes}")
    for failure in failures:
        print(failure)
    return 1 if failures else 0


sys.exit(main())
