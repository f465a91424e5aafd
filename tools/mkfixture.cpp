// Installs a simulated YMF7x4 driver into the running Windows (or Wine
// prefix): driver file, stock bank, the Extended and Dance bank sets, the
// program folder with its Backup directory, and the driver's registry values.
//
//   mkfixture install [--vxd] [--version TEXT] [--probe N] [--no-bank] [--windows-major N]
//   mkfixture remove  (deletes the driver, its bank and its registry key)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/fileops.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/testing/registry_keys.h"
#include "tools/fixture/fixture.h"
#include "ymf/detect.h"

namespace {

Installation RunningSystem() {
  Installation where;
  where.WindowsDir = WindowsDirectory();
  where.SystemDir = SystemDirectory();
  // The Program Files directory as the program itself finds it.
  std::string programFiles = "C:\\Program Files\\";
  GetInstallDir(programFiles);
  where.ProgramFilesDir = programFiles.substr(0, programFiles.size() - 1);
  where.ProgramDir = where.ProgramFilesDir + "\\Nerulan\\Tovaro\\";
  return where;
}

int Usage() {
  std::fprintf(stderr,
               "usage: mkfixture install [--vxd] [--version TEXT] [--probe N] [--no-bank] [--windows-major N]\n"
               "       mkfixture remove\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return Usage();
  }
  const std::string command = argv[1];
  const Installation where = RunningSystem();
  if (command == "remove") {
    for (bool vxd : {true, false}) {
      RemoveFile(InstalledDriverPath(where, vxd));
      RemoveFile(InstalledBankPath(where, vxd));
      MachineKeyDeleteTree(DriverRegKeyFor(vxd, GetWindowsVersion().Major));
    }
    std::printf("simulated driver removed\n");
    return 0;
  }
  if (command != "install") {
    return Usage();
  }
  DriverInstallSpec setup;
  unsigned major = GetWindowsVersion().Major;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--vxd") {
      setup.Image.IsVxD = true;
    } else if (option == "--no-bank") {
      setup.WithBank = false;
    } else if (option == "--version" && i + 1 < argc) {
      setup.Image.VersionText = argv[++i];
    } else if (option == "--probe" && i + 1 < argc) {
      setup.Image.Probe = std::atoi(argv[++i]);
    } else if (option == "--windows-major" && i + 1 < argc) {
      major = static_cast<unsigned>(std::atoi(argv[++i]));
    } else {
      return Usage();
    }
  }
  // Sizes of the real banks: the stock one 2.31 MB, Extended and Dance 4.61 MB;
  // Extended and Dance are banks the bank editor can take apart and rebuild.
  setup.StockBankSize = 2422210;
  if (!MakeLayoutDirectories(where, true) || !InstallDriver(where, setup) || !InstallBankSets(where, 4834000, true)) {
    std::fprintf(stderr, "mkfixture: cannot write the simulated installation\n");
    return 1;
  }
  DriverSettings settings;
  settings.ShowWaveout = true;
  settings.SRC = true;
  settings.LoadC3D = true;
  settings.LoadGamePort = true;
  settings.LoadLegacy = true;
  settings.LoadSpdif = true;
  settings.LoadVSVL = true;
  settings.LoadPower = true;
  settings.MaxModVoices = 32;
  settings.MaxWodVoices = 16;
  settings.MaxDSVoices = 16;
  settings.Max3DVoices = 24;
  const std::string key = DriverRegKeyFor(setup.Image.IsVxD, major);
  if (!WriteDriverRegistry(key, setup.Image.IsVxD, settings)) {
    std::fprintf(stderr, "mkfixture: cannot write the registry key %s\n", key.c_str());
    return 1;
  }
  std::printf("driver: %s\nbank: %s\nprogram folder: %s\nregistry: HKLM\\%s\n",
              InstalledDriverPath(where, setup.Image.IsVxD).c_str(),
              InstalledBankPath(where, setup.Image.IsVxD).c_str(), where.ProgramDir.c_str(), key.c_str());
  return 0;
}
