#!/usr/bin/env python3
"""Fails when a source file includes against the direction of the rooms.

The rooms of src/, lowest first. A room may include its own headers and those of any room
below it, never one beside or above it:

    world -> device -> sim -> render | cab | sound -> shell -> platform | shell/commands

render, cab and sound never include each other. shell/commands may include platform (the
commands choose the real or the null platform parts); platform never includes the commands.
src/main.cpp stands above everything. Only platform includes SDL, epoxy or Dear ImGui.

Usage: check_includes.py [SOURCE_DIR]   (default: the src/ folder beside this script's folder)
"""

import pathlib
import re
import sys

RANKS = {
    "world": 0,
    "device": 1,
    "sim": 2,
    "render": 3,
    "cab": 3,
    "sound": 3,
    "shell": 4,
    "platform": 5,
    "shell/commands": 5,
    "main": 6,
}
# Pairs of rooms on one rank that may still look one way.
SIDEWAYS = {("shell/commands", "platform")}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SYSTEM_INCLUDE = re.compile(r'^\s*#\s*include\s*<([^>]+)>')
# The platform's libraries: only src/platform may include them.
PLATFORM_HEADER = re.compile(r'^(SDL2?/|SDL[._]|epoxy/|imgui|backends/imgui)')


def room_of(relative):
    """The room of a path relative to src/, or None for a path outside every room."""
    parts = pathlib.PurePosixPath(relative).parts
    if len(parts) == 1:
        return "main" if parts[0] == "main.cpp" else None
    if parts[0] == "shell" and len(parts) > 2 and parts[1] == "commands":
        return "shell/commands"
    return parts[0] if parts[0] in RANKS else None


def allowed(source_room, target_room):
    if source_room == target_room:
        return True
    if (source_room, target_room) in SIDEWAYS:
        return True
    return RANKS[target_room] < RANKS[source_room]


def main():
    default = pathlib.Path(__file__).resolve().parent.parent / "src"
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else default
    if not src.is_dir():
        print(f"check_includes: {src} is not a folder", file=sys.stderr)
        return 2
    problems = []
    files = sorted(p for p in src.rglob("*") if p.suffix in (".cpp", ".h") and p.is_file())
    for path in files:
        relative = path.relative_to(src).as_posix()
        source_room = room_of(relative)
        if source_room is None:
            problems.append(f"{relative}: lies in no room ({', '.join(sorted(RANKS))})")
            continue
        with open(path, encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                system = SYSTEM_INCLUDE.match(line)
                if system and PLATFORM_HEADER.match(system.group(1)) and source_room != "platform":
                    problems.append(f"{relative}:{number}: includes <{system.group(1)}>, which only platform may")
                match = INCLUDE.match(line)
                if not match:
                    continue
                target = match.group(1)
                target_room = room_of(target)
                if target_room is None or not (src / target).is_file():
                    problems.append(f"{relative}:{number}: includes \"{target}\", which is no file of a room")
                elif not allowed(source_room, target_room):
                    problems.append(f"{relative}:{number}: {source_room} may not include {target_room} (\"{target}\")")
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_includes: {len(problems)} include(s) against the rooms' directions", file=sys.stderr)
        return 1
    print(f"check_includes: {len(files)} files, every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
