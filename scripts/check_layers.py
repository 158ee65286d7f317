#!/usr/bin/env python3
"""Checks the client's includes against the layers ARCHITECTURE.md lists.

A file may include headers of its own layer and of the layers listed above
it; every unit in client/ must be named in the table. Prints each break and
exits non-zero if there is one.
"""
import os
import re
import sys

from architecture_note import ROOT, client_sources, read_source, section_table


def read_layers():
    return [(cells[0], re.findall(r"`([^`]+)`", cells[1])) for cells in section_table("Layers")]


def source_units():
    """Unit name -> its files."""
    units = {}
    for unit, path in client_sources():
        units.setdefault(unit, []).append(path)
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
            for match in include.finditer(read_source(path)):
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
