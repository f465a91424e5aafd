#include "ymf/protected_files.h"

#include "platform/path_parts.h"
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
  // The folder is compared, not the two backup names: a file that is not
  // there yet would be created among the originals.
  const std::string folder = DirectoryPart(path);
  return SameFileOrDirectory(folder.empty() ? "." : folder, ProgramDirectory() + "Backup");
}
