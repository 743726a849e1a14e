#!/usr/bin/env python3
"""Makes the interface's Chinese texts translatable.

Every QStringLiteral("...") whose text holds a CJK character (ideographs or full-width
punctuation) in the interface's sources becomes
QCoreApplication::translate("Lootwright", "..."), which lupdate reads. The literal is kept as
written (adjacent pieces, escapes), so a rerun changes nothing. Files that change get
#include <QCoreApplication> and have the changed lines put through clang-format when it is
installed.

Left alone: src/export (the page stays Chinese; its few message box texts are written as
translate calls by hand), src/cli (the command line keeps its texts), comments, debug output,
texts written as QString::fromUtf8("...") (for those that must never change, such as a
language's own name), and texts initialised before main() runs (at namespace scope), which no
translator could reach: those are listed and make the run fail, so they get moved into a
function by hand.

Usage:
    python3 scripts/wrap_translations.py           # rewrite the sources
    python3 scripts/wrap_translations.py --check   # exit 1 when a rewrite is due
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

CONTEXT = "Lootwright"
DIRECTORIES = ["app", "data", "dialogs", "document", "edit", "mainwindow", "models", "rates"]
REPLACEMENT = 'QCoreApplication::translate("%s", ' % CONTEXT
CJK = re.compile("[\u3000-\u303f\u3400-\u4dbf\u4e00-\u9fff\uf900-\ufaff\uff00-\uffef]")
IDENTIFIER = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")


class Scanner:
    """Walks C++ source: comments, literals, preprocessor lines and braces."""

    def __init__(self, text):
        self.text = text
        self.length = len(text)

    def skip_string(self, i):
        """i is at the opening quote of an ordinary literal; returns the index past its end."""
        quote = self.text[i]
        i += 1
        while i < self.length and self.text[i] != quote:
            if self.text[i] == "\\":
                i += 1
            elif self.text[i] == "\n":
                break
            i += 1
        return i + 1

    def skip_raw_string(self, i):
        """i is at the quote after R; returns the index past the closing delimiter."""
        open_paren = self.text.index("(", i)
        delimiter = ")" + self.text[i + 1 : open_paren] + '"'
        return self.text.index(delimiter, open_paren) + len(delimiter)

    def skip_space_and_comments(self, i):
        while i < self.length:
            if self.text[i].isspace():
                i += 1
            elif self.text.startswith("//", i):
                i = self.text.find("\n", i)
                i = self.length if i < 0 else i
            elif self.text.startswith("/*", i):
                i = self.text.index("*/", i) + 2
            else:
                break
        return i


def brace_kind(text, start, brace):
    """What a '{' opens: 'function' (a body, lambda or statement), 'class', 'scope' (a
    namespace or enum) or 'init' (a braced initialiser)."""
    head_start = max(text.rfind(";", 0, brace), text.rfind("}", 0, brace) + 1,
                     text.rfind("{", 0, brace) + 1, start)
    head = re.sub(r"//[^\n]*|/\*.*?\*/", " ", text[head_start:brace], flags=re.S).strip()
    if re.search(r"\b(class|struct|union)\b", head) and "(" not in head:
        return "class"
    if re.search(r"\b(namespace|enum)\b", head) and "(" not in head:
        return "scope"
    if re.match(r'extern\s*"C"', head):
        return "scope"
    if head == "" and text[:brace].rstrip().endswith("}"):
        return "function"  # a constructor body after a braced member initialiser
    if re.search(r"(\)|\]|\bconst|\boverride|\bnoexcept|\bfinal|\bmutable|\belse|\bdo|\btry)$",
                 head):
        return "function"
    if re.search(r"->\s*[\w:<>,\s*&]+$", head):
        return "function"
    return "init"


def rewrite(text):
    """Returns (new text, count, changed line numbers, namespace-scope hits)."""
    scanner = Scanner(text)
    out = []
    copied = 0
    count = 0
    changed_lines = []
    static_hits = []
    stack = []
    statement_start = 0
    line_start = True
    i = 0
    while i < scanner.length:
        c = text[i]
        if line_start and c == "#":
            end = i
            while True:
                end = text.find("\n", end)
                if end < 0 or text[end - 1] != "\\":
                    break
                end += 1
            i = scanner.length if end < 0 else end
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i) or text.startswith("/*", i):
            i = scanner.skip_space_and_comments(i)
            continue
        if c in "\"'":
            before = re.search(r"\w+$", text[max(0, i - 4) : i])
            token = before.group(0) if before else ""
            if c == '"' and token in ("R", "uR", "UR", "LR", "u8R"):
                i = scanner.skip_raw_string(i)
            elif c == "'" and token[:1].isdigit():
                i += 1  # a digit separator
            else:
                i = scanner.skip_string(i)
            continue
        if c == "{":
            stack.append(brace_kind(text, statement_start, i))
            statement_start = i + 1
            i += 1
            continue
        if c == "}":
            if stack:
                stack.pop()
            statement_start = i + 1
            i += 1
            continue
        if c == ";":
            statement_start = i + 1
            i += 1
            continue
        match = IDENTIFIER.match(text, i)
        if not match:
            i += 1
            continue
        if match.group(0) != "QStringLiteral":
            i = match.end()
            continue
        call = literal_call(scanner, match.end())
        if call is None:
            i = match.end()
            continue
        end, value = call
        if not CJK.search(value):
            i = end
            continue
        line = text.count("\n", 0, i) + 1
        # Class members (but static ones) and constructor initialisers run when an object is
        # made; anything else outside a function body is initialised before main().
        head = text[statement_start:i]
        if "function" not in stack and not (
                "class" in stack and not re.search(r"\bstatic\b", head)) and not re.search(
                    r"\)\s*(noexcept\s*)?:(?!:)", head):
            static_hits.append(line)
            i = end
            continue
        out.append(text[copied:i])
        out.append(REPLACEMENT)
        copied = text.index("(", match.end()) + 1
        count += 1
        changed_lines.append((line, text.count("\n", 0, end) + 1))
        i = end
    out.append(text[copied:])
    return "".join(out), count, changed_lines, static_hits


def literal_call(scanner, i):
    """After QStringLiteral: '(' string literals ')' gives (index past ')', their text)."""
    text = scanner.text
    i = scanner.skip_space_and_comments(i)
    if i >= scanner.length or text[i] != "(":
        return None
    i += 1
    pieces = []
    while True:
        i = scanner.skip_space_and_comments(i)
        if i < scanner.length and text[i] == '"':
            end = scanner.skip_string(i)
            pieces.append(text[i + 1 : end - 1])
            i = end
        elif i < scanner.length and text[i] == ")" and pieces:
            return i + 1, "".join(pieces)
        else:
            return None


def add_include(text):
    """Adds #include <QCoreApplication>; returns (text, its line number, lines inserted)."""
    if re.search(r"^#include <QCoreApplication>", text, flags=re.M):
        return text, 0, 0
    lines = text.split("\n")
    qt_lines = [n for n, line in enumerate(lines) if re.match(r"#include <Q\w+>", line)]
    if qt_lines:
        # Into the block of Qt includes, sorted as clang-format sorts it.
        at = qt_lines[0]
        while at < len(lines) and lines[at].startswith("#include <Q") and \
                lines[at] < "#include <QCoreApplication>":
            at += 1
        lines.insert(at, "#include <QCoreApplication>")
        return "\n".join(lines), at + 1, 1
    includes = [n for n, line in enumerate(lines) if line.startswith("#include")]
    at = includes[-1] + 1 if includes else 0
    lines[at:at] = ["", "#include <QCoreApplication>"]
    return "\n".join(lines), at + 2, 2


def source_files(root):
    for directory in DIRECTORIES:
        base = os.path.join(root, "src", directory)
        if not os.path.isdir(base):
            continue
        for path in sorted(os.listdir(base)):
            if path.endswith((".cpp", ".h")):
                yield os.path.join(base, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="change nothing; exit 1 when a text still needs wrapping")
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(
        os.path.abspath(__file__))), help="the repository (default: this script's)")
    args = parser.parse_args()

    clang_format = shutil.which("clang-format")
    due = 0
    static_hits = []
    for path in source_files(args.root):
        with open(path, encoding="utf-8", newline="") as f:
            text = f.read()
        new_text, count, changed, hits = rewrite(text)
        relative = os.path.relpath(path, args.root)
        static_hits += ["%s:%d" % (relative, line) for line in hits]
        if count == 0:
            continue
        due += count
        print("%s: %d text%s" % (relative, count, "" if count == 1 else "s"))
        if args.check:
            continue
        new_text, include_line, inserted = add_include(new_text)
        if include_line:
            first = include_line - (inserted - 1)
            changed = [(a + inserted * (a >= first), b + inserted * (b >= first))
                       for a, b in changed]
            changed.append((include_line, include_line))
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(new_text)
        if clang_format:
            ranges = ["--lines=%d:%d" % span for span in changed]
            subprocess.run([clang_format, "-i", "--style=file"] + ranges + [path], check=True)
    if not clang_format and due and not args.check:
        print("clang-format not found: the changed lines are not reformatted", file=sys.stderr)
    for hit in static_hits:
        print("%s: a text initialised before main() cannot be translated; build it in a "
              "function" % hit, file=sys.stderr)
    if args.check and due:
        print("%d text%s to wrap: run scripts/wrap_translations.py" % (due, "" if due == 1
                                                                         else "s"),
              file=sys.stderr)
    return 1 if static_hits or (args.check and due) else 0


if __name__ == "__main__":
    sys.exit(main())
