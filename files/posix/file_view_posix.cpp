// File views on POSIX: a private read-only mapping, with the shared lock
// that OpenRead takes, so that a writer is kept out as on Windows.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/file_operations.h"
#include "files/file_view.h"
#include "files/posix/posix_path.h"

bool native_files::OpenFileView(const std::string& path, FileView& view) {
  view = FileView();
  const std::string native = NativePath(path);
  struct stat info {};
  if (native.empty() || stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > 0x7FFFFFFF) {
    return false;
  }
  const int fd = open(native.c_str(), O_RDONLY);
  if (fd < 0) {
    return false;
  }
  view.File = fd;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0 || fstat(fd, &info) != 0) {
    CloseFileView(view);
    return false;
  }
  view.Size = static_cast<std::uint32_t>(info.st_size);
  if (view.Size == 0) {
    return true;
  }
  void* data = mmap(nullptr, view.Size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) {
    CloseFileView(view);
    return false;
  }
  view.Data = static_cast<const std::uint8_t*>(data);
  return true;
}

void CloseFileView(FileView& view) {
  if (view.Data != nullptr) {
    munmap(const_cast<std::uint8_t*>(view.Data), view.Size);
  }
  if (view.File != -1) {
    close(static_cast<int>(view.File));
  }
  view = FileView();
}
