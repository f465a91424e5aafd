#!/usr/bin/env python3
"""Lists the functions of the product that no program reaches: code that only
tests call, or nothing at all. Exits 1 when there is one.

    test_only.py --objdump OBJDUMP --build BUILD_DIR TARGET...

TARGET names the programs and DLLs users get and every library they link
(tovaro, tovaroc, a10, tovaro_core...); their object files are found below
BUILD_DIR (CMakeFiles/TARGET.dir). The call graph is read from the object
files' disassembly and relocations: a function reaches every symbol its code
calls or takes the address of. It starts at the programs' entries (main,
WinMain, DllMain), at every function with C linkage (a DLL's exports) and at
every address stored in data (vtables, tables of functions, static
constructors). What is left of the named (C++) functions outside the
standard library and anonymous namespaces is reported, demangled.
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


def symbol_name(target):
    return re.sub(r"[+-]0x[0-9a-f]+$", "", target)


def read_object(objdump, path, graph, defined, roots):
    """Adds the functions of one object file (or archive) to the graph."""
    text = subprocess.run([objdump, "-dr", "--no-show-raw-insn", path], capture_output=True, text=True, check=True)
    member = path
    section = None
    current = None
    by_section = collections.defaultdict(set)
    for line in text.stdout.splitlines():
        if line.endswith("file format pe-x86-64") or line.endswith("file format pe-i386") or " file format " in line:
            member = path + ":" + line.split(":")[0]
            continue
        m = SECTION.match(line)
        if m:
            section = m.group(1)
            current = None
            continue
        m = HEADER.match(line)
        if m:
            current = m.group(1)
            defined.setdefault(current, member)
            by_section[(member, section)].add(current)
            continue
        if current is None:
            continue
        m = RELOC_IN_CODE.match(line)
        target = m.group(1) if m else None
        if target is None:
            m = CALL_TARGET.search(line)
            target = m.group(1) if m else None
        if target is None:
            continue
        target = symbol_name(target)
        if target.startswith("."):
            # An address within a section of this object: any function there.
            graph[current].add(("section", member, target))
        elif target != current:
            graph[current].add(target)
    for (member, section), names in by_section.items():
        graph[("section", member, section)].update(names)
    data = subprocess.run([objdump, "-r", path], capture_output=True, text=True, check=True)
    member = path
    section = None
    for line in data.stdout.splitlines():
        if " file format " in line:
            member = path + ":" + line.split(":")[0]
            continue
        m = RELOC_SECTION.match(line)
        if m:
            section = m.group(1)
            continue
        m = RELOC_ROW.match(line)
        if m and section is not None and not NOT_DATA.match(section):
            target = symbol_name(m.group(1))
            roots.add(("section", member, target) if target.startswith(".") else target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--objdump", required=True)
    parser.add_argument("--cxxfilt", default="c++filt")
    parser.add_argument("--build", required=True)
    parser.add_argument("targets", nargs="+")
    args = parser.parse_args()

    files = []
    for target in args.targets:
        found = glob.glob(os.path.join(args.build, "**", "CMakeFiles", target + ".dir", "**", "*.obj"), recursive=True)
        found += glob.glob(os.path.join(args.build, "**", "CMakeFiles", target + ".dir", "**", "*.o"), recursive=True)
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
    if not unreached:
        print("test_only: every function of the product is reached from a program (%d object files)" % len(files))
        return 0
    demangled = subprocess.run([args.cxxfilt], input="\n".join(unreached), capture_output=True, text=True,
                               check=True).stdout.splitlines()
    print("test_only: %d function(s) of the product that no program reaches (only tests, or nothing):" %
          len(unreached))
    for name, readable in zip(unreached, demangled):
        print("  %s  (%s)" % (readable, os.path.relpath(defined[name].split(":")[0], args.build)))
    return 1


if __name__ == "__main__":
    sys.exit(main())
