#!/usr/bin/env python3
"""Doxygen input filter: the headers' plain // comments become documentation.

A comment block directly above a declaration documents it. A block's first line that reads as a
section title (a few words without closing punctuation, such as "// Message delivery") only groups
the declarations under it and stays a plain comment. Comments at the end of a line are left alone.
"""
import re
import sys

TITLE = re.compile(r"^[A-Z][\w' -]{0,40}$")


def convert(lines):
    out = []
    i = 0
    while i < len(lines):
        match = re.match(r"^(\s*)// ?(.*)$", lines[i])
        if not match:
            out.append(lines[i])
            i += 1
            continue
        block = []
        while i < len(lines):
            m = re.match(r"^(\s*)// ?(.*)$", lines[i])
            if not m:
                break
            block.append(m)
            i += 1
        follows = lines[i].strip() if i < len(lines) else ""
        documents = follows and not follows.startswith("#") and not follows.startswith("}")
        for n, m in enumerate(block):
            indent, text = m.group(1), m.group(2)
            title = n == 0 and TITLE.match(text) and len(text.split()) <= 5
            if documents and not title:
                out.append(f"{indent}/// {text}\n")
            else:
                out.append(f"{indent}// {text}\n")
    return out


if __name__ == "__main__":
    with open(sys.argv[1], encoding="utf-8") as source:
        sys.stdout.write("".join(convert(source.readlines())))
