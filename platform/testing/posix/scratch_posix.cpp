#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/posix/posix_path.h"
#include "platform/testing/scratch.h"

std::string MakeScratchDir(const std::string& tag) {
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tovaro-" + tag + "-XXXXXX";
  if (mkdtemp(templ.data()) == nullptr) {
    return std::string();
  }
  return templ + "\\";
}

void RemoveTree(const std::string& dir) {
  std::error_code ignored;
  std::filesystem::remove_all(NativePath(dir), ignored);
}

bool MakeDirectory(const std::string& dir) {
  std::error_code error;
  std::filesystem::create_directory(NativePath(dir), error);
  return !error && std::filesystem::is_directory(NativePath(dir), error);
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) {
    return false;
  }
  // One block read: a byte-wise iterator is very slow in sanitized builds.
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size < 0) {
    return false;
  }
  bytes.assign(static_cast<std::size_t>(size), 0);
  return size == 0 || static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  return chmod(NativePath(path).c_str(), readOnly ? 0444 : 0644) == 0;
}

bool DirectoryExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(NativePath(path), error);
}

bool MakeHardLink(const std::string& target, const std::string& link) {
  return ::link(NativePath(target).c_str(), NativePath(link).c_str()) == 0;
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return ::symlink(NativePath(target).c_str(), NativePath(link).c_str()) == 0;
}
