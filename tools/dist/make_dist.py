#!/usr/bin/env python3
"""The downloads: the setup, the zip and their SHA256SUMS, from the staged
i686 program folder.

    make_dist.py BUILD_ROOT OUT_DIR [--check]

BUILD_ROOT/win32/dist/Tovaro is the staged program folder (./dev build).
OUT_DIR gets Tovaro-<version>-setup.exe, Tovaro-<version>.zip and SHA256SUMS.
--check builds everything a second time into another folder and fails
unless both give the same bytes. TOVARO_BANKS=DIR adds the bank sets of DIR
(extended.yb0 to .yb3, dance.yb0 to .yb3) to Banks; without it both packages
ship an empty Banks folder.

Both packages hold one tree, "Nerulan/Tovaro/...", which the zip unpacks
into the Program Files folder and the setup installs there.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HERE = os.path.join(ROOT, "tools", "dist")
TOP = "Nerulan/Tovaro/"
# Folders the program needs and never creates; the setup makes them, the
# zip has them as folder entries (an unzip tool that drops empty folders
# loses them; README.txt says what to do then).
KEPT_DIRS = ("Backup", "Banks")
BANK_SETS = ("extended", "dance")
# 1 January 2000: the zip's time when the source is not a git checkout.
FALLBACK_TIME = 946684800


class DistError(Exception):
    pass


def version():
    """From the project() line of CMakeLists.txt, as the programs' version."""
    with open(os.path.join(ROOT, "CMakeLists.txt")) as f:
        found = re.search(r"^project\(\s*Tovaro\s+VERSION\s+(\d+\.\d+\.\d+)\b", f.read(), re.M)
    if not found:
        raise DistError("no 'project(Tovaro VERSION x.y.z' line in CMakeLists.txt")
    return found.group(1)


def source_time():
    """SOURCE_DATE_EPOCH, else the time of the commit built: the same commit
    gives the same zip."""
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    done = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    return int(done.stdout.strip()) if done.returncode == 0 and done.stdout.strip() else FALLBACK_TIME


def readme(ver):
    with open(os.path.join(HERE, "README.txt")) as f:
        text = f.read().replace("@VERSION@", ver)
    # Notepad on Windows 98 shows a file with bare LF line ends as one line.
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")


def program_tree(build, ver):
    """{relative path: bytes or None for a folder}, with "/" separators."""
    staged = os.path.join(build, "win32", "dist", "Tovaro")
    for name in ("tovaro.exe", "tovaroc.exe", "a10.dll", os.path.join("Help", "index.html")):
        if not os.path.isfile(os.path.join(staged, name)):
            raise DistError("%s is missing: run ./dev build first" % os.path.join(staged, name))
    tree = {}
    for directory, dirs, files in os.walk(staged):
        relative = os.path.relpath(directory, staged).replace(os.sep, "/")
        relative = "" if relative == "." else relative + "/"
        if relative.split("/")[0] == "Backup" and files + dirs:
            raise DistError("the staged Backup folder is not empty (%s): a program run from the build"
                            " tree made a backup there" % directory)
        for name in dirs:
            tree[relative + name + "/"] = None
        for name in files:
            with open(os.path.join(directory, name), "rb") as f:
                tree[relative + name] = f.read()
    for name in KEPT_DIRS:
        tree[name + "/"] = None
    tree["README.txt"] = readme(ver)
    banks = os.environ.get("TOVARO_BANKS")
    if banks:
        for bank in BANK_SETS:
            for k in range(4):
                path = os.path.join(banks, "%s.yb%d" % (bank, k))
                if not os.path.isfile(path):
                    raise DistError("TOVARO_BANKS: %s is missing" % path)
                with open(path, "rb") as f:
                    tree["Banks/%s.yb%d" % (bank, k)] = f.read()
    return tree


def ordered(tree):
    # By path components, each folder before its contents.
    return sorted(tree, key=lambda path: path.rstrip("/").split("/"))


def write_zip(path, tree, ver, when):
    stamp = time.gmtime(max(when, 315532800))[:6]  # DOS times start in 1980
    comment = ("Tovaro %s. Unpack into your Program Files folder (usually C:\\Program Files), keeping the "
               "folders: the program expects to be Nerulan\\Tovaro\\tovaro.exe there. See README.txt." % ver)
    with zipfile.ZipFile(path, "w") as archive:
        archive.comment = comment.encode("ascii")
        for name in [TOP[:-len("Tovaro/")], TOP] + [TOP + n for n in ordered(tree)]:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # MS-DOS attributes only: no owner or mode bits
            data = b"" if name.endswith("/") else tree[name[len(TOP):]]
            info.external_attr = 0x10 if name.endswith("/") else 0x20  # directory / archive
            info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)


def nsis_path(path):
    return path.replace("/", "\\")


def write_setup(path, tree, ver, work):
    """Stages the files, writes the two lists tovaro.nsi includes, runs makensis."""
    files = os.path.join(work, "files")
    install = ["; generated by make_dist.py"]
    # Every file the setup writes is checked before it writes any.
    install += ['!insertmacro TOVARO_WRITABLE "$INSTDIR\\%s"' % nsis_path(n) for n in ordered(tree) if not n.endswith("/")]
    remove = ["; generated by make_dist.py"]
    folders = []
    current = None
    for name in ordered(tree):
        if name.endswith("/"):
            folder = name[:-1]
            if folder not in KEPT_DIRS:  # tovaro.nsi makes and keeps these
                folders.append(folder)
                install.append('CreateDirectory "$INSTDIR\\%s"' % nsis_path(folder))
            continue
        source = os.path.join(files, name)
        os.makedirs(os.path.dirname(source), exist_ok=True)
        with open(source, "wb") as f:
            f.write(tree[name])
        folder = os.path.dirname(name)
        if folder != current:
            install.append('SetOutPath "$INSTDIR%s"' % ("\\" + nsis_path(folder) if folder else ""))
            current = folder
        install.append('!insertmacro TOVARO_FILE "%s" "%s"' % (os.path.basename(name), source))
        remove.append('Delete "$INSTDIR\\%s"' % nsis_path(name))
    for folder in sorted(folders, key=lambda f: -f.count("/")):
        remove.append('RMDir "$INSTDIR\\%s"' % nsis_path(folder))
    lists = {}
    for key, lines in (("INSTALL_FILES", install), ("REMOVE_FILES", remove)):
        lists[key] = os.path.join(work, key.lower() + ".nsh")
        with open(lists[key], "w") as f:
            f.write("\n".join(lines) + "\n")
    command = ["makensis", "-V2", "-NOCD", "-DVERSION=" + ver, "-DOUTFILE=" + path,
               "-DINSTALL_FILES=" + lists["INSTALL_FILES"], "-DREMOVE_FILES=" + lists["REMOVE_FILES"],
               os.path.join(HERE, "tovaro.nsi")]
    done = subprocess.run(command, capture_output=True, text=True)
    if done.returncode != 0:
        raise DistError("makensis failed:\n%s%s" % (done.stdout, done.stderr))


def make(build, out):
    """Writes the three files into out; returns their names."""
    if not shutil.which("makensis"):
        raise DistError("makensis is missing (Debian package nsis)")
    ver = version()
    tree = program_tree(build, ver)
    os.makedirs(out, exist_ok=True)
    setup, archive = "Tovaro-%s-setup.exe" % ver, "Tovaro-%s.zip" % ver
    work = tempfile.mkdtemp(prefix="nsis-", dir=out)
    try:
        write_setup(os.path.join(out, setup), tree, ver, work)
    finally:
        shutil.rmtree(work)
    write_zip(os.path.join(out, archive), tree, ver, source_time())
    sums = []
    for name in (setup, archive):
        with open(os.path.join(out, name), "rb") as f:
            sums.append("%s  %s\n" % (hashlib.sha256(f.read()).hexdigest(), name))
    with open(os.path.join(out, "SHA256SUMS"), "w", newline="\n") as f:
        f.writelines(sums)
    return [setup, archive, "SHA256SUMS"]


def main():
    args = [a for a in sys.argv[1:] if a != "--check"]
    if len(args) != 2:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    build, out = (os.path.abspath(a) for a in args)
    try:
        names = make(build, out)
        for name in names:
            path = os.path.join(out, name)
            print("%s  %d bytes" % (path, os.path.getsize(path)))
        with open(os.path.join(out, "SHA256SUMS")) as f:
            print(f.read(), end="")
        if "--check" in sys.argv:
            again = out.rstrip("/") + "-again"
            shutil.rmtree(again, ignore_errors=True)
            make(build, again)
            differ = [n for n in names
                      if open(os.path.join(out, n), "rb").read() != open(os.path.join(again, n), "rb").read()]
            shutil.rmtree(again)
            if differ:
                print("FAIL: a second build gave other bytes for %s" % ", ".join(differ))
                return 1
            print("ok: a second build in another folder gave the same bytes")
    except DistError as error:
        print("make_dist: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
