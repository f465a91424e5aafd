#!/usr/bin/env python3
"""The i686 stage of ./dev test: the shipped 32-bit programs, run for real in
pure 32-bit Wine prefixes (SYSTEMS): Windows XP (5.1) and 2000 (5.0) with a
WDM driver installation, Windows 98 (4.10, platform 1) with a VxD one, and
Windows ME (4.90, platform 1) once with each.

    stage.py [--wait-for-go] [--only NAME,...] BUILD_ROOT
        BUILD_ROOT holds the win32 and win64 trees; --only runs the named
        prefixes of SYSTEMS alone (the reference prefix always runs)

With --wait-for-go the prefixes are made at once and the cases start when a
line "go" arrives on standard input (./dev test sends it once the trees are
built). Where the kernel runs no 32-bit code (ia32 emulation off), the
32-bit Wine runs under qemu-i386 through binfmt_misc, with Wine's preloader
moved out of qemu's way (see make_loader). Set-up, when something is missing: the i386 packages
(qemu-user, wine32, wine32-preloader), a binfmt_misc registration for i386
programs (until the next reboot), both needing root or sudo. Everything
else lives in BUILD_ROOT/i686. Where the machine cannot do it, the stage says
why and is skipped.

What runs in each 32-bit prefix: tovaroc status, every bank mode (disabled,
default, extended, dance, user PATH) each followed by verify, restore;
tovaro.exe -clean; the window opening at once with the driver, and the two
start-up questions without it; the start-up code of the i686 build
(stage_robot runtime). The driver and bank after each bank mode are compared
byte for byte with what the x86_64 build leaves doing the same on the same
fixture in a 64-bit prefix. tovaroc status must find the prefix's driver
kind under its registry key. On the Windows 98 and ME prefixes changing the
bank must make no token call (Wine's relay log); more such checks are one
entry in NO_CALL_CASES. Last in each prefix, Yes to the window's reboot
question: on 98 and ME the restart request comes without any token call, on
2000 and XP after enabling the shutdown privilege (RESTART_CASES).
"""
import os
import platform
import select
import shutil
import struct
import subprocess
import sys
import threading
import time

import dist_stage

WINE64 = "/usr/lib/wine/wine64"
SYSTEM_LOADER = "/usr/lib/wine/wine"
SYSTEM_PRELOADER = "/usr/lib/wine/wine-preloader"
PACKAGES = ["qemu-user", "wine32:i386", "wine32-preloader:i386"]
PROGRAM = "C:\\Program Files\\Nerulan\\Tovaro\\"
USER_BANK = "C:\\userbank\\mine.yb0"
NT, W9X = "platform 2", "platform 1"  # VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS
WDM_NT_KEY = "SYSTEM\\CurrentControlSet\\Services\\YAMAHA\\Driver\\DSXGWDM"
WDM_9X_KEY = "Software\\YAMAHA\\Driver\\DSXGWDM"
VXD_KEY = "Software\\YAMAHA\\Driver\\YMF724"
# The 32-bit prefixes: (name, winecfg's version, title, driver kind, what
# GetVersionExA must tell the programs, the driver's registry key there).
SYSTEMS = [
    ("xp", "winxp", "Windows XP (5.1)", "WDM", ("Windows 5.1 ", NT), WDM_NT_KEY),
    ("win2k", "win2k", "Windows 2000 (5.0)", "WDM", ("Windows 5.0 ", NT), WDM_NT_KEY),
    ("win98", "win98", "Windows 98 (4.10)", "VxD", ("Windows 4.10 ", W9X), VXD_KEY),
    ("me-vxd", "winme", "Windows ME (4.90)", "VxD", ("Windows 4.90 ", W9X), VXD_KEY),
    ("me-wdm", "winme", "Windows ME (4.90)", "WDM", ("Windows 4.90 ", W9X), WDM_9X_KEY),
]
# Driver builds of the simulated installations (both known to the program).
WDM_BUILD = "5.12.01.5245"
VXD_BUILD = "4.12.01.2020"
MODES = [["disabled"], ["default"], ["extended"], ["dance"], ["user", USER_BANK]]

# Programs run with Wine's relay log, which records the calls made from the
# code of the given modules (in any process the program starts): they must
# make the witness calls in that order (the log works; "function text" also
# needs text among the call's arguments) and none of the forbidden ones.
# (name, program, arguments, modules, witnesses, forbidden); the program runs
# in its own directory. NO_CALL_CASES run on the Windows 9x prefixes.
TOKEN_CALLS = ["advapi32.OpenProcessToken", "advapi32.AdjustTokenPrivileges", "advapi32.LookupPrivilegeValueA"]
NO_CALL_CASES = [
    ("a bank change on 9x makes no token call", PROGRAM + "tovaroc.exe", ["bank", "extended"], ["tovaroc.exe"],
     ["advapi32.RegOpenKeyExA"], TOKEN_CALLS),
]
# The robot changes a setting that needs a restart, presses Ok and answers Yes
# to the reboot question. ExitWindowsEx(EWX_REBOOT, 0) asks Wine to end the
# prefix's session: these run last, one per prefix.
ROBOT = "C:\\stage\\stage_robot.exe"
REBOOT = ["reboot", PROGRAM + "tovaro.exe"]
RESTART_CALL = "user32.ExitWindowsEx 00000002,00000000"
RESTART_CASES = {
    W9X: ("Yes to the reboot question on 9x: ExitWindowsEx without any token call", ROBOT, REBOOT,
              ["tovaro.exe"], [RESTART_CALL], TOKEN_CALLS),
    NT: ("Yes to the reboot question on NT: the shutdown privilege enabled, then ExitWindowsEx", ROBOT, REBOOT,
           ["tovaro.exe"], ["advapi32.OpenProcessToken 00000028",  # TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
                            'advapi32.LookupPrivilegeValueA "SeShutdownPrivilege"', "advapi32.AdjustTokenPrivileges",
                            RESTART_CALL], []),
}


# Every wait is for an event (a program ending, a window, an X server taking
# connections) and gives up only far beyond what it takes. Measured beside
# five builds, and under qemu: a program of a case ran at most 7 s (a relay-log
# run of the robot), a wait of the robot at most 4.4 s (the robot reports
# each wait; the stage prints the longest), making the prefixes 92 s.
RUN_PATIENCE = 900  # seconds for one program, also wineboot
ROBOT_PATIENCE = 1500  # a robot case waits up to 300 s for each of up to four things
DISPLAY_PATIENCE = 120


class Skip(Exception):
    pass


def told_code(code, errors):
    """The exit code the robot wrote when the loader's own says SIGKILL or a
    crash: Wine's server kills a program's Unix process one second after the
    program has ended, and under qemu on a loaded machine that exit can take
    longer. The loader's code is the low byte of the program's."""
    told = [line for line in errors.splitlines() if line.startswith("stage_robot exit code ")]
    if code < 0 and told:
        return int(told[-1].split()[-1]) & 0xFF
    return code


def log_run(command, log, env=None, cwd=None, timeout=RUN_PATIENCE):
    start = time.time()
    with open(log, "ab") as out:
        out.write(("$ %s\n" % " ".join(command)).encode())
        out.flush()
        code = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT, env=env,
                              cwd=cwd, timeout=timeout).returncode
        out.write(("-> %d in %.1f s\n" % (code, time.time() - start)).encode())
    return code


# --- set-up ------------------------------------------------------------------------

def privilege():
    """The command prefix that runs as root, or None."""
    if os.geteuid() == 0:
        return []
    if shutil.which("sudo") and subprocess.run(["sudo", "-n", "true"], capture_output=True).returncode == 0:
        return ["sudo", "-n"]
    return None


def packages_missing():
    arches = subprocess.run(["dpkg", "--print-foreign-architectures"], capture_output=True, text=True).stdout.split()
    missing = [p for p in PACKAGES
               if subprocess.run(["dpkg", "-s", p], capture_output=True).returncode != 0]
    return "i386" not in arches, missing


def runs_32bit(log):
    try:
        return log_run([SYSTEM_LOADER, "--version"], log, timeout=300) == 0
    except (OSError, subprocess.TimeoutExpired):
        return False


def ensure_machine(log):
    """Packages and binfmt_misc, as far as missing; raises Skip where the
    machine cannot."""
    if platform.system() != "Linux" or platform.machine() not in ("x86_64", "amd64"):
        raise Skip("needs Linux on x86-64 (this is %s %s)" % (platform.system(), platform.machine()))
    if not shutil.which("dpkg"):
        raise Skip("needs a Debian system (dpkg) for the i386 packages")
    root = None
    no_arch, missing = packages_missing()
    if no_arch or missing:
        root = privilege()
        if root is None:
            raise Skip("needs root or sudo to install %s" % " ".join(missing or ["the i386 architecture"]))
        print("== i686: installing %s" % " ".join(missing), flush=True)
        apt = root + ["env", "DEBIAN_FRONTEND=noninteractive"]
        if no_arch:
            log_run(root + ["dpkg", "--add-architecture", "i386"], log)
        if no_arch or log_run(apt + ["apt-get", "install", "-y", "-qq", "--no-remove"] + missing, log) != 0:
            log_run(apt + ["apt-get", "update", "-qq"], log)
            if log_run(apt + ["apt-get", "install", "-y", "-qq", "--no-remove"] + missing, log) != 0:
                raise Skip("cannot install %s (see %s)" % (" ".join(missing), log))
    if runs_32bit(log):
        return
    # i386 programs need qemu-i386 through binfmt_misc.
    root = privilege() if root is None else root
    if root is None:
        raise Skip("needs root or sudo to register qemu-i386 with binfmt_misc")
    if "binfmt_misc" not in open("/proc/filesystems").read():
        raise Skip("the kernel has no binfmt_misc")
    if not os.path.ismount("/proc/sys/fs/binfmt_misc"):
        if log_run(root + ["mount", "-t", "binfmt_misc", "binfmt_misc", "/proc/sys/fs/binfmt_misc"], log) != 0:
            raise Skip("cannot mount binfmt_misc (see %s)" % log)
    if not os.path.exists("/proc/sys/fs/binfmt_misc/qemu-i386"):
        # i386 ELF executables (not shared objects) go to qemu-i386.
        rule = (":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:"
                "\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff"
                ":/usr/bin/qemu-i386:")
        print("== i686: registering qemu-i386 with binfmt_misc", flush=True)
        if log_run(root + ["sh", "-c", "printf '%s' '" + rule + "' > /proc/sys/fs/binfmt_misc/register"], log) != 0:
            raise Skip("cannot register qemu-i386 with binfmt_misc (see %s)" % log)
    if not runs_32bit(log):
        raise RuntimeError("the 32-bit Wine loader does not run under qemu-i386 (see %s)" % log)


def make_loader(root):
    """A copy of the 32-bit Wine loader with a fixed preloader, in root/lib/wine.

    qemu-user reserves the whole span between the lowest and the highest
    loadable segment of a program. Wine's preloader has a stray segment at
    0x08048000 besides its code at 0x7d400000, which blocks nearly all the
    Windows address space (ntdll then cannot be mapped at its base and
    kernel32 fails to load). The copy has that segment at 0x7d3ff000. Wine
    looks for the preloader beside the loader it runs from, and for ntdll.so
    and its data relative to it: the links below lead there."""
    wine_dir = os.path.join(root, "lib", "wine")
    os.makedirs(wine_dir, exist_ok=True)
    for link, target in (("lib/i386-linux-gnu", "/usr/lib/i386-linux-gnu"), ("share/wine", "/usr/share/wine"),
                         ("lib/wine/wineserver", "/usr/lib/wine/wineserver")):
        path = os.path.join(root, link)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if not os.path.islink(path):
            os.symlink(target, path)
    loader = os.path.join(wine_dir, "wine")
    shutil.copy2(SYSTEM_LOADER, loader)  # a copy: Wine resolves links to find its own directory
    image = bytearray(open(os.path.realpath(SYSTEM_PRELOADER), "rb").read())
    if image[:5] != b"\x7fELF\x01":
        raise RuntimeError("%s is not a 32-bit ELF program" % SYSTEM_PRELOADER)
    phoff = struct.unpack_from("<I", image, 28)[0]
    phentsize, phnum = struct.unpack_from("<HH", image, 42)
    stray, free = 0x08048000, 0x7D3FF000
    for i in range(phnum):
        entry = phoff + i * phentsize
        kind, _, vaddr = struct.unpack_from("<3I", image, entry)
        if kind in (1, 4) and stray <= vaddr < stray + 0x1000:  # PT_LOAD, PT_NOTE
            struct.pack_into("<II", image, entry + 8, vaddr - stray + free, vaddr - stray + free)
    preloader = os.path.join(wine_dir, "wine-preloader")
    with open(preloader + ".tmp", "wb") as f:
        f.write(image)
    os.chmod(preloader + ".tmp", 0o755)
    os.replace(preloader + ".tmp", preloader)
    return loader


# --- prefixes ----------------------------------------------------------------------

class Prefix:
    def __init__(self, stage, name, version, loader, arch):
        self.stage = stage
        self.name = name
        self.version = version
        self.loader = loader
        self.arch = arch
        self.path = os.path.join(stage.dir, name)
        self.log = os.path.join(stage.dir, "logs", name + ".log")
        self.lines = []  # the report of this prefix's cases
        self.failures = 0
        self.waits = []  # (seconds, what) the robot waited for
        self.display = os.environ.get("DISPLAY", "")
        self.title, self.kind, self.reports, self.key = name, None, None, None

    @classmethod
    def of_system(cls, stage, system, loader):
        name, version, title, kind, reports, key = system
        prefix = cls(stage, name, version, loader, "win32")
        prefix.title, prefix.kind, prefix.reports, prefix.key = "%s, %s, i686 build" % (title, kind), kind, reports, key
        return prefix

    def env(self, debug="-all"):
        env = dict(os.environ, WINEPREFIX=self.path, WINEDEBUG=debug, WINEDLLOVERRIDES="mscoree,mshtml=",
                   DISPLAY=self.display)
        if self.arch == "win32":
            env.update(WINEARCH="win32", WINELOADER=self.loader)
        return env

    def boot(self):
        """A new prefix; its server is stopped afterwards, its registry saved."""
        shutil.rmtree(self.path, ignore_errors=True)
        os.makedirs(self.path)
        env = self.env()
        log_run([self.loader, "wineboot", "-i"], self.log, env)
        # Without a window manager every window teardown stalls.
        log_run([self.loader, "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                self.log, env)
        fonts = self.host("C:\\windows\\Fonts")
        if os.path.exists("/usr/share/wine/fonts/marlett.ttf") and os.path.isdir(fonts):
            shutil.copy("/usr/share/wine/fonts/marlett.ttf", fonts)
        self.stop()
        if not os.path.exists(self.host("C:\\windows\\system32\\kernel32.dll")):
            raise RuntimeError("prefix %s was not made (see %s)" % (self.name, self.log))

    def clone(self, other):
        """A copy of a booted prefix: booting one under qemu takes long."""
        shutil.rmtree(self.path, ignore_errors=True)
        if subprocess.run(["cp", "-a", other.path, self.path]).returncode != 0:
            raise RuntimeError("cannot copy prefix %s" % other.name)

    def configure(self):
        """The Windows version, and a persistent server with its services
        running for the cases (otherwise every program starts them again)."""
        env = self.env()
        log_run([self.loader, "winecfg", "-v", self.version], self.log, env)
        self.stop()
        log_run(["wineserver", "-p"], self.log, env)
        log_run([self.loader, "wineboot"], self.log, env)

    def stop(self):
        env = self.env()
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True)

    def host(self, windows_path):
        """The Linux path of C:\\..., matching names without regard to case
        as Windows does."""
        path = os.path.join(self.path, "drive_c")
        for part in windows_path[3:].split("\\"):
            if not part:
                continue
            match = part
            if os.path.isdir(path):
                for entry in os.listdir(path):
                    if entry.lower() == part.lower():
                        match = entry
                        break
            path = os.path.join(path, match)
        return path

    def command(self, program, args):
        """The command line that runs a program. Once the robot is in the
        prefix, another program runs through 'stage_robot exec', which tells
        its exit code (see told_code). A relay log traces only the calls of
        the modules a case names, never the robot's."""
        if program != ROBOT and self.loader != WINE64 and os.path.exists(self.host(ROBOT)):
            return [self.loader, ROBOT, "exec", program] + args
        return [self.loader, program] + args

    def run(self, program, args, debug="-all", timeout=RUN_PATIENCE):
        """Runs a Windows program in its own directory; (exit code, output)."""
        out = os.path.join(self.stage.dir, "logs", self.name + ".out")
        err = os.path.join(self.stage.dir, "logs", self.name + ".err")
        directory = self.host(program[:program.rfind("\\")])
        start = time.time()
        with open(out, "wb") as o, open(err, "wb") as e:
            code = subprocess.run(self.command(program, args), stdin=subprocess.DEVNULL, stdout=o, stderr=e,
                                  cwd=directory, env=self.env(debug), timeout=timeout).returncode
        text = open(out, "rb").read().decode("latin-1").replace("\r", "")
        errors = open(err, "rb").read().decode("latin-1")
        loader, code = code, told_code(code, errors)
        with open(self.log, "a") as f:
            f.write("$ %s %s\n-> %d%s in %.1f s\n%s%s" % (program, " ".join(args), code,
                                                           "" if loader == code else " (the loader: %d)" % loader,
                                                           time.time() - start, text, errors[-4000:]))
        return code, text, errors

    def check(self, ok, what, detail=""):
        self.lines.append("%s %s%s" % ("ok:  " if ok else "FAIL:", what, "" if ok or not detail else "\n" + detail))
        self.failures += 0 if ok else 1
        return ok

    def robot(self, args, debug="-all"):
        """Runs stage_robot; (exit code, output, errors), keeping the time of each wait."""
        code, text, errors = self.run(ROBOT, args, debug=debug, timeout=ROBOT_PATIENCE)
        for line in text.splitlines():
            if line.startswith("waited ") and " s: " in line:
                seconds, what = line[len("waited "):].split(" s: ", 1)
                self.waits.append((float(seconds), "%s (%s)" % (what, args[0])))
        return code, text, errors

    def tovaroc(self, args, **kwargs):
        return self.run(PROGRAM + "tovaroc.exe", args, **kwargs)


def read(path):
    return open(path, "rb").read() if os.path.exists(path) else None


def indent(text):
    return "\n".join("        " + line for line in text.strip().splitlines()[-12:])


# --- the cases -----------------------------------------------------------------------

def install_fixture(prefix, tree, vxd):
    """The simulated driver installation, the program folder and a user bank."""
    arguments = ["install", "--version", VXD_BUILD if vxd else WDM_BUILD] + (["--vxd"] if vxd else [])
    fixture = os.path.join(prefix.stage.build, tree, "mkfixture.exe")
    code = log_run([prefix.loader, fixture] + arguments, prefix.log, prefix.env())
    prefix.check(code == 0, "mkfixture %s (%s build)" % (" ".join(arguments), tree))
    # tovaro.exe imports a10.dll and does not start without it beside it.
    for name in ["tovaroc.exe", "a10.dll"] + (["tovaro.exe"] if tree == "win32" else []):
        shutil.copy(os.path.join(prefix.stage.build, tree, "dist", "Tovaro", name), prefix.host(PROGRAM))
    # A user bank: the Extended set with every byte changed.
    os.makedirs(prefix.host("C:\\userbank"), exist_ok=True)
    for k in range(4):
        data = read(prefix.host(PROGRAM + "Banks\\extended.yb%d" % k))
        with open(prefix.host(USER_BANK[:-1] + str(k)), "wb") as f:
            f.write(bytes((b + 0x5A) & 0xFF for b in data))


def installed_files(prefix, kind, key=None):
    code, text, errors = prefix.tovaroc(["status"])
    prefix.check(code == 0 and "driver: found, %s\n" % kind in text, "tovaroc status finds a %s driver" % kind,
                 indent(text + errors))
    if key:
        prefix.check("settings (HKEY_LOCAL_MACHINE\\%s):\n" % key in text, "its settings key is %s" % key)
    build = VXD_BUILD if kind == "VxD" else WDM_BUILD
    prefix.check("version: %s (known build)" % build in text, "tovaroc status knows build %s" % build)
    paths = {}
    for line in text.splitlines():
        for key in ("driver path: ", "bank path: "):
            if line.startswith(key):
                paths[key.split()[0]] = line[len(key):].strip()
    return paths.get("driver"), paths.get("bank")


def bank_modes(prefix, driver, bank, results, verify):
    """Every bank mode in turn, keeping the driver and the bank after each."""
    for mode in MODES:
        name = mode[0]
        code, text, errors = prefix.tovaroc(["bank"] + mode)
        prefix.check(code == 0, "tovaroc bank %s" % " ".join(mode), indent(text + errors))
        results[name] = (read(prefix.host(driver)), read(prefix.host(bank)))
        if verify:
            # A user bank's tables are only known from its files.
            code, text, _ = prefix.tovaroc(["verify"] + (["--bank", mode[1]] if name == "user" else []))
            prefix.check(code == 0 and "result: the driver is exactly what the installed bank needs" in text,
                         "tovaroc verify after %s" % name, indent(text))


def restore(prefix, driver, bank, originals):
    code, text, _ = prefix.tovaroc(["restore"])
    prefix.check(code == 0 and (read(prefix.host(driver)), read(prefix.host(bank))) == originals,
                 "tovaroc restore brings back the original driver and bank", indent(text))


def robot(prefix, args, what):
    code, text, _ = prefix.robot(args)
    failed = [line for line in text.splitlines() if line.startswith("FAIL")]
    prefix.check(code == 0 and not failed, what, indent(text))


def relay_calls(prefix, name, program, args, modules, witnesses, forbidden):
    # Only the judged functions are traced (RelayInclude), and only their
    # calls from the given modules (RelayFromInclude): a relay log of every
    # call slows a program with a window tenfold. Wine's defaults exclude
    # calls from some system DLLs, and an exclusion list overrides the
    # inclusion list: drop it. One reg run for both, as each takes a second
    # or two under qemu.
    traced = sorted({call.split(" ", 1)[0] for call in witnesses + forbidden})
    settings = os.path.join(prefix.stage.dir, "logs", prefix.name + "-relay.reg")
    with open(settings, "w") as f:
        f.write('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Debug]\n"RelayFromExclude"=-\n'
                '"RelayFromInclude"="%s"\n"RelayInclude"="%s"\n' % (";".join(modules), ";".join(traced)))
    log_run([prefix.loader, "reg", "import", "Z:" + settings.replace("/", "\\")], prefix.log, prefix.env())
    if program == ROBOT:
        code, text, relay = prefix.robot(args, debug="+relay")
    else:
        code, text, relay = prefix.run(program, args, debug="+relay")
    # (function, arguments) from "0024:Call user32.ExitWindowsEx(00000002,00000000) ret=0040deb8"
    calls = []
    for line in relay.splitlines():
        if "Call " in line:
            function, _, arguments = line.split("Call ", 1)[1].partition("(")
            calls.append((function, arguments.split(") ret=", 1)[0]))
    missing = list(witnesses)
    for function, arguments in calls:
        wanted, _, among = missing[0].partition(" ") if missing else ("", "", "")
        if function == wanted and among in arguments:
            missing.pop(0)
    made = [f for f in forbidden if f in {function for function, _ in calls}]
    failed = [line for line in text.splitlines() if line.startswith("FAIL")]
    prefix.check(code == 0 and not failed and not missing and not made, name,
                 indent("\n".join(failed + ["exit code %d; relay log lacks, in this order, %s; made %s"
                                             % (code, missing or "nothing", made or "none")])))


def shipped_build_cases(prefix):
    kind, reported = prefix.kind, prefix.reports
    vxd = kind == "VxD"
    install_fixture(prefix, "win32", vxd)
    os.makedirs(prefix.host("C:\\stage"), exist_ok=True)
    for name in ("stage_robot.exe", "stage_probe.dll"):
        shutil.copy(os.path.join(prefix.stage.build, "win32", name), prefix.host("C:\\stage"))
    code, text, _ = prefix.robot(["version"])
    told = ([line for line in text.splitlines() if line.startswith("Windows ")] or ["nothing"])[0]
    prefix.check(code == 0 and told.startswith(reported[0]) and told.endswith(reported[1]),
                 "the programs are told %s" % told)
    robot(prefix, ["runtime", "two words", 'a"quote', "plain"], "the i686 start-up code (stage_robot runtime)")
    driver, bank = installed_files(prefix, kind, prefix.key)
    if not driver:
        return {}
    originals = (read(prefix.host(driver)), read(prefix.host(bank)))
    results = {"fixture": originals}
    bank_modes(prefix, driver, bank, results, verify=True)
    restore(prefix, driver, bank, originals)
    if reported[1] == W9X:
        for case in NO_CALL_CASES:
            relay_calls(prefix, *case)
    prefix.tovaroc(["bank", "extended"])  # something for -clean to undo
    exe = PROGRAM + "tovaro.exe"
    robot(prefix, ["clean", exe], "tovaro.exe -clean ends without a window")
    prefix.check((read(prefix.host(driver)), read(prefix.host(bank))) == originals
                 and not os.path.exists(prefix.host(PROGRAM + "Backup\\" + driver.split("\\")[-1])),
                 "-clean restored the originals and removed the backup")
    dist_stage.installer_cases(prefix, driver, bank, originals)  # leaves the program folder as it was
    robot(prefix, ["window", exe], "with the driver the window opens without a question")
    aside = [(prefix.host(p), prefix.host(p) + ".aside") for p in (driver, bank)]
    for path, moved in aside:
        os.rename(path, moved)
    robot(prefix, ["questions", exe], "without a driver: the backup question, then the driver question")
    for path, moved in aside:
        os.rename(moved, path)
    relay_calls(prefix, *RESTART_CASES[reported[1]])
    return results


def reference_cases(prefix):
    """The x86_64 build doing the same on the same fixtures (WDM, then VxD)."""
    results = {}
    for vxd in (False, True):
        install_fixture(prefix, "win64", vxd)
        driver, bank = installed_files(prefix, "VxD" if vxd else "WDM")
        if not driver:
            continue
        originals = (read(prefix.host(driver)), read(prefix.host(bank)))
        modes = {"fixture": originals}
        bank_modes(prefix, driver, bank, modes, verify=False)
        restore(prefix, driver, bank, originals)
        log_run([prefix.loader, os.path.join(prefix.stage.build, "win64", "mkfixture.exe"), "remove"], prefix.log,
                prefix.env())
        results["VxD" if vxd else "WDM"] = modes
    return results


def compare(stage, name, shipped, reference):
    if not shipped or not reference:
        stage.check(False, "%s: results to compare" % name)
        return
    for mode in ["fixture"] + [m[0] for m in MODES]:
        mine, theirs = shipped.get(mode), reference.get(mode)
        same = mine is not None and mine == theirs
        sizes = "" if mine is None or theirs is None else "driver %s, bank %s bytes" % (
            len(mine[0] or b""), "none" if mine[1] is None else len(mine[1]))
        stage.check(same, "%s %s: driver and bank byte-identical to the x86_64 build's (%s)" % (name, mode, sizes))


# --- the stage -------------------------------------------------------------------------

class Stage:
    def __init__(self, build):
        self.build = build
        self.dir = os.path.join(build, "i686")
        self.lines = []
        self.failures = 0

    def check(self, ok, what):
        self.lines.append("%s %s" % ("ok:  " if ok else "FAIL:", what))
        self.failures += 0 if ok else 1

    def run(self, wait_for_go=False, only=None):
        """With wait_for_go, the prefixes are made first and the cases wait
        for a line "go" on standard input: ./dev test makes the prefixes
        while it builds the trees the cases run. Anything else there (the
        build failed) ends the stage. only: the names of SYSTEMS to run."""
        start = time.time()
        shutil.rmtree(os.path.join(self.dir, "logs"), ignore_errors=True)
        os.makedirs(os.path.join(self.dir, "logs"))
        setup_log = os.path.join(self.dir, "logs", "setup.log")
        ensure_machine(setup_log)
        loader = make_loader(os.path.join(self.dir, "wine"))
        systems = [Prefix.of_system(self, system, loader) for system in SYSTEMS if not only or system[0] in only]
        ref = Prefix(self, "x86_64", "winxp64", WINE64, "win64")
        ref.title = "x86_64 build, 64-bit prefix"
        prefixes = systems + [ref]
        results = {}
        displays = []
        try:
            # An X server per 32-bit prefix: two Wine sessions on one display
            # upset each other's windows now and then.
            for prefix in systems:
                server, prefix.display = start_display()
                displays.append(server)
            ref.display = systems[0].display
            # Booting a prefix under qemu takes a minute and a half: one is
            # booted, the others are copies of it, each then told its version.
            first = systems[0]
            self.parallel([lambda: (first.boot(), [p.clone(first) for p in systems[1:]]), ref.boot])
            self.parallel([p.configure for p in prefixes])
            made = time.time()
            print("== i686: prefixes made in %.0f s" % (made - start), flush=True)
            if wait_for_go:
                if sys.stdin.readline().strip() != "go":
                    print("== i686 stage not run: the trees were not built", flush=True)
                    return 1
                print("== i686: the trees were built %.0f s later" % (time.time() - made), flush=True)
            go = time.time()
            self.built_files()

            def cases(prefix, job):
                try:
                    results[prefix.name] = job()
                except Exception as error:  # reported as a failure of that prefix
                    prefix.check(False, "%s: %s" % (type(error).__name__, error))
            self.parallel([(lambda p=p: cases(p, lambda: shipped_build_cases(p))) for p in systems]
                          + [lambda: cases(ref, lambda: reference_cases(ref))])
        finally:
            for prefix in prefixes:
                prefix.stop()
            for server in displays:
                stop_display(server)
        reference = results.get(ref.name) or {}
        for prefix in systems:
            compare(self, prefix.title.rsplit(",", 1)[0], results.get(prefix.name), reference.get(prefix.kind))
        for title, prefix in [(p.title, p) for p in prefixes] + [("comparisons", self)]:
            print("-- %s" % title)
            for line in prefix.lines:
                print("   " + line)
        failures = sum(p.failures for p in prefixes) + self.failures
        checks = sum(len(p.lines) for p in prefixes) + len(self.lines)
        waits = sorted(w for p in prefixes for w in p.waits)
        if waits:
            print("== i686: longest of %d waits %.1f s, for %s (patience 300 s)" % ((len(waits),) + waits[-1]))
        print("== i686 stage: %.0f s (prefixes %.0f s, cases %.0f s); logs in %s"
              % (time.time() - start, made - start, time.time() - go, os.path.join(self.dir, "logs")))
        print("i686: %d passed, %d failed" % (checks - failures, failures), flush=True)
        return 1 if failures else 0

    def built_files(self):
        for tree, name in (("win32", "mkfixture.exe"), ("win32", "stage_robot.exe"), ("win64", "mkfixture.exe"),
                           ("win64", os.path.join("dist", "Tovaro", "tovaroc.exe"))):
            if not os.path.exists(os.path.join(self.build, tree, name)):
                raise RuntimeError("%s/%s is not built; run ./dev build" % (tree, name))

    @staticmethod
    def parallel(jobs):
        errors = []

        def guarded(job):
            try:
                job()
            except Exception as error:
                errors.append(error)
        threads = [threading.Thread(target=guarded, args=(job,)) for job in jobs]
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        if errors:
            raise errors[0]


def start_display():
    """An X server of its own; (process, DISPLAY value). Xvfb picks a free
    display itself and writes its number once it takes connections: no
    guessing at lock files, no time limit but a generous one for a loaded
    machine."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as ready:
        if select.select([ready], [], [], DISPLAY_PATIENCE)[0]:
            number = ready.readline().strip()  # empty when the server ended first
    if not number.isdigit():
        stop_display(server)
        raise RuntimeError("Xvfb did not start within %d s" % DISPLAY_PATIENCE)
    return server, ":" + number.decode()


def stop_display(server):
    """Terminated, not killed: Xvfb then removes its lock and socket."""
    server.terminate()
    try:
        server.wait(timeout=30)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()


def main():
    arguments = sys.argv[1:]
    wait_for_go = "--wait-for-go" in arguments
    only = None
    if "--wait-for-go" in arguments:
        arguments.remove("--wait-for-go")
    if arguments[:1] == ["--only"] and len(arguments) > 1:
        only = arguments[1].split(",")
        arguments = arguments[2:]
    names = [system[0] for system in SYSTEMS]
    if len(arguments) != 1 or (only and not set(only) <= set(names)):
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        print("    NAME: %s" % ", ".join(names), file=sys.stderr)
        return 2
    try:
        return Stage(os.path.abspath(arguments[-1])).run(wait_for_go, only)
    except Skip as reason:
        print("== i686 stage skipped: %s" % reason, flush=True)
        return 0


if __name__ == "__main__":
    sys.exit(main())
