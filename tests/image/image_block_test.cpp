#include "image/image_block.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "image/rom_format.h"
#include "tools/rom_builder.h"

namespace tarn {
namespace {

// A block of size bytes, every byte `fill`.
CImageBlock* Block(uint32_t size, uint8_t fill) {
  auto* block = new CImageBlock;
  EXPECT_TRUE(block->Load(size, [&](uint8_t* data) { std::fill(data, data + size, fill); }));
  return block;
}

struct Packing : testing::Test {
  Packing() : image(kRebuiltAreaEnd + 0x100, 0xEE) {}
  ~Packing() override { DestroyBlocks(list); }
  bool AllZero(size_t from, size_t to) const {
    return std::all_of(image.begin() + long(from), image.begin() + long(to),
                       [](uint8_t b) { return b == 0; });
  }
  Bytes image;
  CBlockList list{kBlockListGranularity};
  int32_t top = -1;
};

TEST_F(Packing, EmptyListClearsTheRebuiltAreaOnly) {
  EXPECT_TRUE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0x30000);
  EXPECT_TRUE(AllZero(0, kRebuiltAreaEnd));
  EXPECT_EQ(image[kRebuiltAreaEnd], 0xEE) << "the kept area is not touched";
}

TEST_F(Packing, WorkedExampleLastCollectedGoesHighest) {
  list.AddHead(Block(0x1234, 0xA1));  // collected first
  list.AddHead(Block(0x100, 0xB2));   // collected second, placed first
  ASSERT_TRUE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0x2ECC0);
  EXPECT_TRUE(std::all_of(&image[0x2FF00], &image[0x30000], [](uint8_t b) { return b == 0xB2; }));
  EXPECT_TRUE(std::all_of(&image[0x2ECC0], &image[0x2FEF4], [](uint8_t b) { return b == 0xA1; }));
  EXPECT_TRUE(AllZero(0x2FEF4, 0x2FF00)) << "the gap up to the next block stays zero";
  EXPECT_TRUE(AllZero(0, 0x2ECC0));
  EXPECT_TRUE(list.IsEmpty());
}

TEST_F(Packing, PartialParagraphLeavesZeroesUpToTheTop) {
  list.AddHead(Block(0x105, 0x77));
  ASSERT_TRUE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0x2FEF0);
  EXPECT_EQ(image[0x2FEF0 + 0x104], 0x77);
  EXPECT_TRUE(AllZero(0x2FEF0 + 0x105, kRebuiltAreaEnd)) << "11 zero bytes";
}

TEST_F(Packing, BlockOfTheWholeAreaFitsOneMoreDoesNot) {
  list.AddHead(Block(0x30000, 0x11));
  ASSERT_TRUE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0);

  list.AddHead(Block(0x30001, 0x22));
  EXPECT_FALSE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0x30000);
  EXPECT_TRUE(AllZero(0, kRebuiltAreaEnd));
}

TEST_F(Packing, StopsAtTheFirstMisfitAndLeavesTheRestInTheList) {
  list.AddHead(Block(0x40, 0x03));     // would fit, but comes after the misfit
  list.AddHead(Block(0x2FFF0, 0x02));  // does not fit below the first
  list.AddHead(Block(0x20, 0x01));
  EXPECT_FALSE(PackBlocks(image.data(), list, top));
  EXPECT_EQ(top, 0x2FFE0);
  EXPECT_EQ(list.GetCount(), 2u);
  EXPECT_TRUE(AllZero(0, 0x2FFE0)) << "nothing after the misfit is placed";
}

TEST_F(Packing, EmptyBlockIsSkipped) {
  RomBuilder record(kParagraph * 2);
  record.Record(0, Signature::Img, 0xFFFFFFE0);  // wraps to a block of 0 bytes
  auto* empty = new CImageBlock;
  ASSERT_TRUE(empty->Load(record.bytes().data(), 1));
  EXPECT_EQ(empty->Size(), 0u);
  EXPECT_EQ(empty->PlaceBelow(image.data(), top = 0x30000), 0);
  EXPECT_EQ(top, 0x30000);
  delete empty;
}

TEST(ImageBlock, LoadCopiesTheRecordSizedByTheRule) {
  RomBuilder source(0x100, 0x99);
  source.Record(0, Signature::Bmp, 0x40);
  for (uint8_t newFormat : {uint8_t(0), uint8_t(1)}) {
    CImageBlock block;
    ASSERT_TRUE(block.Load(source.bytes().data(), newFormat));
    const uint32_t size = newFormat ? 0x60 : 0x55;
    ASSERT_EQ(block.Size(), size);
    EXPECT_TRUE(std::equal(block.Data(), block.Data() + size, source.bytes().begin()));
  }
}

TEST(ImageBlock, TooLargeToEverFitNeedsNoMemory) {
  CImageBlock block;
  ASSERT_TRUE(block.Load(0xFFFFFFF0u, [](uint8_t*) { FAIL() << "no bytes are copied"; }));
  Bytes image(kRebuiltAreaEnd);
  int32_t top = 0x30000;
  EXPECT_EQ(block.PlaceBelow(image.data(), top), -1);
  EXPECT_EQ(top, 0x30000);
}

}  // namespace
}  // namespace tarn
