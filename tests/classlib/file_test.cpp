#include "classlib/file.h"

#include <gtest/gtest.h>

#include "tests/image/test_files.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using tarn::Bytes;
using tarn::test::ReadBytes;
using tarn::test::TempDir;
using tarn::test::WriteBytes;

TEST(ExclusiveFile, OneOpeningHoldsThePathAgainstAllOthers) {
  TempDir dir;
  const std::string path = dir / "f.bin";
  WriteBytes(path, {1, 2, 3});
  CFile first, second;
  ASSERT_TRUE(first.Open(path.c_str(), CFile::modeRead));
  EXPECT_FALSE(second.Open(path.c_str(), CFile::modeRead));
  EXPECT_FALSE(second.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_FALSE(second.IsOpen());
  first.Close();
  EXPECT_EQ(ReadBytes(path), Bytes({1, 2, 3})) << "a failed opening for writing truncates nothing";
  EXPECT_TRUE(second.Open(path.c_str(), CFile::modeRead));
}

#ifndef _WIN32
TEST(ExclusiveFile, LinksNameTheSameHeldFile) {
  TempDir dir;
  const std::string path = dir / "f.bin", soft = dir / "soft", hard = dir / "hard";
  WriteBytes(path, {9});
  ASSERT_EQ(symlink(path.c_str(), soft.c_str()), 0);
  ASSERT_EQ(link(path.c_str(), hard.c_str()), 0);
  CFile holder, other;
  ASSERT_TRUE(holder.Open(path.c_str(), CFile::modeRead));
  EXPECT_FALSE(other.Open(soft.c_str(), CFile::modeRead));
  EXPECT_FALSE(other.Open(hard.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(ReadBytes(path), Bytes({9}));
}

TEST(ExclusiveFile, OnlyRegularFilesOpen) {
  TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  CFile file;
  std::string error;
  EXPECT_FALSE(file.Open(fifo.c_str(), CFile::modeRead, &error)) << "and does not wait for a writer";
  EXPECT_FALSE(file.Open(dir.path().string().c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error, "Is a directory");
}

TEST(ExclusiveFile, FinalPathFollowsASymbolicLink) {
  TempDir dir;
  const std::string path = dir / "real", soft = dir / "soft";
  WriteBytes(path, {1});
  ASSERT_EQ(symlink(path.c_str(), soft.c_str()), 0);
  EXPECT_EQ(std::string(CFile::FinalPath(soft.c_str())), std::string(CFile::FinalPath(path.c_str())));
  EXPECT_EQ(std::string(CFile::FinalPath(path.c_str())), path);
}
#endif

TEST(ExclusiveFile, CreateNewRefusesAnExistingFile) {
  TempDir dir;
  const std::string path = dir / "f.bin";
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreateNew | CFile::modeWrite));
  file.Close();
  EXPECT_FALSE(file.Open(path.c_str(), CFile::modeCreateNew | CFile::modeWrite));
}

TEST(FileData, ShortReadsAndCopiesThrowWithThePath) {
  TempDir dir;
  const std::string path = dir / "f.bin", copy = dir / "copy.bin";
  Bytes data(3000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i);
  WriteBytes(path, data);
  CFile in, out;
  ASSERT_TRUE(in.Open(path.c_str(), CFile::modeRead));
  ASSERT_TRUE(out.Open(copy.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(in.GetLength(), 3000u);
  out.CopyFrom(in, 1000, 2000);
  out.Close();
  EXPECT_EQ(ReadBytes(copy), Bytes(data.begin() + 1000, data.end()));

  uint8_t buffer[16];
  in.Seek(2990);
  try {
    in.ReadExactly(buffer, sizeof buffer);
    FAIL() << "a short read must throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot read " + path + ": the file became shorter while it was read");
  }
  ASSERT_TRUE(out.Open(copy.c_str(), CFile::modeCreate | CFile::modeWrite));
  EXPECT_THROW(out.CopyFrom(in, 2000, 1001), CFileException);
}

TEST(FileData, RenameReplacesTheTarget) {
  TempDir dir;
  WriteBytes(dir / "new", {1});
  WriteBytes(dir / "old", {2, 2});
  ASSERT_TRUE(CFile::Rename((dir / "new").c_str(), (dir / "old").c_str()));
  EXPECT_EQ(ReadBytes(dir / "old"), Bytes({1}));
  EXPECT_FALSE(CFile::Exists((dir / "new").c_str()));
}

}  // namespace
