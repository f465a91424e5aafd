#!/usr/bin/env python3
"""Writes win32_exports.txt: what Windows 98 SE and Windows XP (RTM) export
from the system DLLs Tovaro links.

    derive_exports.py REFERENCE > win32_exports.txt

REFERENCE is a checker whose data lists exports per release (the team's copy
is /work/shared/compat/check_imports.py). Its data comes from:
  - kernel32.dll, advapi32.dll: mingw-w64 lib32/kernel32.def and
    lib32/advapi32.def (commit 6d2ce23fc), which file every 32-bit export
    under the Win9x / WinNT release that introduced it;
  - msvcrt.dll: mingw-w64 lib-common/msvcrt.def.in (commit 2c6bc9b62), whose
    sections list the exports per msvcrt.dll release (98 SE ships the one of
    VC++ 6.0, XP its own);
  - user32, gdi32, comctl32, comdlg32, shell32, imagehlp, winmm: mingw-w64
    does not record releases for these; the reference lists the MSDN
    requirements ("Requires Windows 95/98/2000/XP", comctl32 and shell32
    versions) for the functions a program like ours uses, so these lists
    are partial. OWN_GROUPS below adds what the reference lacks, with the
    same kind of source.
Only releases up to XP RTM are kept: anything newer is simply absent.
Exports that Windows 98 SE has only as stubs failing with
ERROR_CALL_NOT_IMPLEMENTED (the -W functions of the system DLLs except the
few 9x implements, five kernel32 functions, msvcrt's wide file functions)
form a group of their own.
"""
import importlib.util
import sys

DLLS = ["kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
        "shell32.dll", "imagehlp.dll", "winmm.dll", "msvcrt.dll"]

# Groups in the reference's form (dll, on 98 SE, XP service pack or None,
# release, source, names) for functions it does not list yet.
OWN_GROUPS = [
    # The rest of the waveOut/midiOut API that sends buffers and reports
    # errors: MSDN 1998 QuickInfo "Windows NT: Requires version 3.1 or
    # later. Windows: Requires Windows 95 or later."
    ("winmm.dll", True, 0, "Windows 95 / NT 3.1", "MSDN 1998 QuickInfo (high)", """
midiOutGetErrorTextA midiOutLongMsg midiOutPrepareHeader midiOutReset midiOutUnprepareHeader
waveOutGetErrorTextA
"""),
]


def load(path):
    location = importlib.util.spec_from_file_location("reference", path)
    module = importlib.util.module_from_spec(location)
    location.loader.exec_module(module)
    return module


def wrap(names):
    lines, line = [], ""
    for name in sorted(names, key=str.lower):
        if line and len(line) + 1 + len(name) > 100:
            lines.append(line)
            line = name
        else:
            line = name if not line else line + " " + name
    if line:
        lines.append(line)
    return "\n".join(lines)


def main():
    ref = load(sys.argv[1])
    groups = {}  # (dll, status) -> {name: release}
    for dll, in98, xp_sp, label, _source, names in ref.GENERATED_GROUPS + ref.CURATED_GROUPS + OWN_GROUPS:
        if dll not in DLLS:
            continue
        on_xp = xp_sp == 0
        if not in98 and not on_xp:
            continue
        for name in names.split():
            if in98 and on_xp:
                status = "both"
                if (dll == "kernel32.dll" and name in ref.KERNEL32_9X_STUBS) or \
                        (dll == "msvcrt.dll" and name in ref.MSVCRT_W_FILE_FUNCS) or \
                        (dll in ref.STUB_W_DLLS and name.endswith("W") and name not in ref.IMPLEMENTED_W_ON_9X
                         and (dll not in ref.COMPLETE or name[:-1] + "A" in ref.TABLE.get(dll, {}))):
                    status = "stub-98"
            else:
                status = "98-only" if in98 else "xp-only"
            groups.setdefault((dll, status), {}).setdefault(name, label)
    print("# What Windows 98 SE and Windows XP (RTM) export from the system DLLs Tovaro links.")
    print("# Written by tools/compat/derive_exports.py (see there for the sources); the")
    print("# compatibility gate (gate.py) reads it. A line [DLL GROUP] starts a group:")
    print("#   both     exported by Windows 98 SE and by Windows XP RTM")
    print("#   stub-98  exported by both, but on 98 SE a stub that always fails")
    print("#   xp-only  on XP RTM, not on 98 SE;  98-only  on 98 SE, not on XP RTM")
    print("# complete: every export up to XP RTM is listed (absent = not on either);")
    print("# partial: only the functions checked so far (absent = check and add).")
    print()
    for dll in DLLS:
        kind = "complete" if dll in ref.COMPLETE else "partial"
        print("[%s %s]" % (dll, kind))
        for status in ("both", "stub-98", "xp-only", "98-only"):
            names = groups.get((dll, status))
            if names:
                print("[%s %s]" % (dll, status))
                print(wrap(names))
        print()


if __name__ == "__main__":
    main()
