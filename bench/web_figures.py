#!/usr/bin/env python3
"""The browser build's figures for the benchmark table, as one JSON object.

    web_figures.py BUILD_WEB BUILD_BENCH [REPETITIONS]

The size of the page's .wasm and .js, raw and gzip-compressed (level 9), the
packed game the site sends instead of the .wasm, and
the wall time of one game step: kordavan-step-time under node and the same
program built for this machine, run in turns in the same run so that both see
the same load.
"""

import gzip
import json
import os
import subprocess
import sys

STEPS = "2000"


def sizes(build_web):
    """The linker's .wasm (in page/), the page's .js and the packed game the
    site sends in its place (already compressed: its gzip size is its own)."""
    found = {}
    for folder, name in (("page", "kordavan.wasm"), ("site", "kordavan.js"),
                         ("site", "kordavan.pack.gz")):
        with open(os.path.join(build_web, folder, name), "rb") as f:
            data = f.read()
        packed = len(data) if name.endswith(".gz") else len(gzip.compress(data, 9))
        found[name] = {"bytes": len(data), "gzip": packed}
    return found


def step_times(command):
    out = subprocess.run(command + [STEPS, "1"], check=True, capture_output=True, text=True)
    return json.loads(out.stdout)["step_us"]


def main(argv):
    if len(argv) not in (3, 4):
        sys.exit(__doc__)
    build_web, build_bench = argv[1], argv[2]
    repetitions = int(argv[3]) if len(argv) == 4 else 5
    native_tool = [os.path.join(build_bench, "bench", "kordavan-step-time")]
    node_tool = ["node", os.path.join(build_web, "bench", "kordavan-step-time.js")]
    native, node = [], []
    for _ in range(repetitions):
        native += step_times(native_tool)
        node += step_times(node_tool)
    print(json.dumps({"files": sizes(build_web),
                      "native_step_us": native, "node_step_us": node}))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
