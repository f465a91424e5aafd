// Binary file access on POSIX systems, with the Windows contract: backslash
// paths, no creation, read sharing only (emulated with flock), and the
// read-only attribute taken from the permission bits.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/files.h"
#include "files/native_files.h"
#include "files/posix/posix_path.h"

namespace {

// Opens with a shared lock for readers and an exclusive one for writers, so
// that a writer excludes everyone as FILE_SHARE_READ does on Windows.
bool OpenShared(const std::string& path, bool forWrite, FileHandle& file) {
  file = InvalidFileHandle;
  const std::string native = NativePath(path);
  struct stat info {};
  if (native.empty() || stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return false;
  }
  // Root ignores permission bits, so a file without write bits is refused here.
  if (forWrite && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return false;
  }
  const int fd = open(native.c_str(), forWrite ? O_RDWR : O_RDONLY);
  if (fd < 0) {
    return false;
  }
  if (flock(fd, (forWrite ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  file = fd;
  return true;
}

int Fd(FileHandle file) { return static_cast<int>(file); }

}  // namespace

bool native_files::OpenRead(const std::string& path, FileHandle& file) { return OpenShared(path, false, file); }

bool native_files::OpenWrite(const std::string& path, FileHandle& file) { return OpenShared(path, true, file); }

bool SeekStart(FileHandle file) { return SeekTo(file, 0); }

bool SeekTo(FileHandle file, std::int32_t position) {
  if (file == InvalidFileHandle || position < 0) {
    return false;
  }
  return lseek(Fd(file), position, SEEK_SET) != static_cast<off_t>(-1);
}

bool native_files::ReadBlock(FileHandle file, void* buffer, std::int32_t count) {
  if (file == InvalidFileHandle || count < 0) {
    return false;
  }
  auto* out = static_cast<unsigned char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const ssize_t got = read(Fd(file), out + done, static_cast<size_t>(count - done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return false;
    }
    done += static_cast<std::int32_t>(got);
  }
  return true;
}

bool native_files::WriteBlock(FileHandle file, const void* buffer, std::int32_t count) {
  if (file == InvalidFileHandle || count < 0) {
    return false;
  }
  const auto* in = static_cast<const unsigned char*>(buffer);
  std::int32_t done = 0;
  while (done < count) {
    const ssize_t put = write(Fd(file), in + done, static_cast<size_t>(count - done));
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      return false;
    }
    done += static_cast<std::int32_t>(put);
  }
  return true;
}

bool native_files::WriteByte(FileHandle file, std::uint8_t value) { return native_files::WriteBlock(file, &value, 1); }

int CloseFile(FileHandle file) {
  if (file == InvalidFileHandle) {
    return 0;
  }
  return close(Fd(file)) == 0 ? 1 : 0;
}

std::uint32_t FileSizeOf(FileHandle file) {
  struct stat info {};
  if (file == InvalidFileHandle || fstat(Fd(file), &info) != 0) {
    return 0xFFFFFFFFu;
  }
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(info.st_size) & 0xFFFFFFFFu);
}
