// Binary file access against the real file system of the platform.
#include <gtest/gtest.h>

#include "files/file_operations.h"
#include "files/fileops.h"
#include "files/files.h"
#include "platform/testing/scratch.h"
#include "tests/support/file_bytes.h"

namespace {

class FileAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeScratchDir("files");
    ASSERT_FALSE(dir_.empty());
    path_ = dir_ + "data.bin";
    WriteAll(path_, Bytes{10, 20, 30, 40, 50});
  }
  void TearDown() override {
    SetReadOnly(path_, false);
    RemoveTree(dir_);
  }
  std::string dir_;
  std::string path_;
};

TEST_F(FileAccess, ReadsBytesAndBlocksFromAbsolutePositions) {
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenRead(path_, file));
  EXPECT_EQ(FileSizeOf(file), 5u);
  std::uint8_t byte = 0;
  ASSERT_TRUE(ReadByte(file, byte));
  EXPECT_EQ(byte, 10);
  ASSERT_TRUE(SeekTo(file, 3));
  ASSERT_TRUE(ReadByte(file, byte));
  EXPECT_EQ(byte, 40);
  ASSERT_TRUE(SeekStart(file));
  std::uint8_t block[3] = {};
  ASSERT_TRUE(ReadBlock(file, block, 3));
  EXPECT_EQ(block[2], 30);
  // Bytes are read through the replaceable table as blocks are: a test's
  // failing read fails them too, and leaves the byte alone.
  FileOperations().ReadBlock = [](FileHandle, void*, std::int32_t) { return false; };
  byte = 77;
  EXPECT_FALSE(ReadByte(file, byte));
  EXPECT_EQ(byte, 77);
  FileOperations() = SystemFileOperations();
  EXPECT_NE(CloseFile(file), 0);
}

TEST_F(FileAccess, TransfersPastTheEndFailAndKeepWhatMoved) {
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenRead(path_, file));
  ASSERT_TRUE(SeekTo(file, 5));
  std::uint8_t byte = 0x77;
  EXPECT_FALSE(ReadByte(file, byte));
  EXPECT_EQ(byte, 0x77) << "a failed read leaves the destination unchanged";

  ASSERT_TRUE(SeekTo(file, 3));
  std::uint8_t block[4] = {0, 0, 0, 0xEE};
  EXPECT_FALSE(ReadBlock(file, block, 4));
  EXPECT_EQ(block[0], 40);
  EXPECT_EQ(block[1], 50);
  EXPECT_EQ(block[3], 0xEE);

  EXPECT_FALSE(SeekTo(file, -1));
  EXPECT_TRUE(SeekTo(file, 1000)) << "a position beyond the end is allowed";
  EXPECT_FALSE(ReadByte(file, byte));
  CloseFile(file);
}

TEST_F(FileAccess, WritesInPlaceWithoutChangingTheLength) {
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenWrite(path_, file));
  ASSERT_TRUE(SeekTo(file, 1));
  ASSERT_TRUE(WriteByte(file, 0xAB));
  const std::uint8_t block[2] = {1, 2};
  ASSERT_TRUE(SeekTo(file, 3));
  ASSERT_TRUE(WriteBlock(file, block, 2));
  CloseFile(file);
  EXPECT_EQ(ReadAll(path_), (Bytes{10, 0xAB, 30, 1, 2}));
}

TEST_F(FileAccess, OpensNeverCreateAndRejectDirectories) {
  FileHandle file = 1234;
  EXPECT_FALSE(OpenRead(dir_ + "missing.bin", file));
  EXPECT_EQ(file, InvalidFileHandle);
  EXPECT_FALSE(OpenWrite(dir_ + "missing.bin", file));
  EXPECT_FALSE(FileExists(dir_ + "missing.bin"));
  ASSERT_TRUE(MakeDirectory(dir_ + "sub"));
  EXPECT_FALSE(OpenRead(dir_ + "sub", file));
  EXPECT_FALSE(FileExists(dir_ + "sub"));
}

TEST_F(FileAccess, ReadOnlyFileOpensForReadingOnly) {
  ASSERT_TRUE(SetReadOnly(path_, true));
  FileHandle file = InvalidFileHandle;
  EXPECT_FALSE(OpenWrite(path_, file));
  ASSERT_TRUE(OpenRead(path_, file));
  CloseFile(file);
  EXPECT_FALSE(RemoveFile(path_)) << "a read-only file is not deleted";
  EXPECT_TRUE(FileExists(path_));
}

TEST_F(FileAccess, OpenFilesShareReadingAndDenyWriting) {
  FileHandle reader = InvalidFileHandle;
  FileHandle other = InvalidFileHandle;
  ASSERT_TRUE(OpenRead(path_, reader));
  EXPECT_TRUE(OpenRead(path_, other)) << "two readers may share the file";
  CloseFile(other);
  EXPECT_FALSE(OpenWrite(path_, other)) << "a reader denies write access to others";
  CloseFile(reader);

  FileHandle writer = InvalidFileHandle;
  ASSERT_TRUE(OpenWrite(path_, writer));
  EXPECT_FALSE(OpenRead(path_, other)) << "a writer excludes readers";
  EXPECT_FALSE(OpenWrite(path_, other));
  CloseFile(writer);
  ASSERT_TRUE(OpenWrite(path_, writer));
  CloseFile(writer);
}

TEST_F(FileAccess, EmptyFileHasSizeZero) {
  const std::string empty = dir_ + "empty.bin";
  WriteAll(empty, Bytes{});
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenRead(empty, file));
  EXPECT_EQ(FileSizeOf(file), 0u);
  std::uint8_t byte = 5;
  EXPECT_FALSE(ReadByte(file, byte));
  CloseFile(file);
}

TEST_F(FileAccess, CopyReplacesAndListingFiltersByWildcard) {
  const std::string copy = dir_ + "copy.bin";
  WriteAll(copy, Bytes{1});
  ASSERT_TRUE(CopyFileOver(path_, copy));
  EXPECT_EQ(ReadAll(copy), ReadAll(path_));
  EXPECT_FALSE(CopyFileOver(dir_ + "missing.bin", copy));
  EXPECT_EQ(ReadAll(copy), ReadAll(path_)) << "a failed copy leaves the destination";
  WriteAll(dir_ + "a.wav", Bytes{1});
  WriteAll(dir_ + "b.WAV", Bytes{1});
  ASSERT_TRUE(MakeDirectory(dir_ + "c.wav"));
  EXPECT_EQ(ListFiles(dir_ + "*.wav"), (std::vector<std::string>{"a.wav", "b.WAV"}));
}

TEST_F(FileAccess, MoveAndWriteReplaceAllButReadOnlyFiles) {
  const std::string moved = dir_ + "moved.bin";
  ASSERT_TRUE(WriteFileOver(moved, {{"ab", 2}, {"", 0}, {"c", 1}}));
  EXPECT_EQ(ReadAll(moved), (Bytes{'a', 'b', 'c'}));
  ASSERT_TRUE(MoveFileOver(path_, moved));
  EXPECT_EQ(ReadAll(moved), (Bytes{10, 20, 30, 40, 50}));
  EXPECT_FALSE(FileExists(path_));
  EXPECT_FALSE(MoveFileOver(path_, moved)) << "nothing to move";
  ASSERT_TRUE(MoveFileOver(moved, path_)) << "onto a name that does not exist";

  ASSERT_TRUE(WriteFileOver(moved, {{"x", 1}}));
  ASSERT_TRUE(SetReadOnly(moved, true));
  EXPECT_FALSE(MoveFileOver(path_, moved));
  EXPECT_FALSE(WriteFileOver(moved, {{"yz", 2}}));
  ASSERT_TRUE(SetReadOnly(moved, false));
  EXPECT_EQ(ReadAll(moved), Bytes{'x'});
  EXPECT_EQ(ReadAll(path_), (Bytes{10, 20, 30, 40, 50}));
}

// Ranges of an open file are copied through a buffer that also gathers
// the small pieces: the order must hold across its chunk boundaries.
TEST_F(FileAccess, WriteCopiesRangesOfAnOpenFileBetweenPieces) {
  Bytes source(700000);
  for (std::size_t i = 0; i < source.size(); ++i) {
    source[i] = static_cast<std::uint8_t>(i * 7 % 251);
  }
  WriteAll(path_, source);
  const Bytes large(300000, 9);
  FileHandle file = InvalidFileHandle;
  ASSERT_TRUE(OpenRead(path_, file));
  const std::string written = dir_ + "written.bin";
  const bool ok = WriteFileOver(written, {{"ab", 2},
                                          {nullptr, 400000, file, 1},
                                          {"c", 1},
                                          {large.data(), large.size()},
                                          {nullptr, 3, file, 699997},
                                          {nullptr, 0, file, 0}});
  const bool pastTheEnd = WriteFileOver(dir_ + "short.bin", {{"ab", 2}, {nullptr, 4, file, 699997}});
  CloseFile(file);
  ASSERT_TRUE(ok);
  Bytes expected = {'a', 'b'};
  expected.insert(expected.end(), source.begin() + 1, source.begin() + 400001);
  expected.push_back('c');
  expected.insert(expected.end(), large.begin(), large.end());
  expected.insert(expected.end(), source.end() - 3, source.end());
  EXPECT_TRUE(ReadAll(written) == expected);
  EXPECT_FALSE(pastTheEnd);
  EXPECT_FALSE(FileExists(dir_ + "short.bin")) << "a failed write leaves no file";
}

}  // namespace
