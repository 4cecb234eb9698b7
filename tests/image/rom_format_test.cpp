#include "image/rom_format.h"

#include <gtest/gtest.h>

#include "tools/rom_builder.h"

namespace tarn {
namespace {

struct VersionCase {
  uint8_t hundreds, tens, units;
  uint32_t version;
  bool newFormat;
};

TEST(VersionRule, DigitsDecideTheHeaderFormat) {
  const VersionCase cases[] = {
      {'3', '2', '4', 324, false},
      {'3', '2', '5', 325, true},
      {'0', '9', '9', 99, false},
      {'9', '9', '9', 999, true},
      // A byte below '0' wraps in 8 bits: 0x2E - 0x30 = 254, so the version is large.
      {0x2E, '0', '0', 25400, true},
      {0xFF, 0xFF, 0xFF, 100 * 0xCF + 10 * 0xCF + 0xCF, true},
  };
  for (const VersionCase& c : cases) {
    RomBuilder ver(kParagraph);
    ver.Version(0, char(c.hundreds), char(c.tens), char(c.units));
    EXPECT_EQ(VersionOf(ver.bytes().data()), c.version) << c.hundreds << c.tens << c.units;
    EXPECT_EQ(IsNewFormat(ver.bytes().data()), c.newFormat) << c.hundreds << c.tens << c.units;
  }
}

TEST(VersionRule, NoVersionRecordMeansNewFormat) { EXPECT_TRUE(IsNewFormat(nullptr)); }

struct SizeCase {
  Signature sig;
  uint32_t dataLength;
  bool newFormat;
  uint32_t blockSize;
  uint64_t declared;
};

TEST(BlockSizeRule, HeaderPlusDataLengthExceptForPalettes) {
  const SizeCase cases[] = {
      {Signature::Bmp, 0x1F00, true, 0x1F20, 0x1F20},
      {Signature::Bmp, 0x1F00, false, 0x1F15, 0x1F15},
      {Signature::Img, 0, true, 0x20, 0x20},
      {Signature::Emg, 0x10, false, 0x25, 0x25},
      // Palettes have a fixed size whatever their length field says.
      {Signature::Pal, 0x12345678, true, 0x420, 0x420},
      {Signature::Pal, 0, false, 0x410, 0x410},
      // The rule wraps in 32 bits; the declared size used for bounds checks does not.
      {Signature::Img, 0xFFFFFFE0, true, 0, 0x100000000},
      {Signature::Img, 0xFFFFFFFF, false, 0x14, 0x100000014},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(BlockSize(c.sig, c.dataLength, c.newFormat), c.blockSize)
        << SignatureName(c.sig) << c.dataLength;
    EXPECT_EQ(DeclaredRecordSize(c.sig, c.dataLength, c.newFormat), c.declared) << SignatureName(c.sig);
  }
}

TEST(Signatures, AreRecognisedByAllFourBytes) {
  const std::pair<const char*, std::optional<Signature>> cases[] = {
      {"$VER", Signature::Ver},
      {"$IMG", Signature::Img},
      {"$EMG", Signature::Emg},
      {"$BMP", Signature::Bmp},
      {"$PAL", Signature::Pal},
      // Written or patched by the tool, never collected by a scan.
      {"$PAD", std::nullopt},
      {"$KVT", std::nullopt},
      {"$IMH", std::nullopt},
      {"#IMG", std::nullopt},
      {"$img", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    EXPECT_EQ(ScannedSignatureAt(bytes), expected) << text;
  }
  EXPECT_EQ(SignatureName(Signature::Pad), "$PAD");
  EXPECT_EQ(SignatureName(Signature::Kvt), "$KVT");
}

TEST(FillerRecord, SpansEverythingBelowTheLowestBlock) {
  Bytes area(0x40, 0);
  WriteFiller(area.data(), 0x2ECC0);
  const Bytes expected = {'$', 'P', 'A', 'D', 3, 0, 0, 0, 0x00, 0xA0, 0xEC, 0x02, 0x00, 0xA0, 0xEC, 0x02,
                          0,   0,   0,   0,   0, 0, 0, 0, 0,    0,    0,    0,    0,    0,    0,    0x0A};
  EXPECT_EQ(Bytes(area.begin(), area.begin() + 32), expected);
  EXPECT_EQ(Bytes(area.begin() + 32, area.end()), Bytes(0x20, 0));

  WriteFiller(area.data(), kRebuiltAreaEnd);  // no block placed
  EXPECT_EQ(Bytes(area.begin() + 8, area.begin() + 16),
            (Bytes{0x00, 0xE0, 0xFF, 0x02, 0x00, 0xE0, 0xFF, 0x02}));
  // Read as a new-format header, the filler's data length reaches exactly to T.
  EXPECT_EQ(ReadLe32(&area[kDataLengthOffset]) + kNewFormat.headerSize, kRebuiltAreaEnd);
}

TEST(BootPatch, WritesTheDivisorAndMakesTheFirstNineBytesSumToZero) {
  RomBuilder kvt(kParagraph, 0x5A);
  kvt.Raw(0, "$KVT");
  PatchKvt(kvt.bytes().data(), 5);
  EXPECT_EQ(kvt.bytes()[kKvtDivisorOffset], 5);
  uint8_t sum = 0;
  for (uint32_t i = 0; i < kKvtPatchedSize; ++i) sum = uint8_t(sum + kvt.bytes()[i]);
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(kvt.bytes()[kKvtPatchedSize], 0x5A) << "nothing after the checksum changes";
}

TEST(Placement, AlignsDownToAParagraph) {
  EXPECT_EQ(PlacementBelow(0x30000, 0x105), 0x2FEF0);
  EXPECT_EQ(PlacementBelow(0x2FF00, 0x1234), 0x2ECC0);
  EXPECT_EQ(PlacementBelow(0x30000, 0x30000), 0);
  EXPECT_EQ(PlacementBelow(0x30000, 0x30001), std::nullopt);
  EXPECT_EQ(PlacementBelow(0x10, 0xFFFFFFFF), std::nullopt) << "no wrap-around for huge blocks";
}

}  // namespace
}  // namespace tarn
