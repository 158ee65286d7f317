"""What the checks against ARCHITECTURE.md share: where things are, the
client's source files and the tables of the note's sections."""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLIENT = os.path.join(ROOT, "client")


def read_source(path):
    """A source file's text; any byte reads as some character."""
    return open(path, encoding="latin-1").read()


def client_sources():
    """(unit, path) for every .h and .cpp in client/, lib/ units named "lib/<stem>"."""
    for folder, prefix in ((CLIENT, ""), (os.path.join(CLIENT, "lib"), "lib/")):
        for name in sorted(os.listdir(folder)):
            stem, extension = os.path.splitext(name)
            if extension in (".h", ".cpp"):
                yield prefix + stem, os.path.join(folder, name)


def section_table(heading):
    """The cells of each body row of the table under `## <heading>`."""
    text = open(os.path.join(ROOT, "ARCHITECTURE.md"), encoding="utf-8").read()
    section = text.split("\n## " + heading, 1)[1].split("\n## ", 1)[0]
    rows = []
    header_seen = False
    for line in section.splitlines():
        if not line.startswith("|"):
            continue
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if set("".join(cells)) <= set("-"):
            continue
        if not header_seen:
            header_seen = True
            continue
        rows.append(cells)
    return rows
