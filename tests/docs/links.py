#!/usr/bin/env python3
"""Every link and picture in the README and the pages of docs/ resolves.

    tests/docs/links.py FOLDER

FOLDER holds README.md and docs/: the source tree, or the installed
share/doc/kordavan. A link may name a web address, or a file of README.md and
docs/ (with a heading of a page after #): nothing else is installed beside
them, so a link into the rest of the source tree would be dead for a player
who reads the installed copy. Prints each dead link and exits 1 when there is
one.
"""
import pathlib
import re
import sys

LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)", re.S)


def anchors(page):
    """The anchors a Markdown renderer makes of the page's headings."""
    found = set()
    for line in page.read_text(encoding="utf-8").splitlines():
        if line.startswith("#"):
            title = line.lstrip("#").strip().lower()
            title = re.sub(r"[^\w\- ]", "", title)
            found.add(title.replace(" ", "-"))
    return found


def dead_links(folder):
    pages = [folder / "README.md"] + sorted((folder / "docs").glob("*.md"))
    allowed = {p.resolve() for p in pages} | {p.resolve() for p in (folder / "docs").glob("*.png")}
    problems = []
    for page in pages:
        if not page.exists():
            problems.append(f"{page}: missing")
            continue
        for target in LINK.findall(page.read_text(encoding="utf-8")):
            if re.match(r"^[a-z]+:", target):
                continue
            path, _, anchor = target.partition("#")
            resolved = (page.parent / path).resolve() if path else page.resolve()
            if resolved not in allowed:
                reason = "no such file" if not resolved.exists() else "not installed with the README"
                problems.append(f"{page.relative_to(folder)}: {target}: {reason}")
            elif anchor and resolved.suffix == ".md" and anchor not in anchors(resolved):
                problems.append(f"{page.relative_to(folder)}: {target}: no such heading")
    return problems


def main():
    folder = pathlib.Path(sys.argv[1])
    problems = dead_links(folder)
    for problem in problems:
        print(problem)
    if not problems:
        print(f"every link of README.md and docs/ resolves in {folder}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
