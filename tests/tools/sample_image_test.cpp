#include "tools/sample_image.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

namespace tarn::sample {
namespace {

struct Case {
  const char* name;
  size_t size;
  bool newFormat;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SampleImage : public testing::TestWithParam<Case> {
 protected:
  Sample sample = MakeSample(GetParam().size, GetParam().newFormat);
};

std::vector<PlacedRecord> ScanParagraphs(const Bytes& bytes) {
  std::vector<PlacedRecord> found;
  for (uint32_t at = 0; at + kParagraph <= bytes.size(); at += kParagraph)
    if (auto sig = ScannedSignatureAt(&bytes[at])) found.push_back({*sig, at});
  return found;
}

uint32_t BlockOf(const Bytes& bytes, uint32_t at, bool newFormat) {
  const Signature sig = Signature(ReadLe32(&bytes[at]));
  return BlockSize(sig, ReadLe32(&bytes[at + kDataLengthOffset]), newFormat);
}

// The lowest block start after packing the blocks, given in collection order.
std::optional<int32_t> PackedTop(const std::vector<uint32_t>& collected) {
  int32_t top = int32_t(kRebuiltAreaEnd);
  for (auto size = collected.rbegin(); size != collected.rend(); ++size) {
    const auto start = PlacementBelow(top, *size);
    if (!start) return std::nullopt;
    top = *start;
  }
  return top;
}

// A stray signature in code bytes or record data would be a record the
// README's listing does not expect, and could make a rebuild overflow.
TEST_P(SampleImage, HoldsExactlyThePlannedRecordsEachWholeInItsArea) {
  const Bytes& image = sample.image;
  const auto found = ScanParagraphs(image);
  ASSERT_EQ(found.size(), sample.records.size());
  std::map<std::pair<Signature, bool>, int> counts;  // by signature and whether in the rebuilt area
  auto count = [&](Signature sig, bool rebuilt) { return counts[std::make_pair(sig, rebuilt)]; };
  for (size_t i = 0; i < found.size(); ++i) {
    const PlacedRecord& r = found[i];
    SCOPED_TRACE(SignatureName(r.sig) + " at " + std::to_string(r.offset));
    EXPECT_EQ(r.sig, sample.records[i].sig);
    EXPECT_EQ(r.offset, sample.records[i].offset);
    const bool rebuilt = r.offset < kRebuiltAreaEnd;
    ++counts[std::make_pair(r.sig, rebuilt)];
    if (r.sig == Signature::Ver) continue;
    const uint32_t dataLength = ReadLe32(&image[r.offset + kDataLengthOffset]);
    const uint64_t end = r.offset + DeclaredRecordSize(r.sig, dataLength, sample.newFormat);
    EXPECT_LE(end, rebuilt ? kRebuiltAreaEnd : sample.kvtOffset);
  }
  EXPECT_EQ(count(Signature::Ver, true), 1);
  EXPECT_GE(count(Signature::Img, true), 2);
  EXPECT_EQ(count(Signature::Img, false), 1);
  EXPECT_GE(count(Signature::Emg, true), 2);
  EXPECT_EQ(count(Signature::Bmp, true), 1);
  EXPECT_EQ(count(Signature::Pal, true), 1);

  ASSERT_EQ(found[0].sig, Signature::Ver);
  EXPECT_EQ(IsNewFormat(&image[found[0].offset]), sample.newFormat);

  ASSERT_EQ(sample.kvtOffset, image.size() - kBootAreaSize);
  EXPECT_TRUE(HasSignature(&image[sample.kvtOffset], Signature::Kvt));
  const auto kvt = image.begin() + sample.kvtOffset;
  EXPECT_EQ(uint8_t(std::accumulate(kvt, kvt + kKvtPatchedSize, 0)), 0) << "boot record checksum";
}

TEST_P(SampleImage, SuppliedFilesAreOneWholeRecordEach) {
  const std::pair<const Bytes*, Signature> files[] = {
      {&sample.logo, Signature::Bmp}, {&sample.palette, Signature::Pal}, {&sample.module, Signature::Img}};
  for (const auto& [bytes, sig] : files) {
    SCOPED_TRACE(SignatureName(sig));
    const auto found = ScanParagraphs(*bytes);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].sig, sig);
    EXPECT_EQ(found[0].offset, 0u);
    EXPECT_EQ(DeclaredRecordSize(sig, ReadLe32(&(*bytes)[kDataLengthOffset]), sample.newFormat),
              bytes->size());
  }
}

// Both ways the README rebuilds the sample, with the module inserted.
TEST_P(SampleImage, RebuildsWithRoomToSpare) {
  const bool nf = sample.newFormat;
  std::vector<uint32_t> imgs, emgs, own;
  for (const PlacedRecord& r : sample.records) {
    const uint32_t size = BlockOf(sample.image, r.offset, nf);
    if (r.sig == Signature::Img) imgs.push_back(size);
    if (r.sig == Signature::Emg) emgs.push_back(size);
    if (r.sig == Signature::Bmp || r.sig == Signature::Pal) own.push_back(size);
  }
  std::vector<uint32_t> supplied = {BlockOf(sample.logo, 0, nf), BlockOf(sample.palette, 0, nf)};
  using Sizes = std::vector<uint32_t>;
  for (const Sizes* logoAndPalette : {&own, &supplied}) {
    Sizes collected = {BlockOf(sample.module, 0, nf)};
    for (const Sizes* group : std::initializer_list<const Sizes*>{&imgs, &emgs, logoAndPalette})
      collected.insert(collected.end(), group->begin(), group->end());
    const auto top = PackedTop(collected);
    ASSERT_TRUE(top.has_value());
    const int32_t bottom = nf ? int32_t(kFillerSize) : 0;
    EXPECT_GE(*top - bottom, int32_t(kSpareSpace)) << (logoAndPalette == &own ? "own logo" : "supplied logo");
  }
}

TEST_P(SampleImage, GivesTheSameBytesEveryTime) {
  const Sample again = MakeSample(GetParam().size, GetParam().newFormat);
  EXPECT_EQ(again.image, sample.image);
  EXPECT_EQ(again.logo, sample.logo);
  EXPECT_EQ(again.palette, sample.palette);
  EXPECT_EQ(again.module, sample.module);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SampleImage,
                         testing::Values(Case{"NewDefault", kDefaultImageSize, true},
                                         Case{"OldDefault", kDefaultImageSize, false},
                                         Case{"NewSmallest", kMinImageSize, true},
                                         Case{"OldSmallest", kMinImageSize, false}),
                         [](const testing::TestParamInfo<Case>& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace tarn::sample
