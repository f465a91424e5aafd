#include "ymf/protected_files.h"

#include "files/fileops.h"
#include "files/path_parts.h"
#include "platform/same_file.h"
#include "ymf/detect.h"
#include "ymf/environment.h"

bool IsProtectedFile(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  if (SameFileOrDirectory(path, Env.DriverPath) || SameFileOrDirectory(path, Env.BankPath)) {
    return true;
  }
  const std::string backup = ProgramDirectory() + "Backup\\";
  if (FileExists(path)) {
    // An existing file is compared with what the Backup folder holds, which
    // is quick: most comparisons end at the sizes.
    for (const std::string& name : ListFiles(backup + "*")) {
      if (SameFileOrDirectory(path, backup + name)) {
        return true;
      }
    }
    return false;
  }
  // A file that is not there yet would be created among the originals when
  // its folder is the Backup folder.
  const std::string folder = DirectoryPart(path);
  return SameFileOrDirectory(folder.empty() ? "." : folder, backup);
}
