#!/usr/bin/env python3
"""Makes README.txt for the Windows zip and installer from its template and
the game's own --help text, with Windows line ends.

    make_readme.py HELP-TEXT TEMPLATE OUTPUT

The template's <<HELP_OPTIONS>>, <<HELP_KEYS>>, <<HELP_GAMEPAD>> and
<<HELP_SETTINGS>> become the option lines, the key lines, the gamepad paragraph
and the settings lines of the help. A part the help no longer has stops the
build rather than leaving the README behind.
"""

import sys


def paragraphs(help_text):
    """The help's paragraphs by their first word before a colon."""
    found = {}
    for block in help_text.strip("\n").split("\n\n"):
        lines = block.split("\n")
        heading = lines[0].split(":", 1)[0]
        found[heading] = lines
    return found


def indented(lines):
    """The lines under a heading, as the help indents them."""
    return [line for line in lines[1:] if line.startswith("  ")]


def parts(help_text):
    found = paragraphs(help_text)
    for heading in ("Options", "Keys", "Gamepad", "Settings"):
        if heading not in found:
            sys.exit(f"make_readme.py: the help has no '{heading}:' part any more")
    options = indented(found["Options"])
    keys = indented(found["Keys"])
    settings = indented(found["Settings"])
    if not options or not keys or not settings:
        sys.exit("make_readme.py: the help's options, keys or settings lines are missing")
    gamepad = " ".join(found["Gamepad"])
    return {
        "<<HELP_OPTIONS>>": "\n".join(options),
        "<<HELP_KEYS>>": "\n".join(keys),
        "<<HELP_GAMEPAD>>": wrap(gamepad, 76),
        "<<HELP_SETTINGS>>": "\n".join(settings),
    }


def wrap(text, width):
    lines, line = [], ""
    for word in text.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    lines.append(line)
    return "\n".join(lines)


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    with open(argv[1], encoding="utf-8") as f:
        help_text = f.read()
    with open(argv[2], encoding="utf-8") as f:
        text = f.read()
    for mark, value in parts(help_text).items():
        if mark not in text:
            sys.exit(f"make_readme.py: the template has no {mark}")
        text = text.replace(mark, value)
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    with open(argv[3], "w", encoding="utf-8", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv)
