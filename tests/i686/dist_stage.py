#!/usr/bin/env python3
"""The downloads in the i686 stage: the setup and the zip that
tools/dist/make_dist.py writes to BUILD_ROOT/dist, in a 32-bit prefix.

stage.py calls installer_cases once per prefix, on a simulated driver whose
original files are in place and a program folder whose Backup folder is
empty: the setup installs silently over a machine that has only the user's
bank sets in Banks, a bank switch runs with the installed tovaroc, a silent
uninstall puts the originals back and leaves only what the user made (where
the settings are judged, it also puts back SRC and MaxModVoices, changed with
tovaroc after the switch recorded them, and refuses first while Tovaro runs). Then
again with the backup truncated: the uninstaller must keep the patched
driver and the Backup folder and say why. The installed tree must be the
zip's. Afterwards the program folder is as stage.py left it.

    dist_stage.py BUILD_ROOT   (runs these cases alone, in a fresh XP prefix)
"""
import glob
import os
import shutil
import subprocess
import sys
import time
import zipfile

import stage

SETUP = "C:\\stage\\setup.exe"
# The uninstaller as NSIS runs it: a copy outside the program folder, told
# the folder with _?= (which must come last, unquoted). The plain
# uninstall.exe /S starts such a copy and ends with exit code 0 whatever the
# copy's outcome. Wine quotes an argument that holds a space: split at the
# space, the command line has no quotes.
UNINSTALLER = "C:\\stage\\uninstall.exe"
IN_PLACE = ["/S", "_?=C:\\Program", "Files\\Nerulan\\Tovaro"]
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tovaro"
MENU = {"Tovaro.lnk": "tovaro.exe", "Tovaro Help.lnk": "index.html",
        "Restore original driver files.lnk": "-restore",
        "Uninstall Tovaro.lnk": "uninstall.exe"}
KEPT_NOTE = "Backup kept - read me.txt"
FAILED_NOTE = "Tovaro setup failed.txt"  # in TEMP, from a setup that stopped
UN_FAILED_NOTE = "Tovaro uninstall failed.txt"  # and from an uninstaller that refused
# The refusals, the guided setup and the settings the uninstaller puts back
# judge the setup's own code, which is the same everywhere but for the lock's
# name and the driver's key (Windows 9x or NT): one prefix of each runs them.
PAGES_AND_REFUSALS = ("xp", "win98")
FOLDER_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion"
HAND_COPIED = ("tovaro.exe", "tovaroc.exe", "a10.dll")  # by stage.install_fixture


def packages(build):
    found = [glob.glob(os.path.join(build, "dist", pattern)) for pattern in ("Tovaro-*-setup.exe", "Tovaro-*.zip")]
    return [paths[0] if len(paths) == 1 else None for paths in found]


def tree(folder):
    """{relative path: bytes, or None for a folder}."""
    found = {}
    for directory, dirs, files in os.walk(folder):
        relative = os.path.relpath(directory, folder).replace(os.sep, "/")
        relative = "" if relative == "." else relative + "/"
        for name in dirs:
            found[relative + name + "/"] = None
        for name in files:
            with open(os.path.join(directory, name), "rb") as f:
                found[relative + name] = f.read()
    return found


def zip_tree(path):
    """The zip's Nerulan/Tovaro/ as tree() gives a folder."""
    top = "Nerulan/Tovaro/"
    with zipfile.ZipFile(path) as archive:
        return {info.filename[len(top):]: (None if info.is_dir() else archive.read(info))
                for info in archive.infolist() if info.filename.startswith(top) and info.filename != top}


def differences(got, wanted):
    lines = ["missing: " + n for n in sorted(set(wanted) - set(got))]
    lines += ["extra: " + n for n in sorted(set(got) - set(wanted))]
    lines += ["other bytes: " + n for n in sorted(set(got) & set(wanted)) if got[n] != wanted[n]]
    return "\n".join("        " + line for line in lines[:12])


def menu_folders(prefix):
    """Every Start-menu folder named Tovaro in the prefix (the common one on
    XP, the user's own where Windows has none)."""
    found = []
    for directory, dirs, _ in os.walk(os.path.join(prefix.path, "drive_c")):
        if os.path.basename(directory).lower() == "programs":
            found += [os.path.join(directory, d) for d in dirs if d.lower() == "tovaro"]
    return found


def launch(prefix, program, args, timeout=300):
    """Like Prefix.run, with crash dialogs and menu entries on the host off:
    a process that crashes while exiting under qemu would otherwise start
    winedbg, which waits for ever."""
    env = prefix.env()
    env["WINEDLLOVERRIDES"] += ";winedbg.exe,winemenubuilder.exe=d"
    start = time.time()
    # Into files, not pipes: a process the setup leaves running (a Wine
    # service) may hold a pipe's end open long after the setup has ended.
    out = os.path.join(prefix.stage.dir, "logs", prefix.name + ".out")
    err = os.path.join(prefix.stage.dir, "logs", prefix.name + ".err")
    with open(out, "wb") as o, open(err, "wb") as e:
        code = subprocess.run(prefix.command(program, args), stdin=subprocess.DEVNULL, stdout=o, stderr=e, env=env,
                              cwd=prefix.host(program[:program.rfind("\\")]), timeout=timeout).returncode
    text = open(out, "rb").read().decode("latin-1").replace("\r", "")
    errors = open(err, "rb").read().decode("latin-1")
    code = stage.told_code(code, errors)
    with open(prefix.log, "a") as f:
        f.write("$ %s %s\n-> %d in %.1f s\n%s%s" % (program, " ".join(args), code, time.time() - start, text,
                                                     errors[-2000:]))
    return code, text


def files_of(prefix, driver, bank):
    return stage.read(prefix.host(driver)), stage.read(prefix.host(bank))


def install(prefix, program, before, archive, staged):
    """The silent setup; checks the tree it wrote, the Start menu and the
    Add/Remove Programs entry."""
    code, _ = launch(prefix, SETUP, ["/S"])
    installed = tree(program)
    unpacked = zip_tree(archive)
    users = {n for n in before if not n.endswith("/")}
    mine = {n: d for n, d in installed.items() if n not in users and n != "uninstall.exe"}
    prefix.check(code == 0 and "uninstall.exe" in installed and mine == unpacked,
                 "setup /S: the program folder holds the zip's tree, the user's bank sets and uninstall.exe",
                 "        exit code %d\n%s" % (code, differences(mine, unpacked)))
    shipped = {n: staged[n] for n in staged if n != "Backup/"}
    prefix.check(all(mine.get(n, b"") == d for n, d in shipped.items()) and mine.get("Backup/", 0) is None
                 and mine.get("Banks/", 0) is None and b"\n" not in mine.get("README.txt", b"\n").replace(b"\r\n", b""),
                 "the installed files are the build's, with an empty Backup folder, Banks and a CRLF README.txt",
                 differences({n: mine.get(n) for n in shipped}, shipped))
    folders = menu_folders(prefix)
    links = {}
    if len(folders) == 1:
        links = {name: stage.read(os.path.join(folders[0], name)) for name in os.listdir(folders[0])}
    # A link holds its target and arguments in ANSI or UTF-16.
    aimed = [name for name, target in MENU.items()
             if target.encode() in links.get(name, b"") or target.encode("utf-16-le") in links.get(name, b"")]
    prefix.check(set(links) == set(MENU) and len(aimed) == len(MENU), "Start menu: %s" % ", ".join(sorted(links)),
                 "        folders: %s; aimed right: %s" % (folders, aimed))
    code, text = launch(prefix, "C:\\windows\\system32\\reg.exe", ["query", UNINSTALL_KEY, "/v", "UninstallString"])
    prefix.check(code == 0 and "Nerulan\\Tovaro\\uninstall.exe" in text,
                 "Add/Remove Programs lists the uninstaller", stage.indent(text))


def uninstall(prefix, program):
    shutil.copy(os.path.join(program, "uninstall.exe"), prefix.host(UNINSTALLER))
    return launch(prefix, UNINSTALLER, IN_PLACE)[0]


def failure_note(prefix):
    """The last line of the note a stopped setup left in TEMP, and the note removed."""
    for directory, _, files in os.walk(os.path.join(prefix.path, "drive_c")):
        if FAILED_NOTE in files:
            path = os.path.join(directory, FAILED_NOTE)
            text = stage.read(path).decode("latin-1").strip().splitlines()
            os.remove(path)
            return text[-1] if text else ""
    return "none"


def refused_setups(prefix, program):
    """Setups that must stop before they write anything: while Tovaro runs,
    with a folder where a file goes, with an expandable ProgramFilesDir."""
    nothing = lambda: not os.path.exists(os.path.join(program, "uninstall.exe")) and not menu_folders(prefix)
    stage.robot(prefix, ["running", SETUP, "/S", FAILED_NOTE, stage.PROGRAM + "tovaro.exe"],
                "setup /S refuses while Tovaro runs")
    prefix.check(nothing(), "those setups installed nothing")
    # The window made its backup of the originals, which are in place.
    shutil.rmtree(os.path.join(program, "Backup"))
    os.mkdir(os.path.join(program, "Backup"))
    for name in HAND_COPIED:
        os.remove(os.path.join(program, name))
    os.mkdir(os.path.join(program, "tovaroc.exe"))
    code, _ = launch(prefix, SETUP, ["/S"])
    reason = failure_note(prefix)
    os.rmdir(os.path.join(program, "tovaroc.exe"))
    prefix.check(code == 2 and "tovaroc.exe is a folder" in reason and nothing() and not os.listdir(
        os.path.join(program, "Backup")), "a folder where tovaroc.exe goes: setup /S writes nothing, exit code %d: %s"
                 % (code, reason))
    _, text = launch(prefix, "C:\\windows\\system32\\reg.exe", ["query", FOLDER_KEY, "/v", "ProgramFilesDir"])
    folder = text.split("REG_SZ", 1)[-1].strip()
    value = lambda kind, data: launch(prefix, "C:\\windows\\system32\\reg.exe", [
        "add", FOLDER_KEY, "/v", "ProgramFilesDir", "/t", kind, "/d", data, "/f"])[0]
    changed = value("REG_EXPAND_SZ", "%SystemDrive%" + folder[2:])
    code, _ = launch(prefix, SETUP, ["/S"])
    reason = failure_note(prefix)
    back = value("REG_SZ", folder)
    prefix.check(changed == 0 and back == 0 and code == 2 and "ProgramFilesDir" in reason and nothing(),
                 "ProgramFilesDir as REG_EXPAND_SZ (%s): setup /S refuses it as tovaro.exe does, exit code %d: %s"
                 % (folder, code, reason))


def guided_install(prefix, program, driver, bank, originals, before):
    """The setup as a person runs it, then a silent uninstall."""
    shots = os.path.join(prefix.stage.dir, "logs", prefix.name + "-setup")
    stage.robot(prefix, ["setup", SETUP, stage.PROGRAM[:-1], "Z:" + shots.replace("/", "\\")],
                "setup: welcome, folder and finish pages, \"Run Tovaro\"")
    for page in ("welcome", "folder", "finish"):
        if os.path.exists("%s-%s.bmp" % (shots, page)):
            subprocess.run(["convert", "%s-%s.bmp" % (shots, page), "%s-%s.png" % (shots, page)])
            os.remove("%s-%s.bmp" % (shots, page))
    prefix.check(os.path.exists(os.path.join(program, "uninstall.exe")) and len(menu_folders(prefix)) == 1,
                 "it installed the program and its Start menu (pages: %s-*.png)" % shots)
    code = uninstall(prefix, program)
    left = tree(program) if os.path.isdir(program) else {}
    prefix.check(code == 0 and files_of(prefix, driver, bank) == originals and left == before,
                 "after it, uninstall /S leaves the originals and the user's bank sets",
                 "        exit code %d\n%s" % (code, differences(left, before)))


def installer_cases(prefix, driver, bank, originals):
    start = time.time()
    build = prefix.stage.build
    setup, archive = packages(build)
    if not prefix.check(setup and archive, "the setup and the zip are in %s" % os.path.join(build, "dist"),
                        "        run ./dev dist"):
        return
    program = prefix.host(stage.PROGRAM)
    os.makedirs(prefix.host("C:\\stage"), exist_ok=True)
    shutil.copy(setup, prefix.host(SETUP))
    try:
        # A machine without the program: the stage's hand copy goes (the
        # refusals need it first), the user's bank sets in Banks (the
        # simulated Extended and Dance sets) stay.
        if prefix.name in PAGES_AND_REFUSALS:
            refused_setups(prefix, program)
        else:
            for name in HAND_COPIED:
                os.remove(os.path.join(program, name))
        os.rmdir(os.path.join(program, "Backup"))
        before = tree(program)
        install_switch_uninstall(prefix, program, driver, bank, originals, before, archive)
        if prefix.name in PAGES_AND_REFUSALS:
            guided_install(prefix, program, driver, bank, originals, before)
        refused_restore(prefix, program, driver, bank, originals, before)
    finally:
        # Back to the state stage.py left: originals in place, an empty
        # Backup folder, the hand copy of the programs.
        for path, data in zip((driver, bank), originals):
            with open(prefix.host(path), "wb") as f:
                f.write(data)
        shutil.rmtree(os.path.join(program, "Backup"), ignore_errors=True)
        if os.path.exists(os.path.join(program, KEPT_NOTE)):
            os.remove(os.path.join(program, KEPT_NOTE))
        os.makedirs(os.path.join(program, "Backup"))
        for name in HAND_COPIED:
            shutil.copy(os.path.join(build, "win32", "dist", "Tovaro", name), program)
        prefix.lines.append("      (the installer cases took %.0f s)" % (time.time() - start))


def driver_settings(prefix):
    """{name: (type, data)} of the values under the driver's key, as reg.exe shows them."""
    _, text = launch(prefix, "C:\\windows\\system32\\reg.exe", ["query", "HKLM\\" + prefix.key])
    return {fields[0]: tuple(fields[1:]) for fields in (line.split() for line in text.splitlines())
            if len(fields) == 3 and fields[1].startswith("REG_")}


def install_switch_uninstall(prefix, program, driver, bank, originals, before, archive):
    install(prefix, program, before, archive, tree(os.path.join(prefix.stage.build, "win32", "dist", "Tovaro")))
    code, text = launch(prefix, stage.PROGRAM + "tovaroc.exe", ["bank", "extended"])
    prefix.check(code == 0 and files_of(prefix, driver, bank) != originals,
                 "the installed tovaroc switches to the Extended bank", stage.indent(text))
    judged = prefix.name in PAGES_AND_REFUSALS
    if judged:
        # The switch made the backup and recorded the settings with it.
        recorded = driver_settings(prefix)
        changes = [launch(prefix, stage.PROGRAM + "tovaroc.exe", args)
                   for args in (["set", "SRC=0"], ["voices", "48", "16", "16", "24"])]
        prefix.check([code for code, _ in changes] == [0, 0] and "SRC: 1 -> 0" in changes[0][1]
                     and "MIDI 48," in changes[1][1] and os.path.exists(os.path.join(program, "Backup", "settings.txt")),
                     "the installed tovaroc sets SRC 0 and MaxModVoices 48; Backup holds the settings recorded before",
                     stage.indent("".join(text for _, text in changes)))
        shutil.copy(os.path.join(program, "uninstall.exe"), prefix.host(UNINSTALLER))
        kept = tree(program)
        stage.robot(prefix, ["running", UNINSTALLER, " ".join(IN_PLACE), UN_FAILED_NOTE,
                             stage.PROGRAM + "tovaro.exe"], "uninstall /S refuses while Tovaro runs")
        prefix.check(tree(program) == kept and files_of(prefix, driver, bank) != originals,
                     "those uninstalls changed nothing: the program folder and the switched driver stay",
                     differences(tree(program), kept))
    code = uninstall(prefix, program)
    left = tree(program) if os.path.isdir(program) else {}
    prefix.check(code == 0 and files_of(prefix, driver, bank) == originals and left == before
                 and not menu_folders(prefix),
                 "uninstall /S: original driver and bank back byte for byte; only the user's bank sets are left",
                 "        exit code %d\n%s" % (code, differences(left, before)))
    code, _ = launch(prefix, "C:\\windows\\system32\\reg.exe", ["query", UNINSTALL_KEY])
    prefix.check(code != 0, "Add/Remove Programs no longer lists Tovaro")
    if judged:
        now = driver_settings(prefix)
        prefix.check(len(recorded) == 15 and now == recorded,
                     "uninstall /S put the recorded settings back: SRC %s, MaxModVoices %s (%d of 15 as recorded)"
                     % (" ".join(now.get("SRC", ["none"])), " ".join(now.get("MaxModVoices", ["none"])),
                        sum(now.get(n) == v for n, v in recorded.items())),
                     "        recorded %s\n        now %s" % (sorted(recorded.items()), sorted(now.items())))


def refused_restore(prefix, program, driver, bank, originals, before):
    # Installing over an earlier install after a switch: Backup and Banks stay.
    first, _ = launch(prefix, SETUP, ["/S"])
    code, text = launch(prefix, stage.PROGRAM + "tovaroc.exe", ["bank", "extended"])
    patched = files_of(prefix, driver, bank)
    kept = {n: d for n, d in tree(program).items() if n.startswith(("Backup/", "Banks/"))}
    again, _ = launch(prefix, SETUP, ["/S"])
    prefix.check(first == 0 and again == 0 and "Backup/manifest.txt" in kept and files_of(prefix, driver, bank) == patched
                 and {n: d for n, d in tree(program).items() if n.startswith(("Backup/", "Banks/"))} == kept,
                 "setup /S over an earlier install after a switch keeps Backup, Banks and the driver",
                 "        exit codes %d, %d" % (first, again))

    # Uninstalling with a backup that cannot prove itself: the driver copy cut short.
    copy = os.path.join(program, "Backup", driver.split("\\")[-1])
    if not prefix.check(code == 0 and patched != originals and os.path.exists(copy),
                        "reinstalled, switched, the backup's driver copy truncated", stage.indent(text)):
        return
    with open(copy, "r+b") as f:
        f.truncate(len(originals[0]) // 2)
    backup = tree(os.path.join(program, "Backup"))
    code = uninstall(prefix, program)
    note = (stage.read(os.path.join(program, KEPT_NOTE)) or b"").decode("latin-1").replace("\r", "")
    why = note.partition("Why:\n")[2].partition("\n\n")[0].strip()
    whole = os.path.isdir(os.path.join(program, "Backup")) and tree(os.path.join(program, "Backup")) == backup
    prefix.check(code == 2 and files_of(prefix, driver, bank) == patched and whole and why != "",
                 "refused restore: exit code 2, the patched driver and the whole Backup folder kept; the note says: "
                 + " / ".join(why.splitlines()), "        exit code %d, Backup kept whole: %s" % (code, whole))
    left = set(tree(program)) - set(before) - {KEPT_NOTE} - {"Backup/" + n for n in backup} - {"Backup/"}
    prefix.check(not left and not menu_folders(prefix), "the rest of the program is gone",
                 "        left: %s" % sorted(left))


def main():
    """The cases alone, in a fresh XP prefix with a WDM driver."""
    if len(sys.argv) != 2:
        print(__doc__.split("\n\n")[-1], file=sys.stderr)
        return 2
    runner = stage.Stage(os.path.abspath(sys.argv[1]))
    os.makedirs(os.path.join(runner.dir, "logs"), exist_ok=True)
    stage.ensure_machine(os.path.join(runner.dir, "logs", "setup.log"))
    loader = stage.make_loader(os.path.join(runner.dir, "wine"))
    prefix = stage.Prefix(runner, "xp-dist", "winxp", loader, "win32")
    server, prefix.display = stage.start_display()
    try:
        prefix.boot()
        prefix.configure()
        stage.install_fixture(prefix, "win32", False)
        driver, bank = stage.installed_files(prefix, "WDM")
        stage.restore(prefix, driver, bank, files_of(prefix, driver, bank))  # a backup made, then removed
        installer_cases(prefix, driver, bank, files_of(prefix, driver, bank))
    except Exception as error:  # reported as in the stage
        prefix.check(False, "%s: %s" % (type(error).__name__, error))
    finally:
        prefix.stop()
        stage.stop_display(server)
    for line in prefix.lines:
        print("   " + line)
    return 1 if prefix.failures else 0


if __name__ == "__main__":
    sys.exit(main())
