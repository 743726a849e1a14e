#!/usr/bin/env python3
"""lootwright-cli under a file size limit (SIGXFSZ ignored, as a full disk or quota behaves):
every kind of file it writes fails with exit 2, a message naming the file and the reason, and
leaves the files it would have replaced byte for byte as they were."""
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile

cli, data = sys.argv[1], sys.argv[2]
failures = []


def limited(limit):
    def apply():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return apply


def snapshot(directory):
    files = {}
    for root, _, names in os.walk(directory):
        for name in names:
            with open(os.path.join(root, name), "rb") as f:
                files[os.path.relpath(os.path.join(root, name), directory)] = f.read()
    return files


def case(name, setup, arguments, limit, message):
    with tempfile.TemporaryDirectory() as temp:
        config = os.path.join(temp, "config")
        shutil.copytree(os.path.join(data, "window", "config"), config)
        setup(config)
        before = snapshot(temp)
        run = subprocess.run([cli] + [a.format(config=config, temp=temp) for a in arguments],
                             capture_output=True, text=True, preexec_fn=limited(limit))
        after = snapshot(temp)
        first = run.stderr.splitlines()[0] if run.stderr else ""
        expected = message.format(config=re.escape(config), temp=re.escape(temp))
        if run.returncode != 2:
            failures.append(f"{name}: exit {run.returncode}, expected 2")
        if not re.fullmatch(expected, first):
            failures.append(f"{name}: message {first!r} does not match {expected!r}")
        changed = [p for p in before if after.get(p) != before[p]]
        stray = [p for p in after if p not in before and not p.startswith("config/backup/")]
        if changed or stray:
            failures.append(f"{name}: changed {changed}, left behind {stray}")


def normalized(config):
    subprocess.run([cli, "normalize", config], check=True, capture_output=True)
    shutil.rmtree(os.path.join(config, "backup"))


def page(config):
    with open(os.path.join(os.path.dirname(config), "page.html"), "wb") as f:
        f.write(b"previous page")


# The box file grows past 1 KiB when written in the editor's format; its backup fits.
case("drop file", lambda config: None, ["normalize", "{config}"], 1024,
     r"无法写入文件: {config}/DropBoxContent\.txt（File too large）")
# Already in the editor's format, the box file itself is beyond the limit: its backup fails.
case("backup", normalized, ["normalize", "{config}"], 1024,
     r"备份失败，原文件未被覆盖：无法写入备份文件 {config}/backup/DropBoxContent\.[0-9-]+\.txt"
     r"（File too large）")
case("page", page, ["export", "{config}", "{temp}/page.html"], 4096,
     r"无法写入文件：{temp}/page\.html（File too large）")
case("csv", lambda config: None, ["export", "{config}", "{temp}/page.csv"], 256,
     r"无法写入文件：{temp}/page\.csv（File too large）")

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
