#!/usr/bin/env python3
"""Runs kordavan-trace many times with random command lines and key scripts.

    tools/trace/fuzz_command_line.py TRACE-EXECUTABLE [RUNS [SEED]]

Meant for a build with sanitizers: a run fails when the tool reports anything
through a sanitizer, dies of a signal, ends with an exit code it does not
document (0 done, 2 refused arguments or keys, 3 a picture waits for a key
that never comes), or takes too long. The same seed tries the same inputs on
every machine. Exits 1 after printing the failing runs, each with what
repeats it.
"""

import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile

FIELDS = [
    "scrollPos", "velX", "velY", "heliX", "heliY", "heliFacingLeft", "rotorFrame",
    "rotorDelay", "energy", "level", "rescuedCount", "moonBaseX", "moonBaseY",
    "launcherState", "orb1Active", "orb2Active", "orb3Active", "orb1X", "orb1Y",
    "orb1DrawX", "orb1DrawY", "orb2X", "orb2Y", "orb2DrawX", "orb2DrawY", "orb3X",
    "orb3Y", "orb1Angle", "orb2Angle", "orb1Radius", "orb2Radius", "orb2RadiusGrowing",
    "crusherY", "crusherRising", "landingActive", "heliLanded", "manWaiting",
    "carryingMan", "walkerX", "walkerDir", "walkerStep", "subSurfacing", "subHeight",
    "subTimer", "rocketActive", "rocketY", "rocketSpeed", "explosionActive",
    "explosionFrame", "explosionDelay", "crashExplosionPending",
]
KEYS = ["ESCAPE", "RETURN", "L", "SPACE", "UP", "DOWN", "LEFT", "RIGHT"]
DOCUMENTED_EXITS = {0, 2, 3}
SANITIZER_WORDS = [b"runtime error:", b"AddressSanitizer", b"LeakSanitizer",
                   b"UndefinedBehaviorSanitizer"]


def number(rng):
    """Any kind of number the tool might be given."""
    choice = rng.randrange(9)
    if choice == 0:
        return str(rng.randint(-3, 10))
    if choice == 1:
        return str(rng.uniform(-2000, 4000))
    if choice == 2:
        return rng.choice(["2147483647", "-2147483648", "2147483648", "4294967296",
                           "9223372036854775808", "-0", "0.0", "1e308", "-1e308", "1e-320",
                           "3e9", "1e10", "inf", "nan", "0x10", "+5", "--1", "", "1.5e",
                           " 7", "7 "])
    if choice == 3:
        return repr(rng.uniform(-1e6, 1e6))
    if choice == 4:
        return str(rng.randint(-100000, 100000))
    return str(rng.randint(-1000, 2000) / rng.choice([1, 2, 4, 10]))


def word(rng, hostile):
    """A word of a key script: a key in any case, or something else."""
    choice = rng.randrange(10) if hostile else 0
    if choice < 7:
        key = rng.choice(KEYS)
        return key.lower() if rng.random() < 0.2 else key
    if choice == 7:
        return "".join(chr(rng.randrange(1, 256)) for _ in range(rng.randint(1, 12)))
    if choice == 8:
        return "J" * rng.randint(1, 5000)
    return rng.choice(["\x1b[31m", "\x00", "\xff\xfe", "LEFTRIGHT", "Ｌ"])


def key_script(rng, hostile):
    lines = []
    for _ in range(rng.randint(0, 400)):
        count = rng.choice([0, 0, 1, 1, 1, 2, 3])
        separator = rng.choice([" ", ",", "\t", " , "])
        lines.append(separator.join(word(rng, hostile and rng.random() < 0.05)
                                    for _ in range(count)))
    text = "\n".join(lines)
    if rng.random() < 0.5:
        text += "\n"
    return text.encode("utf-8", "surrogateescape")


def setting(rng, hostile):
    """FIELD=VALUE: in a run meant to play, a value most fields can hold."""
    if hostile:
        field = rng.choice(FIELDS) if rng.random() < 0.9 else word(rng, True)
        return field + "=" + number(rng)
    field = rng.choice(FIELDS)
    value = rng.choice([str(rng.randint(0, 1)), str(rng.randint(0, 7)),
                        repr(rng.uniform(-300, 900)), repr(rng.uniform(-5, 5))])
    return field + "=" + value


def arguments(rng, frames, hostile):
    args = []
    for _ in range(rng.randint(0, 6)):
        choice = rng.randrange(12 if hostile else 9)
        if choice < 4:
            args += ["--set", setting(rng, hostile)]
        elif choice == 4:
            args += ["--steps", str(rng.randint(0, 300)) if rng.random() < 0.8 else number(rng)]
        elif choice == 5:
            args.append("--draws")
        elif choice == 6:
            args.append("--sounds")
        elif choice == 7:
            args.append("--from-title")
        elif choice == 8:
            if rng.random() < 0.1:
                args += ["--frames", frames]
        elif choice == 9:
            args.append(rng.choice(["--set", "--steps", "--frames", "--what", "-", ""]))
        else:
            args.append(word(rng, True))
    # Bound the run (the last --steps counts): a few hundred steps, or a few
    # when every step writes a picture.
    most = 10 if "--frames" in args else 300
    args += ["--steps", str(rng.randint(0, most))]
    return [a.encode("utf-8", "surrogateescape").replace(b"\x00", b"") for a in args]


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    executable = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    rng = random.Random(seed)
    failures = 0
    exits = {}
    with tempfile.TemporaryDirectory(prefix="kordavan-trace-fuzz-") as scratch:
        frames = os.path.join(scratch, "frames")
        for run in range(runs):
            # Most runs are meant to play; the others are meant to be refused.
            hostile = rng.random() < 0.3
            args = arguments(rng, frames, hostile)
            script = key_script(rng, hostile)
            try:
                # In a folder of its own: a random word may name a frames folder.
                done = subprocess.run([os.path.abspath(executable).encode()] + args,
                                      input=script, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.PIPE, timeout=120, cwd=scratch)
                problem = None
                if any(word in done.stderr for word in SANITIZER_WORDS):
                    problem = "sanitizer report"
                elif done.returncode not in DOCUMENTED_EXITS:
                    problem = "exit code %d" % done.returncode
                elif len(done.stderr) > 2000:
                    problem = "a message of %d bytes" % len(done.stderr)
            except subprocess.TimeoutExpired:
                problem, done = "no end after 120 s", None
            if done is not None:
                exits[done.returncode] = exits.get(done.returncode, 0) + 1
            for left in os.listdir(scratch):
                shutil.rmtree(os.path.join(scratch, left), ignore_errors=True)
            if problem is None:
                continue
            failures += 1
            kept = os.path.join(tempfile.gettempdir(), "kordavan-trace-fuzz-%d-%d.keys" % (seed, run))
            with open(kept, "wb") as out:
                out.write(script)
            shown = " ".join(shlex.quote(a.decode("utf-8", "surrogateescape")) for a in args)
            print("run %d: %s: %s %s < %s" % (run, problem, executable, shown, kept))
            if done is not None:
                print(done.stderr.decode("utf-8", "replace")[:3000])
    print("%d runs with random command lines and key scripts (seed %d): %d ran the game to its "
          "end, %d were refused, %d stopped at a picture waiting for a key; %d failed"
          % (runs, seed, exits.get(0, 0), exits.get(2, 0), exits.get(3, 0), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
