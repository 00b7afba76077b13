#!/usr/bin/env python3
"""Turns the benchmarks' JSON output into the table of bench/README.md.

    table.py HEADLESS.json SDL.json PEAK_RSS_KIB [WEB.json [RESULTS_DIR]]

Ratios use the median CPU time of the repetitions; the SDL rows also give the
median wall time, since the flip waits for the display. WEB.json (from
web_figures.py) adds the browser build: the page's size and its game step
under node against this machine's, both as median wall time. RESULTS_DIR
adds the framebuffer's flip (sdl-software.json) and a second table: the whole
game's processor share and peak memory on the title, in play and paused, both
ways of showing frames (process-PATH-SCENE-SCALE.txt from process_cost.sh).
"""

import os

import json
import statistics
import sys


def medians(path):
    try:
        with open(path) as f:
            data = json.load(f)
    except (OSError, ValueError):
        return {}, {}
    found = {}
    labels = {}
    for b in data.get("benchmarks", []):
        if b.get("error_occurred"):
            labels[b.get("run_name", b["name"])] = "skipped: " + b.get("error_message", "")
            continue
        if b.get("aggregate_name") not in (None, "median"):
            continue
        found[b.get("run_name", b["name"])] = b
        if b.get("label"):
            labels[b.get("run_name", b["name"])] = b["label"]
    return found, labels


def figures(path):
    found = {}
    try:
        with open(path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 2 and parts[0] in ("cpu_percent", "peak_rss_kib"):
                    found[parts[0]] = float(parts[1])
    except (OSError, ValueError):
        pass
    return found


# Scene, its file, the figure, its goal (for the framebuffer, where software
# OpenGL is all there is) and how to show it.
PROCESS_ROWS = [
    ("title, 640x480 window", "title-1", "cpu_percent", 7.0, "{:.2f}% of a core"),
    ("playing, 640x480 window", "play-1", "cpu_percent", 7.0, "{:.2f}% of a core"),
    ("paused, 640x480 window", "pause-1", "cpu_percent", 1.5, "{:.2f}% of a core"),
    ("playing, 1280x960 window", "play-2", "cpu_percent", 15.0, "{:.2f}% of a core"),
    ("peak resident memory (start-up to the end of play, 640x480)", "play-1", "peak_rss_kib",
     50 * 1024, "{:.1f} MiB"),
]


def process_rows(folder):
    rows = ["| Whole process, Xvfb, OpenGL only in software | framebuffer | OpenGL renderer "
            "(llvmpipe) | framebuffer / OpenGL | Goal (framebuffer) |",
            "|---|---|---|---|---|"]
    for label, scene, key, goal, shown in PROCESS_ROWS:
        fb = figures(os.path.join(folder, f"process-software-{scene}.txt")).get(key)
        gl = figures(os.path.join(folder, f"process-accelerated-{scene}.txt")).get(key)
        if fb is None and gl is None:
            continue
        def text(value):
            if value is None:
                return "?"
            return shown.format(value / 1024 if key == "peak_rss_kib" else value)
        want = f"under {goal / 1024:.0f} MiB" if key == "peak_rss_kib" else f"under {goal:g}%"
        ratio = f"{fb / gl:.2f}x" if fb is not None and gl else ""
        met = "" if fb is None else (": met" if fb < goal else ": NOT met")
        rows.append(f"| {label} | {text(fb)} | {text(gl)} | {ratio} | {want}{met} |")
    return rows


def us(b, key="cpu_time"):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "ns")]
    return b[key] * scale


def web_rows(path):
    try:
        with open(path) as f:
            web = json.load(f)
    except (OSError, ValueError):
        return [f"| the browser build | no figures in {path} | | | |"]
    rows = []
    files = web["files"]
    raw = sum(f["bytes"] for f in files.values())
    packed = sum(f["gzip"] for f in files.values())
    mib = 1024 * 1024
    wasm, js = files["kordavan.wasm"], files["kordavan.js"]
    rows.append(f"| the page's .wasm + .js (every picture and sound inside) | {raw / mib:.2f} MiB "
                f"raw, {packed / mib:.2f} MiB gzip | .wasm {wasm['bytes'] / mib:.2f} MiB "
                f"({wasm['gzip'] / mib:.2f} gzip), .js {js['bytes'] / 1024:.0f} KiB "
                f"({js['gzip'] / 1024:.0f} gzip) | | under 4 MiB gzip: "
                f"{'met' if packed < 4 * mib else 'NOT met'} |")
    node = statistics.median(web["node_step_us"])
    native = statistics.median(web["native_step_us"])
    ratio = node / native
    rows.append(f"| one game step under node (WebAssembly, headless) | {node:.1f} us wall | "
                f"the same step on this machine {native:.1f} us wall | {ratio:.2f}x | "
                f"at most 2x: {'met' if ratio <= 2 else 'NOT met'} |")
    return rows


def main(argv):
    if len(argv) not in (4, 5, 6):
        sys.exit(__doc__)
    headless, _ = medians(argv[1])
    sdl, sdl_labels = medians(argv[2])
    peak = argv[3]
    rows = ["| Measure | Time (CPU, median) | Baseline (same run) | Ratio | Target |",
            "|---|---|---|---|---|"]
    for name in ("fullscreen_640x480", "helicopter_240x64", "orb_32x32", "terrain_640x192"):
        d = headless.get(f"drawKeyedBench/{name}")
        m = headless.get(f"memcpyBench/{name}")
        if d and m:
            rows.append(f"| drawKeyed {name} | {us(d):.2f} us | memcpy of the same bytes "
                        f"{us(m):.2f} us | {us(d) / us(m):.2f}x | |")
    step = headless.get("BM_GameStep")
    copy = headless.get("BM_GameStepPixelsMemcpy")
    if step and copy:
        ratio = us(step) / us(copy)
        rows.append(f"| one game step (runGame + controls, headless) | {us(step):.1f} us | memcpy of "
                    f"its {step['written_px_per_step'] / 1000:.0f}k written pixels {us(copy):.1f} us "
                    f"| {ratio:.2f}x | at most 3x: {'met' if ratio <= 3 else 'NOT met'} |")
    start = headless.get("BM_StartupToFirstTitleFrame/manual_time")
    if start:
        wall = us(start, "real_time") / 1000
        rows.append(f"| start-up to the first title frame (headless, with teardown) | {wall:.1f} ms "
                    f"wall | | | under 100 ms: {'met' if wall < 100 else 'NOT met'} |")
    upload = sdl.get("BM_SdlUpload")
    present = sdl.get("BM_SdlUploadAndPresent")
    flip = sdl.get("BM_SdlGameFlip/min_time:1.000")
    if upload and present:
        renderer = sdl_labels.get("BM_SdlUpload", "?")
        rows.append(f"| SDL upload + present, Xvfb, renderer {renderer} | {us(present):.0f} us CPU, "
                    f"{us(present, 'real_time'):.0f} us wall | upload alone {us(upload):.0f} us CPU, "
                    f"{us(upload, 'real_time'):.0f} us wall | {us(present) / us(upload):.2f}x | |")
    if flip and upload:
        rows.append(f"| the game's flip through OpenGL (upload, present), Xvfb | "
                    f"{us(flip, 'real_time'):.0f} us wall, {us(flip):.0f} us CPU | upload alone "
                    f"{us(upload):.0f} us CPU | {us(flip) / us(upload):.2f}x (CPU) | |")
    elif "BM_SdlUpload" in sdl_labels:
        rows.append(f"| SDL flip | {sdl_labels['BM_SdlUpload']} | | | |")
    folder = argv[5] if len(argv) == 6 else None
    fb_flip = medians(os.path.join(folder, "sdl-software.json"))[0].get(
        "BM_SdlGameFlip/min_time:1.000") if folder else None
    if fb_flip:
        rows.append(f"| the game's flip through the framebuffer (widen, present), "
                    f"Xvfb | {us(fb_flip, 'real_time'):.0f} us wall, {us(fb_flip):.0f} us CPU | "
                    + (f"the flip through OpenGL {us(flip):.0f} us CPU | "
                       f"{us(fb_flip) / us(flip):.2f}x (CPU) |" if flip else "| |")
                    + " |")
    rows.append(f"| peak resident memory of the real game (title, loading, 10 s play) | "
                f"{int(peak) / 1024:.1f} MiB | | | |" if peak.isdigit() else
                f"| peak resident memory | {peak} | | | |")
    if len(argv) >= 5:
        rows += web_rows(argv[4])
    if folder:
        rows += [""] + process_rows(folder)
    print("\n".join(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
