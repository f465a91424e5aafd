#!/usr/bin/env python3
"""The compatibility gate of the i686 build: fails when a shipped file could
not start on Windows 98 SE or Windows XP (RTM) or on a Pentium-class CPU.

    gate.py --exports win32_exports.txt --objdump OBJDUMP [--maps DIR]
            [--waivers FILE] [--sources LIST] --shipped "NAME ..." FILE...

For every FILE whose name is in --shipped:
  - headers: an i386 PE32 image asking for subsystem and OS version 4.0 at
    most (Windows 98 refuses newer subsystem versions, XP those above 5.1);
  - imports: every DLL in the export table (or one of the shipped DLLs) and
    every function exported by both 98 SE and XP RTM, not a 98 SE stub;
    imports from a shipped DLL must be among its exports;
  - instructions: none of the CMOV family (CMOVcc, FCMOVcc, FCOMI, FUCOMI:
    Pentium Pro and later) and no SSE (XMM registers, SSE-only instructions)
    in the disassembly; failures name the function and, from the linker map
    in --maps, the object that brought it in.
--sources names a file listing the sources compiled into each program; those
of the shipped files and the headers beside them are read, and their string
literals must not hold printf conversions with C99 length
modifiers (hh ll j z t L q), which Windows 98's msvcrt.dll cannot print.
A waiver (--waivers) lets known findings pass with a warning; a waiver
pattern that matches nothing fails the gate, so it goes when its reason goes.
"""
import argparse
import bisect
import fnmatch
import os
import re
import struct
import subprocess
import sys

SHOWN = 12  # offenders listed per file and kind


class Failure:
    def __init__(self, kind, text, key):
        self.kind = kind  # "header", "import", "cpu", "format"
        self.text = text
        self.key = key  # what a waiver pattern is matched against


# --- PE -----------------------------------------------------------------------

class PE:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = d = f.read()
        if d[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections = struct.unpack_from("<HH", d, pe + 4)
        opt_size, self.characteristics = struct.unpack_from("<HH", d, pe + 20)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        (self.os_major, self.os_minor, _, _, self.subsys_major, self.subsys_minor, _, _, _, _,
         self.subsystem) = struct.unpack_from("<HHHHHHIIIIH", d, opt + 40)
        directories = opt + (96 if self.magic == 0x10B else 112)
        self.dirs = [struct.unpack_from("<II", d, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(nsections):
            _, vsize, va, rsize, rptr = struct.unpack_from("<8sIIII", d, opt + opt_size + 40 * i)
            self.sections.append((va, max(vsize, rsize), rptr, rsize))

    def offset(self, rva):
        for va, size, rptr, rsize in self.sections:
            if va <= rva < va + size and rva - va < rsize:
                return rptr + rva - va
        raise ValueError("RVA 0x%x outside the file" % rva)

    def string(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("latin-1")

    def imports(self):
        """[(dll, [name or '#ordinal'])]"""
        result = []
        rva = self.dirs[1][0]
        while rva:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if not (lookup or name or thunks):
                break
            functions = []
            entry = lookup or thunks
            while True:
                value = struct.unpack_from("<I", self.data, self.offset(entry))[0]
                if not value:
                    break
                functions.append("#%d" % (value & 0xFFFF) if value & 0x80000000 else self.string(value + 2))
                entry += 4
            result.append((self.string(name), functions))
            rva += 20
        return result

    def exports(self):
        rva = self.dirs[0][0]
        if not rva:
            return set()
        base = self.offset(rva)
        count = struct.unpack_from("<I", self.data, base + 24)[0]
        names = struct.unpack_from("<I", self.data, base + 32)[0]
        return {self.string(struct.unpack_from("<I", self.data, self.offset(names + 4 * i))[0]) for i in range(count)}


def check_headers(pe):
    failures = []
    if pe.machine != 0x14C or pe.magic != 0x10B:
        failures.append("machine 0x%x, optional header 0x%x: not an i386 PE32 image" % (pe.machine, pe.magic))
    if (pe.subsys_major, pe.subsys_minor) > (4, 0) or (pe.subsys_major, pe.subsys_minor) < (3, 10):
        failures.append("subsystem version %d.%d: Windows 98 needs 4.0 or lower (3.10 at least)"
                        % (pe.subsys_major, pe.subsys_minor))
    if (pe.os_major, pe.os_minor) > (4, 0):
        failures.append("OS version %d.%d: 4.0 at most" % (pe.os_major, pe.os_minor))
    return [Failure("header", text, "header") for text in failures]


# --- imports ------------------------------------------------------------------

def load_exports(path):
    """{dll: {"kind": complete|partial, group: set(names)}}"""
    table = {}
    current = None
    with open(path) as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("["):
                dll, group = line.strip("[]").split()
                entry = table.setdefault(dll.lower(), {})
                if group in ("complete", "partial"):
                    entry["kind"] = group
                    current = None
                else:
                    current = entry.setdefault(group, set())
            elif current is not None:
                current.update(line.split())
    return table


def check_imports(pe, name, table, own_dlls):
    failures = []
    count = 0
    for dll, functions in pe.imports():
        key = dll.lower()
        for function in functions:
            count += 1
            text = None
            if key in own_dlls:
                if own_dlls[key] is not None and function not in own_dlls[key]:
                    text = "%s does not export it" % dll
            elif key not in table:
                text = "%s is not one of the DLLs the export table covers" % dll
            elif function.startswith("#"):
                text = "imported by ordinal, which the table cannot vouch for"
            else:
                groups = table[key]
                if function in groups.get("stub-98", ()):
                    text = "on Windows 98 SE only a stub that always fails"
                elif function in groups.get("xp-only", ()):
                    text = "not on Windows 98 SE (XP has it)"
                elif function in groups.get("98-only", ()):
                    text = "not on Windows XP RTM (98 SE has it)"
                elif function not in groups.get("both", ()):
                    text = ("no Windows 98 SE or XP RTM %s exports it" % dll if groups.get("kind") == "complete"
                            else "not in the table of %s: check 98 SE and XP RTM, then add it" % dll)
            if text:
                failures.append(Failure("import", "%s!%s: %s" % (dll, function, text), "%s!%s" % (key, function)))
    return failures, count


# --- instructions ---------------------------------------------------------------

CMOV = re.compile(r"^(f?cmov\w+|fu?comip?)$")
SSE_ONLY = {"ldmxcsr", "stmxcsr", "sfence", "lfence", "mfence", "prefetchnta", "prefetcht0", "prefetcht1",
            "prefetcht2", "movntq", "movnti", "maskmovq", "pshufw", "pavgb", "pavgw", "pextrw", "pinsrw",
            "pmaxsw", "pmaxub", "pminsw", "pminub", "pmovmskb", "pmulhuw", "psadbw", "clflush"}
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$")
LABEL = re.compile(r"^([0-9a-f]+) <(.+)>:$")
# Data that the linker script puts into .text (exception tables).
DATA_LABELS = (".gcc_except_table", ".eh_frame", ".rdata")


def load_map(path):
    """Sorted [(start, end, object)] of the .text input sections."""
    spans = []
    if not path or not os.path.exists(path):
        return spans
    pending = None
    with open(path, errors="replace") as f:
        for line in f:
            m = re.match(r"^ (\.text\S*)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if m:
                pending = None
                start, size = int(m.group(2), 16), int(m.group(3), 16)
                if size:
                    spans.append((start, start + size, m.group(4).strip()))
                continue
            if re.match(r"^ \.text\S*$", line):
                pending = True
                continue
            m = re.match(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if m and pending:
                start, size = int(m.group(1), 16), int(m.group(2), 16)
                if size:
                    spans.append((start, start + size, m.group(3).strip()))
            pending = None
    spans.sort()
    return spans


def origin(spans, starts, address):
    i = bisect.bisect_right(starts, address) - 1
    if i >= 0 and spans[i][0] <= address < spans[i][1]:
        text = spans[i][2]
        return re.sub(r"^/\S*/(lib[^/(]*\.a\()", r"\1", re.sub(r"^/\S*/([^/]*\.o)$", r"\1", text))
    return "?"


def check_instructions(path, objdump, map_path):
    listing = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], capture_output=True, text=True,
                             check=True).stdout
    spans = load_map(map_path)
    starts = [s[0] for s in spans]
    failures = []
    counts = {"CMOV": 0, "SSE": 0}
    label, label_address = "?", 0
    for line in listing.splitlines():
        m = LABEL.match(line)
        if m:
            label, label_address = m.group(2), int(m.group(1), 16)
            continue
        m = INSTRUCTION.match(line)
        if not m or label.startswith(DATA_LABELS):
            continue
        mnemonic, operands = m.group(2), m.group(3)
        kind = "CMOV" if CMOV.match(mnemonic) else (
            "SSE" if "%xmm" in operands or "%ymm" in operands or mnemonic in SSE_ONLY else None)
        if not kind:
            continue
        counts[kind] += 1
        address = int(m.group(1), 16)
        where = origin(spans, starts, address)
        text = "%s %08x %s+0x%x: %s %s  [%s]" % (kind, address, label, address - label_address, mnemonic,
                                                operands.split("#")[0].strip(), where)
        failures.append(Failure("cpu", text, "%s %s" % (label, where)))
    return failures, counts


# --- printf formats -------------------------------------------------------------

LITERAL = re.compile(r'"(?:[^"\\\n]|\\.)*"')
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.S)
C99_FORMAT = re.compile(r"%[-+ #0']*(?:\*|\d+)?(?:\.(?:\*|\d+))?(hh|ll|j|z|t|L|q)[diouxXeEfFgGaAcsn]")


def shipped_sources(list_path, shipped):
    """The sources listed under the shipped files' names ('== NAME' lines),
    with the headers beside them."""
    sources = set()
    take = False
    with open(list_path) as f:
        for line in f:
            line = line.strip()
            if line.startswith("== "):
                take = line[3:] in shipped
            elif line and take:
                sources.add(line)
    for directory in {os.path.dirname(s) for s in sources}:
        sources.update(os.path.join(directory, n) for n in os.listdir(directory) if n.endswith(".h"))
    return sorted(sources)


def check_formats(list_path, shipped):
    failures = []
    sources = shipped_sources(list_path, shipped)
    for source in sources:
        if not os.path.exists(source):
            continue
        text = open(source, errors="replace").read()
        # Blank out comments but keep the line breaks for the line numbers.
        text = COMMENT.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)
        for literal in LITERAL.finditer(text):
            for conversion in C99_FORMAT.finditer(literal.group(0)):
                line = text.count("\n", 0, literal.start()) + 1
                failures.append(Failure("format", "%s:%d: %s (%s modifier): Windows 98's msvcrt.dll cannot print it"
                                        % (source, line, conversion.group(0), conversion.group(1)),
                                        "%s:%d" % (source, line)))
    return failures, len(sources)


# --- waivers ----------------------------------------------------------------------

def load_waivers(path):
    """[(file, kind, [patterns], reason)] from lines 'FILE KIND PATTERN[,PATTERN...]  # reason'."""
    waivers = []
    if path and os.path.exists(path):
        with open(path) as f:
            for line in f:
                body, _, reason = line.partition("#")
                fields = body.split(None, 2)
                if len(fields) == 3:
                    patterns = [p.strip() for p in fields[2].split(",") if p.strip()]
                    waivers.append((fields[0], fields[1], patterns, reason.strip()))
    return waivers


def waived(failure, name, waivers, used):
    for file, kind, patterns, _ in waivers:
        if fnmatch.fnmatch(name, file) and kind == failure.kind:
            for pattern in patterns:
                if fnmatch.fnmatchcase(failure.key, pattern):
                    used[(file, kind, pattern)] = used.get((file, kind, pattern), 0) + 1
                    return True
    return False


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exports", required=True)
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--maps")
    ap.add_argument("--waivers")
    ap.add_argument("--sources")
    ap.add_argument("--shipped", required=True, help="file names of the shipped files, blank-separated")
    ap.add_argument("files", nargs="*")
    a = ap.parse_args()

    shipped = a.shipped.split()
    files = [f for f in a.files if os.path.basename(f) in shipped]
    table = load_exports(a.exports)
    waivers = load_waivers(a.waivers)
    used = {}
    own_dlls = {}
    for name in shipped:
        if name.lower().endswith(".dll"):
            built = [f for f in files if os.path.basename(f) == name]
            own_dlls[name.lower()] = PE(built[0]).exports() if built else None

    failed = False
    for name in shipped:
        if not any(os.path.basename(f) == name for f in files):
            print("gate: %s is not built in this tree (not checked)" % name)
    for path in files:
        name = os.path.basename(path)
        pe = PE(path)
        import_failures, import_count = check_imports(pe, name, table, own_dlls)
        cpu_failures, counts = check_instructions(path, a.objdump,
                                                  a.maps and os.path.join(a.maps, name + ".map"))
        findings = check_headers(pe) + import_failures + cpu_failures
        real = [f for f in findings if not waived(f, name, waivers, used)]
        waived_count = len(findings) - len(real)
        dlls = len(pe.imports())
        summary = ("%s: subsystem %d.%d, OS %d.%d; %d imports from %d DLLs; %d CMOV, %d SSE"
                   % (name, pe.subsys_major, pe.subsys_minor, pe.os_major, pe.os_minor, import_count, dlls,
                      counts["CMOV"], counts["SSE"]))
        if waived_count:
            summary += "; %d findings waived" % waived_count
        if not real:
            print("gate: ok  " + summary)
            continue
        failed = True
        print("gate: FAILED  " + summary)
        for kind, title in (("header", "headers"), ("import", "imports that 98 SE or XP RTM lack"),
                            ("cpu", "instructions a Pentium MMX or K6-2 lacks")):
            chosen = [f for f in real if f.kind == kind]
            if chosen:
                print("  %s (%d):" % (title, len(chosen)))
                if kind == "cpu":
                    origins = {}
                    for f in chosen:
                        where = f.text.rsplit("[", 1)[-1].rstrip("]")
                        origins[where] = origins.get(where, 0) + 1
                    ranked = sorted(origins.items(), key=lambda item: -item[1])
                    print("    by object: " + ", ".join("%s %d" % item for item in ranked[:8]) +
                          (", ..." if len(ranked) > 8 else ""))
                for f in chosen[:SHOWN]:
                    print("    " + f.text)
                if len(chosen) > SHOWN:
                    print("    ... and %d more" % (len(chosen) - SHOWN))

    if a.sources:
        format_failures, source_count = check_formats(a.sources, shipped)
        real = [f for f in format_failures if not waived(f, "sources", waivers, used)]
        if real:
            failed = True
            print("gate: FAILED  printf formats in %d sources:" % source_count)
            for f in real:
                print("    " + f.text)
        else:
            print("gate: ok  printf formats in %d sources: no C99 length modifiers" % source_count)

    for file, kind, patterns, reason in waivers:
        counts = [used.get((file, kind, p), 0) for p in patterns]
        if any(counts):
            print("gate: warning: %d %s findings in %s waived: %s" % (sum(counts), kind, file, reason))
        for pattern, count in zip(patterns, counts):
            if not count:
                failed = True
                print("gate: FAILED  waiver '%s %s %s' matches nothing: delete it" % (file, kind, pattern))
    if failed:
        print("gate: a shipped file would not start on Windows 98 SE, XP or a Pentium-class CPU; "
              "see tools/compat/gate.py")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
