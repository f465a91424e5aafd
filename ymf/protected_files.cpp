#include "ymf/protected_files.h"

#include "files/fileops.h"
#include "files/path_parts.h"
#include "files/same_file.h"
#include "ymf/detect.h"
#include "ymf/environment.h"

namespace {

// A folder as SameFileOrDirectory takes it: "" is the current one.
std::string FolderOrCurrent(const std::string& folder) { return folder.empty() ? std::string(".") : folder; }

}  // namespace

std::vector<std::string> BackupFolders() {
  std::vector<std::string> folders = {ProgramDirectory() + "Backup\\"};
  if (!Env.InstallDir.empty()) {
    const std::string installed = Env.InstallDir + "Nerulan\\Tovaro\\Backup\\";
    if (!SameFileOrDirectory(installed, folders[0]) && installed != folders[0]) {
      folders.push_back(installed);
    }
  }
  return folders;
}

bool IsProtectedFile(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  // A name the system cannot resolve in full compares as different from
  // everything, while the file calls may still reach the file through it.
  if (!ResolvableFullPath(path)) {
    return true;
  }
  if (SameFileOrDirectory(path, Env.DriverPath) || SameFileOrDirectory(path, Env.BankPath)) {
    return true;
  }
  const bool exists = FileExists(path);
  for (const std::string& backup : BackupFolders()) {
    if (!exists) {
      // A file that is not there yet would be created among the originals
      // when its folder is a Backup folder.
      if (SameFileOrDirectory(FolderOrCurrent(DirectoryPart(path)), backup)) {
        return true;
      }
      continue;
    }
    // An existing file is compared with what the Backup folder holds, which
    // is quick: most comparisons end at the sizes.
    for (const std::string& name : ListFiles(backup + "*")) {
      if (SameFileOrDirectory(path, backup + name)) {
        return true;
      }
    }
  }
  return false;
}

bool IsProtectedFolder(const std::string& folder) {
  const std::string dir = FolderOrCurrent(folder);
  if (!ResolvableFullPath(dir)) {
    return true;
  }
  for (const std::string& live : {Env.DriverPath, Env.BankPath}) {
    if (!live.empty() && SameFileOrDirectory(dir, FolderOrCurrent(DirectoryPart(live)))) {
      return true;
    }
  }
  for (const std::string& backup : BackupFolders()) {
    if (SameFileOrDirectory(dir, backup)) {
      return true;
    }
  }
  return false;
}
