#!/usr/bin/env python3
"""Checks the client's includes against the layers ARCHITECTURE.md lists.

A file may include headers of its own layer and of the layers listed above
it; every unit in client/ must be named in the table. Prints each break and
exits non-zero if there is one.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLIENT = os.path.join(ROOT, "client")


def read_layers():
    text = open(os.path.join(ROOT, "ARCHITECTURE.md"), encoding="utf-8").read()
    section = text.split("\n## Layers", 1)[1].split("\n## ", 1)[0]
    layers = []
    for line in section.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) < 3 or cells[0] in ("layer", "") or set(cells[0]) <= set("-"):
            continue
        layers.append((cells[0], re.findall(r"`([^`]+)`", cells[1])))
    return layers


def source_units():
    """Unit name -> its files, lib/ units under the name "lib/"."""
    units = {}
    for folder, prefix in ((CLIENT, ""), (os.path.join(CLIENT, "lib"), "lib/")):
        for name in sorted(os.listdir(folder)):
            stem, extension = os.path.splitext(name)
            if extension in (".h", ".cpp"):
                units.setdefault(prefix + stem, []).append(os.path.join(folder, name))
    return units


def main():
    layers = read_layers()
    layer_of = {}
    for index, (_, names) in enumerate(layers):
        for name in names:
            layer_of[name] = index
    units = source_units()
    for unit in units:
        if unit.startswith("lib/") and "lib/" in layer_of:
            layer_of[unit] = layer_of["lib/"]
    problems = [f"client/{unit}: not named in ARCHITECTURE.md's layers"
                for unit in units if unit not in layer_of]
    include = re.compile(r'^\s*#\s*include\s+"([^"]+)\.h"', re.MULTILINE)
    for unit, files in units.items():
        if unit not in layer_of:
            continue
        for path in files:
            for match in include.finditer(open(path, encoding="latin-1").read()):
                included = match.group(1)
                if included not in units and "lib/" + included in units:
                    included = "lib/" + included
                if included in layer_of and layer_of[included] > layer_of[unit]:
                    problems.append(
                        f"{os.path.relpath(path, ROOT)} ({layers[layer_of[unit]][0]}) includes "
                        f"{included}.h ({layers[layer_of[included]][0]})")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
