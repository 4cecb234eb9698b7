#include "image/layout.h"

#include <gtest/gtest.h>

#include "tests/image/test_files.h"

namespace tarn::test {
namespace {

ImageLayout Describe(const std::string& path) {
  CFile file;
  EXPECT_TRUE(file.Open(path.c_str(), CFile::modeRead));
  RomImage image;
  image.Load(file);
  return DescribeImage(image, path);
}

std::vector<std::pair<Signature, uint64_t>> Found(const ImageLayout& l) {
  std::vector<std::pair<Signature, uint64_t>> found;
  for (const RecordReport& r : l.records) found.emplace_back(r.sig, r.offset);
  return found;
}

TEST(ParagraphScan, SeesSignaturesOnlyAtParagraphStarts) {
  TempDir dir;
  const uint32_t length = kRebuiltAreaEnd + 0x100 + 8;  // ends in a partial paragraph
  RomBuilder image(length);
  image
      .Raw(0x18, "$VER")                     // off the grid
      .Raw(0x10, "$IMG")                     // on it
      .Raw(0x20, "$EMG")                     // inside the $IMG's data: a record all the same
      .Raw(0x2FFF0, "$BMP")                  // last paragraph of the rebuilt area
      .Raw(kRebuiltAreaEnd + 0xF0, "$PAL")   // kept area, last whole paragraph
      .Raw(kRebuiltAreaEnd + 0x100, "$IMG")  // in the trailing partial paragraph: never examined
      .Raw(kRebuiltAreaEnd + 0x40, "$PAD")   // never scanned for
      .Raw(kRebuiltAreaEnd + 0x50, "$KVT");
  WriteBytes(dir / "a.rom", image.bytes());
  const ImageLayout l = Describe(dir / "a.rom");
  EXPECT_EQ(Found(l), (std::vector<std::pair<Signature, uint64_t>>{{Signature::Img, 0x10},
                                                                   {Signature::Emg, 0x20},
                                                                   {Signature::Bmp, 0x2FFF0},
                                                                   {Signature::Pal, 0x300F0}}));
  EXPECT_FALSE(l.versionOffset);
  EXPECT_TRUE(l.newFormat);
}

TEST(Layout, AgreesWithWhatTheTransferWrites) {
  TempDir dir;
  RomBuilder image(0x50000, 0x00);
  image.Version(0x30, '3', '3', '0')
      .Record(0x400, Signature::Pal, 0)
      .Record(0x1000, Signature::Img, 0x777)
      .Record(0x2000, Signature::Bmp, 0x300)
      .Record(0x3000, Signature::Emg, 0x1)
      .Record(0x40000, Signature::Img, 0x2F);
  WriteBytes(dir / "in.rom", image.bytes());
  const ImageLayout l = Describe(dir / "in.rom");
  ASSERT_TRUE(l.fits) << l.problem;
  EXPECT_EQ(l.version, 330u);

  ASSERT_EQ(RunOnce({dir / "in.rom", dir / "out.rom", "", "", ""}).result, TransferResult::Completed);
  const Bytes out = ReadBytes(dir / "out.rom");
  EXPECT_EQ(ReadLe32(&out[kDataLengthOffset]) + kFillerSize, l.top) << "the filler reaches the lowest block";
  uint32_t previousEnd = l.top;
  for (const PlacedBlock& b : l.blocks) {
    EXPECT_EQ(b.start % kParagraph, 0u);
    EXPECT_GE(b.start, previousEnd);
    EXPECT_LT(b.start - previousEnd, kParagraph);
    EXPECT_TRUE(std::equal(&out[b.start], &out[b.start + b.size], &image.bytes()[b.source]))
        << SignatureName(b.sig) << " from " << b.source;
    previousEnd = b.start + b.size;
  }
  EXPECT_GT(previousEnd, kRebuiltAreaEnd - kParagraph);
  EXPECT_EQ(l.freeBytes, l.top - kFillerSize);
}

TEST(Layout, NamesTheRecordThatStopsARebuild) {
  TempDir dir;
  RomBuilder image(kRebuiltAreaEnd);
  image.Record(0x100, Signature::Img, 0x10).Record(0x2FF00, Signature::Bmp, 0x100);
  WriteBytes(dir / "in.rom", image.bytes());
  const ImageLayout l = Describe(dir / "in.rom");
  EXPECT_FALSE(l.fits);
  EXPECT_EQ(l.problem, "$BMP record at 0x2FF00 in " + (dir / "in.rom") +
                           " declares 0x120 bytes; only 0x100 remain.\nTransfer Abort");
  EXPECT_FALSE(l.records[1].fits);
}

}  // namespace
}  // namespace tarn::test
