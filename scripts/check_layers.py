#!/usr/bin/env python3
"""Fails when a project #include runs against the layers or closes a circle.

Layers, top to bottom: shell -> editor, launch, snippets -> platform -> resources.
A folder may include its own files and those of lower layers; the three feature
folders may not include each other. Core-library files (VANTREL_CORE_SOURCES in
the sources.cmake lists) may include Qt headers of QtCore only and no header of
the widget library.
"""
import glob
import os
import re
import sys

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
RANK = {"resources": 0, "platform": 1, "editor": 2, "launch": 2, "snippets": 2, "shell": 3}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]', re.M)


def folder_of(rel):
    parts = rel.split("/")
    return parts[1] if parts[0] == "src" else parts[0]


def project_files():
    files = []
    for pattern in ("src/*/*.cpp", "src/*/*.h", "resources/*.cpp", "resources/*.h"):
        files += [os.path.relpath(p, ROOT) for p in glob.glob(os.path.join(ROOT, pattern))]
    return sorted(files)


def resolve(name):
    for base in ("src", ""):
        rel = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(ROOT, rel)):
            return rel
    return None


def library_files(var):
    files = set()
    for lst in glob.glob(os.path.join(ROOT, "src/*/sources.cmake")) + [os.path.join(ROOT, "resources/sources.cmake")]:
        text = open(lst, encoding="utf-8").read()
        for block in re.findall(r"list\(APPEND " + var + r"(.*?)\)", text, re.S):
            for src in block.split():
                src = src.replace("${CMAKE_CURRENT_LIST_DIR}", os.path.relpath(os.path.dirname(lst), ROOT))
                src = src.replace("${PROJECT_SOURCE_DIR}/", "")
                files.add(os.path.normpath(src))
                files.add(os.path.normpath(src[:-4] + ".h"))
    return files


def qtcore_headers():
    dirs = glob.glob("/usr/include/*/qt6/QtCore") + glob.glob("/usr/include/qt6/QtCore")
    return set(os.listdir(dirs[0])) if dirs else None


def main():
    errors = []
    files = project_files()
    core = library_files("VANTREL_CORE_SOURCES")
    ui = library_files("VANTREL_UI_SOURCES")
    qtcore = qtcore_headers()
    graph = {}
    for rel in files:
        text = open(os.path.join(ROOT, rel), encoding="utf-8").read()
        deps = []
        for kind, name in INCLUDE.findall(text):
            if kind == "<":
                if rel in core and name.startswith("Q") and qtcore is not None and name not in qtcore:
                    errors.append(f"{rel}: core file includes <{name}>, which is not a QtCore header")
                continue
            target = resolve(name)
            if target is None:
                continue
            deps.append(target)
            a, b = folder_of(rel), folder_of(target)
            if a != b and (RANK[b] >= RANK[a]):
                errors.append(f"{rel}: includes {name}: {a} may not include {b}")
            if rel in core and target in ui:
                errors.append(f"{rel}: core file includes {name}, a header of the widget library")
        graph[rel] = deps

    # Circles between files.
    state = {}

    def visit(node, path):
        state[node] = 1
        for dep in graph.get(node, []):
            if state.get(dep) == 1:
                errors.append("include circle: " + " -> ".join(path[path.index(dep):] + [dep]))
            elif dep not in state:
                visit(dep, path + [dep])
        state[node] = 2

    for node in graph:
        if node not in state:
            visit(node, [node])

    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"check_layers: {len(errors)} problem(s)", file=sys.stderr)
        return 1
    print(f"check_layers: {len(files)} files, imports run one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
