#!/usr/bin/env python3
"""Fails on any include under src/ that breaks the folder order of the layers,
on SDL outside the SDL2 backend, and on threads, locks, clocks, library loading
or direct host file calls outside src/platform/.

The layers, bottom to top, are the one list LAYERS below (docs/architecture.md
explains them). A file may include headers of its own layer or of a lower one.
Two kinds of file sit apart from their folder's layer:
  *_state.h           plain records; at the engine's layer, so the engine
                      context (engine/engine.h) can hold every subsystem's
                      state while the subsystems' operations stay above it.
  *_command(s).{h,cpp} command handlers; above every subsystem and the command
                      table, whose rows give them their operand views.

Known breaks still to be mended are listed, one problem line each, in
scripts/include-exceptions.txt: a listed line is tolerated, a new one fails,
and so does a listed line that no longer occurs (the list only shrinks).
--stats prints the folder-to-folder include arrows; --prune drops mended lines
from the list (it never adds one)."""

import re
import sys
from collections import Counter
from pathlib import Path

LAYERS = [
    "base",       # shared helpers: byte order, rectangles, Shift-JIS, the error record
    "platform",   # the seam and its backends; nothing above base
    "graphics",   # pictures, drawing, codecs
    "resources",  # embedded data
    "engine",     # the engine context, every *_state.h record, the ticker list
    "tables",     # variables, strings, colours, data buffers, plug-ins
    "files",      # file reading, archives, settings files
    "scenario",   # scenario objects, dispatch, operands, expressions
    "text",       # fonts and the text renderer
    "screen",     # screen state, composition and update, display
    "windows",    # window table, frames, window text and drawing
    "input",      # input, hit test, cursor, waits and timers
    "plugins",    # plug-in libraries: loading, calls, the info block
    "run",        # the run loop: steps, the poll step, waits, timed frames
    "effects",    # effects that play over time through timed frames: picture fades
    "sound",
    "animation",  # numbered animations: the table, frame scripts, drawing, the scheduler
    "commands",   # the command table: rows, operand views, handler declarations
    "handlers",   # every *_commands file
    "asm",        # assembler and disassembler
    "shell",      # program entry, runner, start-up
]
RANK = {name: i for i, name in enumerate(LAYERS)}

# Host facilities only the platform may touch.
HOST_ONLY = re.compile(
    r"#include <(thread|mutex|shared_mutex|condition_variable|chrono|future|fstream|filesystem|"
    r"dlfcn\.h|unistd\.h|fcntl\.h|dirent\.h|pthread\.h|sys/[a-z_]+\.h)>"
    r"|\bstd::(thread|jthread|mutex|recursive_mutex|lock_guard|unique_lock|scoped_lock|"
    r"condition_variable|chrono|ifstream|ofstream|fstream|filesystem)\b"
    r"|\b(fopen|dlopen|dlsym|clock_gettime|gettimeofday|opendir|usleep|nanosleep)\s*\("
)
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SDL = re.compile(r"^\s*#\s*include\s+[<\"]SDL", re.M)


def layer_of(rel: Path) -> str:
    name = rel.name
    if name.endswith("_state.h"):
        return "engine"
    if re.search(r"_commands?\.(h|cpp)$", name):
        return "handlers"
    return rel.parts[0]


def strip_comments(text: str) -> str:
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    return re.sub(r"//[^\n]*", "", text)


def main() -> int:
    root = Path(__file__).resolve().parent.parent / "src"
    stats = "--stats" in sys.argv
    problems = []
    arrows = Counter()
    for path in sorted(root.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        rel = path.relative_to(root)
        text = path.read_text(encoding="utf-8", errors="replace")
        folder = rel.parts[0]
        mine = layer_of(rel)
        if mine not in RANK:
            problems.append(f"src/{rel}: folder '{folder}' is not in the layer list")
            continue
        for target in INCLUDE.findall(text):
            trel = Path(target)
            if not (root / trel).exists():
                continue  # a header beside the file or a generated one
            theirs = layer_of(trel)
            if trel.parts[0] != folder:
                arrows[(folder, trel.parts[0], RANK.get(theirs, 99) > RANK[mine])] += 1
            if theirs not in RANK:
                continue
            upward = RANK[theirs] > RANK[mine]
            # The engine context may hold every subsystem's records.
            if upward and rel.as_posix() == "engine/engine.h" and trel.name.endswith("_state.h"):
                continue
            if upward:
                problems.append(f"src/{rel}: includes {target} ({theirs} is above {mine})")
            elif folder == "platform" and trel.parts[0] not in ("platform", "base"):
                problems.append(f"src/{rel}: the platform may include only platform/ and base/, not {target}")
            elif mine == "engine" and rel.name.endswith("_state.h") and not (
                    trel.name.endswith("_state.h") or RANK[theirs] < RANK["engine"]
                    or trel.as_posix() in ("engine/settings.h", "engine/command_args.h")):
                problems.append(f"src/{rel}: a record header may include only records and lower layers, not {target}")
        code = strip_comments(text)
        if SDL.search(code) and not rel.as_posix().startswith("platform/sdl2/"):
            problems.append(f"src/{rel}: SDL is included outside src/platform/sdl2/")
        if folder != "platform":
            for match in HOST_ONLY.finditer(code):
                problems.append(f"src/{rel}: host facility '{match.group(0).strip()}' outside src/platform/")
    if stats:
        total = sum(arrows.values())
        pairs = len({(a, b) for a, b, _ in arrows})
        up = {(a, b) for a, b, u in arrows if u}
        print(f"{pairs} folder-to-folder arrows ({total} includes), {len(up)} pointing upward")
        for a, b in sorted(up):
            print(f"  upward: {a} -> {b}")
    listed_path = Path(__file__).resolve().parent / "include-exceptions.txt"
    listed = set()
    if listed_path.exists():
        listed = {l.strip() for l in listed_path.read_text().splitlines()
                  if l.strip() and not l.startswith("#")}
    found = set(problems)
    new = sorted(found - listed)
    stale = sorted(listed - found)
    if "--prune" in sys.argv and stale:
        kept = [l for l in listed_path.read_text().splitlines() if l.strip() not in stale]
        listed_path.write_text("\n".join(kept) + "\n")
        stale = []
    for line in new:
        print(line, file=sys.stderr)
    for line in stale:
        print(f"mended, remove it from {listed_path.name}: {line}", file=sys.stderr)
    if stats or new or stale:
        print(f"{len(found)} include problems, {len(found & listed)} of them listed as known")
    return 1 if new or stale else 0


if __name__ == "__main__":
    sys.exit(main())
