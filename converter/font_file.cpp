#include "converter/font_file.h"

#include "converter/a10_support.h"
#include "converter/sf2_format.h"
#include "files/files.h"

namespace {

// Reads through the file layer, never past the file's size; positions
// are 32-bit, so a file of 2 GB or more is not read.
class FileFontSource : public FontSource {
 public:
  explicit FileFontSource(const std::string& path) {
    if (OpenRead(path, file_)) {
      const std::uint32_t size = FileSizeOf(file_);
      size_ = size <= BankSizeMax ? size : 0;
      open_ = size <= BankSizeMax;
    }
  }
  ~FileFontSource() override { CloseFile(file_); }
  FileFontSource(const FileFontSource&) = delete;
  FileFontSource& operator=(const FileFontSource&) = delete;
  bool Open() const { return open_; }
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, void* to, std::size_t count) const override {
    return offset <= size_ && count <= size_ - offset &&
           (count == 0 || (SeekTo(file_, static_cast<std::int32_t>(offset)) &&
                           ReadBlock(file_, to, static_cast<std::int32_t>(count))));
  }

 private:
  FileHandle file_ = InvalidFileHandle;
  std::uint64_t size_ = 0;
  bool open_ = false;
};

std::int32_t ReadLayout(const std::string& path, const FileFontSource& source, FontLayout& layout) {
  if (!source.Open()) {
    return Refuse(A10NotAFile, path + " cannot be read.");
  }
  std::string why;
  if (!ParseFontLayout(source, layout, why)) {
    return Refuse(A10NotAFont, path + " is not a SoundFont the converter reads: " + why + ".");
  }
  return A10Ok;
}

}  // namespace

bool LooksLikeSoundFont(const std::string& path) {
  FileFontSource source(path);
  std::uint8_t head[12];
  return source.Open() && source.Read(0, head, 12) && std::string(head, head + 4) == "RIFF" &&
         std::string(head + 8, head + 12) == "sfbk";
}

std::int32_t ReadFontSampleList(const std::string& path, std::vector<FontSampleInfo>& samples) {
  samples.clear();
  FileFontSource source(path);
  FontLayout layout;
  const std::int32_t result = ReadLayout(path, source, layout);
  for (std::size_t i = 0; result == A10Ok && i < layout.Headers.size(); ++i) {
    FontSampleInfo info;
    info.Properties = FontHeaderProperties(layout.Headers[i], info.Frames);
    samples.push_back(info);
  }
  return result;
}

std::int32_t ReadFontSample(const std::string& path, std::int32_t index, Sample& sample) {
  FileFontSource source(path);
  FontLayout layout;
  std::int32_t result = ReadLayout(path, source, layout);
  if (result != A10Ok || (result = CheckIndex(index, layout.Headers.size(), path)) != A10Ok) {
    return result;
  }
  std::string why;
  if (!ReadFontSampleData(source, layout, static_cast<std::size_t>(index), sample, why)) {
    return Refuse(A10NotAFont, path + ": " + why + ".");
  }
  return A10Ok;
}
