#!/usr/bin/env python3
"""Checks that every process-wide variable of the client is accounted for.

Each mutable variable at namespace scope, static data member and mutable
function-local static in client/ must be named in ARCHITECTURE.md's table of
process-wide state (a static member also by its class). One that a header
declares, so that a test can reach it, must also be named -- itself or its
class -- in the per-test reset (tests/support/fresh_state.cpp), unless its
row says the reset does not need it. Prints what is missing and exits
non-zero if anything is.
"""
import os
import re
import sys

from architecture_note import ROOT, client_sources, read_source, section_table

RESET = os.path.join(ROOT, "tests", "support", "fresh_state.cpp")
# A row whose reset column says one of these holds state no test can leave changed.
UNNEEDED_RESETS = ("not needed", "takes itself off")

# Unindented definitions: `type name;`, `type name = ...;`, `type name{...};`,
# `type Class::name = ...;`, arrays included; a pointer to const data counts.
DEFINITION = re.compile(
    r"^(?:static\s+)?(?!constexpr\b|using\b|return\b|typedef\b|extern\b|class\b|struct\b|enum\b)"
    r"([A-Za-z_][\w:<>, ]*?[\s*&]+)(?:(\w+)::)?(\w+)\s*(?:\[[^\]]*\])?\s*(?:=[^;]*|\{[^}]*\})?;$")
# Indented `static type name...;` inside a function, not a const one.
LOCAL_STATIC = re.compile(r"^\s+static\s+(?!const\b|constexpr\b)[^()]*?[\s*&](\w+)\s*(?:=[^;]*|\{[^}]*\})?;$")
EXTERN = re.compile(r"^extern\s+([^;(]*?[\s*&])(\w+)\s*(?:\[[^\]]*\])?;$")
STATIC_MEMBER = re.compile(r"^\s+static\s+(?!const\b|constexpr\b|void\b)[^();]*?[\s*&](\w+);$")
CLASS_START = re.compile(r"^(?:class|struct)\s+(\w+)\b[^;]*$")
# Locks guard state; they are not state a test could leave changed.
NOT_STATE = ("std::mutex", "std::once_flag")


def constant(type_text):
    """True for a type whose variable cannot change: `const T`, `T *const`."""
    type_text = type_text.strip()
    if re.search(r"\*\s*const$", type_text):
        return True
    return type_text.startswith("const") and "*" not in type_text


def client_files(extension):
    return [path for _, path in client_sources() if path.endswith(extension)]


def defined_variables():
    """(owner class or None, name, where) for every process-wide variable defined."""
    found = []
    for path in client_files(".cpp"):
        for number, line in enumerate(read_source(path).splitlines(), 1):
            if any(lock in line for lock in NOT_STATE):
                continue
            where = "%s:%d" % (os.path.relpath(path, ROOT), number)
            match = DEFINITION.match(line)
            if match and not constant(match.group(1)):
                found.append((match.group(2), match.group(3), where))
                continue
            match = LOCAL_STATIC.match(line)
            if match:
                found.append((None, match.group(1), where))
    return found


def header_declarations():
    """Names a header makes visible: extern variables and static data members (as Class::name)."""
    names = set()
    for path in client_files(".h"):
        owner = None
        for line in read_source(path).splitlines():
            start = CLASS_START.match(line)
            if start:
                owner = start.group(1)
            match = EXTERN.match(line)
            if match and not constant(match.group(1)):
                names.add((None, match.group(2)))
            match = STATIC_MEMBER.match(line)
            if match and owner and not any(lock in line for lock in NOT_STATE):
                names.add((owner, match.group(1)))
    return names


def table_rows():
    return [(set(re.findall(r"`([^`(]+)", cells[1])), cells[2])
            for cells in section_table("Tests and process-wide state") if len(cells) == 3]


def row_of(rows, owner, name):
    for named, reset in rows:
        if name in named or (owner and (owner in named or "%s::%s" % (owner, name) in named)):
            return reset
    return None


def main():
    rows = table_rows()
    reset_text = read_source(RESET)
    problems = []
    for owner, name, where in defined_variables():
        if row_of(rows, owner, name) is None:
            problems.append("%s: %s is not named in ARCHITECTURE.md's process-wide state"
                            % (where, "%s::%s" % (owner, name) if owner else name))
    for owner, name in sorted(header_declarations(), key=lambda item: (item[0] or "", item[1])):
        reset = row_of(rows, owner, name)
        if reset is None or any(words in reset for words in UNNEEDED_RESETS):
            continue
        if not re.search(r"\b%s\b" % re.escape(owner or name), reset_text):
            problems.append("%s is not reset by %s" % (owner or name, os.path.relpath(RESET, ROOT)))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
