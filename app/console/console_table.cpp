#include "app/console/console_table.h"

#include "app/console/console_groups.h"

const char* const MainHelp =
    "usage: tovaroc [--no-backup] COMMAND [ARGUMENTS]\n"
    "\n"
    "commands:\n"
    "  status                        the driver, its installed bank, the backup and the settings\n"
    "  bank disabled|default|extended|dance\n"
    "  bank user PATH                switch the XG bank mode\n"
    "  set NAME=VALUE ...            change panel settings and load modules by value name\n"
    "  voices MIDI WAVEOUT DS DS3D   set the four voice limits\n"
    "  restore [--settings]          put the original driver files (and settings) back\n"
    "  verify [--bank PATH]          compare the driver with its backup for the installed bank\n"
    "\n"
    "Every command first detects the driver and makes the backup of the original files;\n"
    "when the backup fails, commands that change something stop unless --no-backup is given.\n"
    "'tovaroc COMMAND --help' describes one command.\n";

namespace {

const ConsoleCommand Commands[] = {
    {"status",
     "usage: tovaroc status\n"
     "Shows whether a driver was found, its kind, path and version, the installed bank,\n"
     "the state of the backup, the fifteen settings and the voice total.\n",
     CheckNoArguments, RunStatus},
    {"bank",
     "usage: tovaroc bank disabled|default|extended|dance\n"
     "       tovaroc bank user PATH\n"
     "Switches the XG bank mode as Apply does. A mode that is already installed is skipped\n"
     "when the files verify: the bank equals its source and the driver is exactly what it\n"
     "needs; otherwise the switch runs again. A user bank is installed every time. Needs a\n"
     "known driver build for the extended, dance and user modes. When a switch fails half\n"
     "way, 'tovaroc restore' brings back the original files.\n",
     CheckBankArguments, RunBank},
    {"set",
     "usage: tovaroc set NAME=VALUE ...\n"
     "Names: ShowWaveout, ShowMisc, SRC, LoadUIF (0-6), LoadSpdifIn (0-3), LoadC3D,\n"
     "LoadGamePort, LoadLegacy, LoadSpdif, LoadVSVL, LoadPower (flags are 0 or 1).\n"
     "ShowMisc can be changed only on driver version 4.07.1040, LoadC3D only on the VxD driver.\n"
     "Each group that differs is written whole, as Apply does.\n",
     CheckSetArguments, RunSet},
    {"voices",
     "usage: tovaroc voices MIDI WAVEOUT DS DS3D\n"
     "Sets the four voice limits (0 to 64 each). A total above 88 is stored with a warning.\n",
     CheckVoicesArguments, RunVoices},
    {"restore",
     "usage: tovaroc restore [--settings]\n"
     "Puts the original driver and bank files back from the backup and removes the backup,\n"
     "as 'tovaro.exe -clean' does. A backup that does not match its manifest, or that\n"
     "belongs to another driver build than the installed one, is refused and kept.\n"
     "--settings also puts the driver's fifteen settings back as they were when the backup\n"
     "was first made.\n",
     CheckRestoreArguments, RunRestore},
    {"verify",
     "usage: tovaroc verify [--bank PATH]\n"
     "Compares the driver with the backup driver: the code patch, which bank's tables are in\n"
     "the driver, the image checksum and any other changed byte. An installed user bank is\n"
     "compared with the bank set it was installed from, as the Backup folder records it;\n"
     "--bank names another set. Exits 0 only when the driver is exactly what the installed\n"
     "bank needs.\n",
     CheckVerifyArguments, RunVerify},
};

}  // namespace

const ConsoleCommand* FindConsoleCommand(const std::string& name) { return FindNamed(Commands, name); }
