#include "ymf/file_contents.h"

#include "files/fileops.h"
#include "files/files.h"

bool ReadFileContents(const std::string& path, Bytes& bytes, std::uint32_t limit) {
  FileHandle file = InvalidFileHandle;
  if (path.empty() || !OpenRead(path, file)) {
    return false;
  }
  const std::uint32_t size = FileSizeOf(file);
  bool ok = size != 0xFFFFFFFFu && size <= 0x7FFFFFFFu && size <= limit;
  if (ok) {
    bytes.assign(size, 0);
    ok = size == 0 || ReadBlock(file, bytes.data(), static_cast<std::int32_t>(size));
  }
  CloseFile(file);
  return ok;
}

SharedView OpenSharedView(const std::string& path) {
  auto* view = new FileView();
  if (path.empty() || !OpenFileView(path, *view)) {
    delete view;
    return nullptr;
  }
  return SharedView(view, [](const FileView* open) {
    FileView closing = *open;
    CloseFileView(closing);
    delete open;
  });
}

std::string UnreadableText(const std::string& what, const std::string& path) {
  if (path.empty() || !FileExists(path)) {
    return "The " + what + " " + path + " is not found.";
  }
  return "The " + what + " " + path + " cannot be read: another program has it open, or access is denied.";
}

std::string ReplaceProblem(const std::string& what, const std::string& path, bool mustExist) {
  FileHandle file = InvalidFileHandle;
  if (!path.empty() && OpenWrite(path, file)) {
    CloseFile(file);
    return std::string();
  }
  if (path.empty() || !FileExists(path)) {
    return mustExist ? "The " + what + " " + path + " is not found." : std::string();
  }
  return "The " + what + " " + path + " cannot be written: it is read-only, or another program has it open.";
}

std::string TemporaryPath(const std::string& path) { return path + ".new"; }
