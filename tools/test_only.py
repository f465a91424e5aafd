#!/usr/bin/env python3
"""Lists the functions of the product that no program reaches: code that only
tests call, or nothing at all. Exits 1 when there is one.

    test_only.py --objdump OBJDUMP --build BUILD_DIR TARGET...

TARGET names the programs and DLLs users get and every library they link
(tovaro, tovaroc, a10, ymf...); their object files are found below
BUILD_DIR or a folder of it (CMakeFiles/TARGET.dir). The call graph is read from the object
files' disassembly and relocations: a function reaches every symbol its code
calls or takes the address of. It starts at the programs' entries (main,
WinMain, DllMain), at every function with C linkage (a DLL's exports) and at
every address stored in data (vtables, tables of functions, static
constructors). What is left of the named (C++) functions outside the
standard library and anonymous namespaces is then looked up in the product's
sources (--sources, PRODUCT_DIRS below it): the optimiser may have put a
function's whole body into its callers, so a function whose name a product
source file calls (on a line that is not its declaration or definition,
which clang-format starts at column 0) counts as reached. The rest is
reported, demangled, with its object file.
"""
import argparse
import collections
import glob
import os
import re
import subprocess
import sys

ENTRIES = {"main", "WinMain", "wWinMain", "DllMain", "DllEntryPoint"}
# Sections whose relocations point at every function (unwind tables) or at
# nothing that runs.
NOT_DATA = re.compile(r"^\.(pdata|xdata|debug|eh_frame|drectve|text)")
HEADER = re.compile(r"^[0-9a-f]+ <(.+)>:$")
SECTION = re.compile(r"^Disassembly of section (\S+):$")
RELOC_IN_CODE = re.compile(r"^\s+[0-9a-f]+: (?:IMAGE_REL_|R_)\S+\s+(\S+)$")
CALL_TARGET = re.compile(r"\s[0-9a-f]+ <([^>+]+)(?:\+0x[0-9a-f]+)?>$")
RELOC_SECTION = re.compile(r"^RELOCATION RECORDS FOR \[(.+)\]:$")
RELOC_ROW = re.compile(r"^[0-9a-f]+ \S+\s+(\S+)$")
# The product's sources, below --sources; test doubles and fuzz targets are not.
PRODUCT_DIRS = ("app", "ymf", "files", "platform", "converter")
NOT_PRODUCT = ("platform/fake/", "platform/testing/", "converter/fuzz/", "converter/testing/")


def product_lines(root):
    """The lines of the product's source files that are not declarations or definitions."""
    lines = []
    for top in PRODUCT_DIRS:
        for path in glob.glob(os.path.join(root, top, "**", "*.*"), recursive=True):
            relative = os.path.relpath(path, root).replace(os.sep, "/")
            if not relative.endswith((".cpp", ".h")) or relative.startswith(NOT_PRODUCT):
                continue
            with open(path, encoding="utf-8", errors="replace") as source:
                lines += [line for line in source if line[:1].isspace()]
    return lines


def called_in(lines, readable):
    """True when a product line calls the function by its unqualified name."""
    # "Name[abi:cxx11]" is the demangled name of a function returning std::string.
    name = re.sub(r"\[abi:[^\]]*\]", "", readable.split("(")[0]).split("::")[-1]
    call = re.compile(r"\b" + re.escape(name) + r"\s*\(")
    return any(call.search(line) for line in lines)


def symbol_name(target):
    return re.sub(r"[+-]0x[0-9a-f]+$", "", target)


def sections(objdump, option, path, heading):
    """objdump's lines for an object file or archive, each with its member
    and the section the heading pattern last named."""
    text = subprocess.run([objdump, option, path], capture_output=True, text=True, check=True).stdout
    member = path
    section = None
    for line in text.splitlines():
        if " file format " in line:
            member = path + ":" + line.split(":")[0]
            section = None
            continue
        m = heading.match(line)
        if m:
            section = m.group(1)
            yield member, section, None
            continue
        yield member, section, line


def reference(graph, member, source, target):
    target = symbol_name(target)
    if target.startswith("."):
        # An address within a section of this object: any function there.
        graph[source].add(("section", member, target))
    elif target != source:
        graph[source].add(target)


def read_object(objdump, path, graph, defined, roots):
    """Adds the functions of one object file (or archive) to the graph."""
    current = None
    by_section = collections.defaultdict(set)
    # The target objdump shows beside an instruction is only true when no
    # relocation follows it: a relocated field holds a placeholder.
    shown = None
    for member, section, line in sections(objdump, "-dr", path, SECTION):
        m = RELOC_IN_CODE.match(line or "")
        if m and current is not None:
            shown = None
            reference(graph, member, current, m.group(1))
            continue
        if shown is not None:
            graph[shown[0]].add(shown[1])
            shown = None
        m = HEADER.match(line or "")
        if line is None:
            current = None
        elif m:
            current = m.group(1)
            defined.setdefault(current, member)
            by_section[(member, section)].add(current)
        elif current is not None:
            m = CALL_TARGET.search(line)
            if m and m.group(1) != current:
                shown = (current, m.group(1))
    if shown is not None:
        graph[shown[0]].add(shown[1])
    for (member, section), names in by_section.items():
        graph[("section", member, section)].update(names)
    for member, section, line in sections(objdump, "-r", path, RELOC_SECTION):
        m = RELOC_ROW.match(line or "")
        if m and section is not None and not NOT_DATA.match(section):
            reference(graph, member, "data", m.group(1))
    roots.add("data")


def source_of(obj, build, sources):
    """The source an object file of CMake's was compiled from: below the
    target's .dir folder, the path relative to the source folder of the
    CMakeLists that made it ("__" standing for "..")."""
    rel = os.path.relpath(obj, build)
    subdir, rest = rel.split("CMakeFiles" + os.sep, 1)
    source = rest.split(os.sep, 1)[1].rsplit(".", 1)[0]
    parts = [".." if part == "__" else part for part in source.split(os.sep)]
    return os.path.normpath(os.path.join(sources, subdir, *parts))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--cxxfilt", default="c++filt")
    parser.add_argument("--build", required=True)
    parser.add_argument("--sources", required=True)
    parser.add_argument("targets", nargs="+")
    args = parser.parse_args()

    files = []
    for target in args.targets:
        # The tree's own directory or one subdirectory of it (converter/); not
        # below, where test prefixes and staged programs lie.
        found = []
        for top in (args.build, os.path.join(args.build, "*")):
            for ending in ("*.obj", "*.o"):
                pattern = os.path.join(top, "CMakeFiles", target + ".dir", "**", ending)
                found += glob.glob(pattern, recursive=True)
        # An object whose source was deleted stays in an incremental build
        # tree; it is no part of any program.
        found = [path for path in found if os.path.exists(source_of(path, args.build, args.sources))]
        if not found:
            print("test_only: no object files of target %s below %s" % (target, args.build), file=sys.stderr)
            return 2
        files += found
    graph = collections.defaultdict(set)
    defined = {}
    roots = set()
    for path in sorted(set(files)):
        read_object(args.objdump, path, graph, defined, roots)
    roots |= {name for name in defined if name in ENTRIES or not name.startswith("_")}

    reached = set()
    pending = list(roots)
    while pending:
        node = pending.pop()
        if node in reached:
            continue
        reached.add(node)
        pending.extend(graph.get(node, ()))

    def ours(name):
        return (name.startswith("_Z") and not name.startswith(("_ZZ", "_ZSt", "_ZNSt", "_ZNKSt", "_ZN9__gnu_cxx",
                                                               "_ZNK9__gnu_cxx", "_ZGV", "_ZTV", "_ZTI", "_ZTS"))
                and "_GLOBAL__N_" not in name)

    unreached = sorted(name for name in defined if ours(name) and name not in reached)
    demangled = subprocess.run([args.cxxfilt], input="\n".join(unreached), capture_output=True, text=True,
                               check=True).stdout.splitlines() if unreached else []
    lines = product_lines(args.sources)
    left = [(name, readable) for name, readable in zip(unreached, demangled) if not called_in(lines, readable)]
    if not left:
        print("test_only: every function of the product is reached from a program (%d object files)" % len(files))
        return 0
    print("test_only: %d function(s) of the product that no program reaches (only tests, or nothing):" % len(left))
    for name, readable in left:
        print("  %s  (%s)" % (readable, os.path.relpath(defined[name].split(":")[0], args.build)))
    return 1

if __name__ == "__main__":
    sys.exit(main())
