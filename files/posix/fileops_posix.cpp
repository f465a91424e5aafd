// Whole-file operations on POSIX with the Windows rules: a copy replaces its
// destination unless that is read-only, a read-only file cannot be deleted,
// and a file another handle holds open for writing (an exclusive flock, as
// OpenWrite takes) can be neither read nor replaced.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

#include "files/file_operations.h"
#include "files/fileops.h"
#include "files/posix/posix_path.h"

namespace {

bool IsReadOnly(const struct stat& info) { return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

// Whether the lock can be had now on an existing file: false when another
// handle holds an exclusive one (or a shared one, for an exclusive lock).
bool Lockable(const std::string& native, int lock) {
  const int fd = open(native.c_str(), O_RDONLY);
  if (fd < 0) {
    return false;
  }
  const bool free = flock(fd, lock | LOCK_NB) == 0;
  close(fd);
  return free;
}

// A destination that is missing, or a file that is not read-only and that
// no other handle holds open.
bool Replaceable(const std::string& path) {
  struct stat info {};
  const std::string native = NativePath(path);
  return stat(native.c_str(), &info) != 0 || (S_ISREG(info.st_mode) && !IsReadOnly(info) && Lockable(native, LOCK_EX));
}

// A source that exists and that no other handle holds open for writing.
bool Readable(const std::string& path) { return FileExists(path) && Lockable(NativePath(path), LOCK_SH); }

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(NativePath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool CreateDirectoryIfMissing(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  const std::string native = NativePath(path);
  struct stat info {};
  return mkdir(native.c_str(), 0777) == 0 || (stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

bool FileSizeByPath(const std::string& path, std::uint32_t& size) {
  struct stat info {};
  if (path.empty() || stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size > 0xFFFFFFFF) {
    return false;
  }
  size = static_cast<std::uint32_t>(info.st_size);
  return true;
}

bool native_files::CopyFileOver(const std::string& from, const std::string& to) {
  if (!Readable(from) || !Replaceable(to)) {
    return false;
  }
  const std::string target = NativePath(to);
  std::FILE* in = std::fopen(NativePath(from).c_str(), "rb");
  if (in == nullptr) {
    return false;
  }
  // Write beside the target and rename, so that a failed copy leaves the old file.
  const std::string temp = target + ".copy-tmp";
  std::FILE* out = std::fopen(temp.c_str(), "wb");
  if (out == nullptr) {
    std::fclose(in);
    return false;
  }
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  for (;;) {
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    if (got > 0 && std::fwrite(buffer.data(), 1, got, out) != got) {
      ok = false;
      break;
    }
    if (got < buffer.size()) {
      ok = std::ferror(in) == 0;
      break;
    }
  }
  std::fclose(in);
  ok = (std::fclose(out) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

bool native_files::RemoveFile(const std::string& path) {
  struct stat info {};
  const std::string native = NativePath(path);
  if (path.empty() || stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || IsReadOnly(info)) {
    return false;
  }
  return unlink(native.c_str()) == 0;
}

std::vector<std::string> ListFiles(const std::string& pattern) {
  std::vector<std::string> names;
  const std::string native = NativePath(pattern);
  const size_t slash = native.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : native.substr(0, slash);
  const std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
  DIR* handle = opendir(dir.empty() ? "/" : dir.c_str());
  if (handle == nullptr) {
    return names;
  }
  while (const dirent* entry = readdir(handle)) {
    const std::string name = entry->d_name;
    struct stat info {};
    if (fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0 && stat((dir + "/" + name).c_str(), &info) == 0 &&
        S_ISREG(info.st_mode)) {
      names.push_back(name);
    }
  }
  closedir(handle);
  std::sort(names.begin(), names.end());
  return names;
}

bool native_files::MoveFileOver(const std::string& from, const std::string& to) {
  return FileExists(from) && Replaceable(to) && std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool native_files::WriteFileOver(const std::string& path, const std::vector<FilePiece>& pieces) {
  const std::string native = NativePath(path);
  if (path.empty() || !Replaceable(path)) {
    return false;
  }
  const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    return false;
  }
  bool ok = WritePieces(pieces, [fd](const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t put = write(fd, bytes + done, size - done);
      if (put < 0 && errno == EINTR) {
        continue;
      }
      if (put <= 0) {
        return false;
      }
      done += static_cast<std::size_t>(put);
    }
    return true;
  });
  ok = (close(fd) == 0) && ok;
  if (!ok) {
    unlink(native.c_str());
  }
  return ok;
}
