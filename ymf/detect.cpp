#include "ymf/detect.h"

#include <vector>

#include "files/fileops.h"
#include "files/path_parts.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "ymf/driver_settings.h"
#include "ymf/environment.h"
#include "ymf/installed_bank.h"
#include "ymf/version_profile.h"

namespace {

const char* const VxdDriverName = "ydsxg.vxd";
const char* const VxdBankName = "ydsxg.dat";
const char* const WdmDriverName = "Ds1.sys";
const char* const WdmBankName = "dsxgwave.tbl";
const char* const VxdRegKey = "Software\\YAMAHA\\Driver\\YMF724";
const char* const WdmRegKeyNt5 = "SYSTEM\\CurrentControlSet\\Services\\YAMAHA\\Driver\\DSXGWDM";
const char* const WdmRegKey9x = "Software\\YAMAHA\\Driver\\DSXGWDM";

}  // namespace

std::string ProgramDirectory() {
  const std::string exe = ExecutablePath();
  const size_t slash = LastSeparator(exe);
  return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

void GetInstallDir(std::string& dir) {
  MachineKey key = 0;
  if (!MachineKeyOpen("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", KeyAccessRead, key)) {
    return;
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (MachineKeyQuery(key, "ProgramFilesDir", type, size) && type == RegTypeSz && size != 0) {
    std::vector<char> buffer(size, '\0');
    if (MachineKeyRead(key, "ProgramFilesDir", type, buffer.data(), size) && type == RegTypeSz) {
      size_t length = 0;
      while (length < buffer.size() && length < 255 && buffer[length] != '\0') {
        ++length;
      }
      dir = std::string(buffer.data(), length) + "\\";
    }
  }
  MachineKeyClose(key);
}

void LookForBankSets() {
  Env.ExtendedBankExists = FileExists(Env.ExtendedBankPath);
  Env.DanceBankExists = FileExists(Env.DanceBankPath);
}

bool DetectDriver() {
  Env.DriverFound = false;
  Env.SystemDir = SystemDirectory() + "\\";
  Env.InstallDir.clear();
  GetInstallDir(Env.InstallDir);
  const std::string programDir = ProgramDirectory();
  // Only a full path names the bundled banks: a relative one would find
  // whatever set lies in the current folder under their names.
  const std::string& install = Env.InstallDir;
  const bool fullPath = install.size() >= 2 && (install[0] == '\\' || install[0] == '/' ||
                                                (install.size() >= 3 && install[1] == ':' && install[2] == '\\'));
  const std::string banks = fullPath ? install + "Nerulan\\Tovaro\\Banks\\" : std::string();
  Env.ExtendedBankPath = banks.empty() ? std::string() : banks + "extended.yb0";
  Env.DanceBankPath = banks.empty() ? std::string() : banks + "dance.yb0";
  LookForBankSets();

  Env.DriverPath = Env.SystemDir + VxdDriverName;
  if (FileExists(Env.DriverPath)) {
    Env.BankPath = Env.SystemDir + VxdBankName;
    Env.BackupDriverPath = programDir + "Backup\\" + VxdDriverName;
    Env.BackupBankPath = programDir + "Backup\\" + VxdBankName;
    Env.DriverRegKey = VxdRegKey;
    Env.DriverFound = true;
    Env.IsVxD = true;
  } else {
    Env.DriversDir = WindowsDirectory() + "\\SYSTEM32\\DRIVERS\\";
    Env.DriverPath = Env.DriversDir + WdmDriverName;
    if (!FileExists(Env.DriverPath)) {
      return false;
    }
    Env.BankPath = Env.DriversDir + WdmBankName;
    Env.BackupDriverPath = programDir + "Backup\\" + WdmDriverName;
    Env.BackupBankPath = programDir + "Backup\\" + WdmBankName;
    Env.DriverRegKey = GetWindowsVersion().Major >= 5 ? WdmRegKeyNt5 : WdmRegKey9x;
    Env.DriverFound = true;
    Env.IsVxD = false;
  }

  LoadVersionProfile();
  IdentifyInstalledBank();
  ReadDriverSettings();
  return true;
}
