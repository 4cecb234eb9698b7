// tarn-make-fuzz-corpus: writes the seed corpus of the transfer fuzzer into a
// folder: the sample image of tarn-make-sample, re-expressed in the fuzzer's
// sparse encoding, with its supplied files, and one case for each way a
// transfer can stop. Each seed is a few KiB at most.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "fuzz/fuzz_case.h"
#include "tools/sample_image.h"

namespace tarn::fuzz {
namespace {

uint8_t SignatureIndex(Signature sig) {
  for (size_t i = 0; i < kOpSignatureCount; ++i)
    if (kOpSignatures[i] == sig) return uint8_t(i);
  return 0;
}

Op RecordOp(Signature sig, uint32_t offset, uint32_t dataLength, uint32_t fill) {
  Op op;
  op.kind = OpKind::Record;
  op.signature = SignatureIndex(sig);
  op.position = offset / kParagraph;
  op.dataLength = dataLength;
  op.fill = fill;
  return op;
}

Op VersionOp(uint32_t offset, sample::Version v) {
  Op op;
  op.kind = OpKind::Version;
  op.position = offset / kParagraph;
  op.bytes = {uint8_t(v.hundreds), uint8_t(v.tens), uint8_t(v.units)};
  return op;
}

Op BootRecordOp(const Bytes& kvt) {
  Op op;
  op.kind = OpKind::BootRecord;
  op.bytes.assign(kvt.begin() + kSignatureSize, kvt.begin() + kKvtPatchedSize);
  return op;
}

// A file given byte for byte, in raw pieces.
FileDescription Literal(const Bytes& bytes) {
  constexpr size_t kPiece = 255;
  FileDescription d;
  d.length = uint32_t(bytes.size());
  for (size_t at = 0; at < bytes.size(); at += kPiece) {
    Op op;
    op.kind = OpKind::Raw;
    op.position = uint32_t(at);
    op.bytes.assign(bytes.begin() + long(at), bytes.begin() + long(std::min(bytes.size(), at + kPiece)));
    d.ops.push_back(op);
  }
  return d;
}

// A supplied file that is one record, as long as the generator's.
FileDescription RecordFile(const Bytes& file, bool newFormat) {
  const auto sig = Signature(ReadLe32(file.data()));
  const uint32_t length = ReadLe32(&file[kDataLengthOffset]);
  return {uint32_t(file.size()), 0, {RecordOp(sig, 0, length, BlockSize(sig, length, newFormat))}};
}

// The sample image with its records as the generator places them; the code
// bytes between them are left out, the fill byte stands for them.
FuzzCase FromSample(bool newFormat) {
  const sample::Sample s = sample::MakeSample(sample::kMinImageSize, newFormat);
  FuzzCase c;
  c.image.length = uint32_t(s.image.size());
  c.image.fill = 0xC3;
  for (const sample::PlacedRecord& r : s.records) {
    if (r.sig == Signature::Ver) {
      c.image.ops.push_back(VersionOp(r.offset, s.version));
      continue;
    }
    const uint32_t length = ReadLe32(&s.image[r.offset + kDataLengthOffset]);
    c.image.ops.push_back(RecordOp(r.sig, r.offset, length, BlockSize(r.sig, length, newFormat)));
  }
  c.image.ops.push_back(BootRecordOp(Bytes(s.image.begin() + s.kvtOffset, s.image.end())));
  // The picture is kilobytes of run lengths; the builder's pattern stands in for it.
  c.logo = RecordFile(s.logo, newFormat);
  c.palette = Literal(s.palette);
  c.module = RecordFile(s.module, newFormat);
  return c;
}

FileDescription Image(uint32_t length, std::vector<Op> ops) { return {length, 0, std::move(ops)}; }

FuzzCase ImageOnly(uint8_t flags, FileDescription image) {
  FuzzCase c;
  c.flags = flags;
  c.image = std::move(image);
  return c;
}

struct Seed {
  const char* name;
  FuzzCase c;
};

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  auto with = [](FuzzCase c, auto&& change) {
    change(c);
    return c;
  };
  const FuzzCase sampleNew = FromSample(true);
  const FuzzCase sampleOld = FromSample(false);
  seeds.push_back({"sample-own-logo", sampleNew});
  seeds.push_back({"sample-all-files", with(sampleNew, [](FuzzCase& c) {
                     c.flags = bit::kChangeLogo | bit::kGiveLogo | bit::kGivePalette | bit::kGiveModule |
                               bit::kDramDivisor;
                     c.divisor = 5;
                   })});
  seeds.push_back({"sample-old-format-replace", with(sampleOld, [](FuzzCase& c) {
                     c.flags = bit::kChangeLogo | bit::kGiveLogo | bit::kGivePalette | bit::kAnswerYes;
                     c.outputKind = OutputKind::Existing;
                   })});
  seeds.push_back(
      {"sample-keep-existing", with(sampleNew, [](FuzzCase& c) { c.outputKind = OutputKind::Existing; })});
  seeds.push_back({"sample-held-files", with(sampleNew, [](FuzzCase& c) {
                     c.flags = bit::kChangeLogo | bit::kGiveLogo | bit::kGivePalette | bit::kGiveModule;
                     c.paletteKind = FileKind::SameAsPrevious;
                     c.moduleKind = FileKind::Fifo;
                     c.outputKind = OutputKind::SymlinkToInput;
                   })});
  // A data length that wraps around in 32 bits.
  seeds.push_back(
      {"wrapping-length",
       ImageOnly(0, Image(kRebuiltAreaEnd, {RecordOp(Signature::Img, 0x100, 0xFFFFFFF0, 0x40)}))});
  // Three blocks that fill the rebuilt area but for the filler's 32 bytes.
  seeds.push_back({"tight-fit", ImageOnly(0, Image(kRebuiltAreaEnd + kBootAreaSize,
                                                   {RecordOp(Signature::Img, 0x1000, 0xFFE0, 0x40),
                                                    RecordOp(Signature::Emg, 0x20000, 0xFFE0, 0x40),
                                                    RecordOp(Signature::Bmp, 0x30000, 0xFFC0, 0x40)}))});
  // An image whose length is no whole number of paragraphs: the checksum the
  // boot-record patch writes lands on the signature of the $IMG record after
  // it, which is then no record any more.
  {
    Op kvt;
    kvt.kind = OpKind::BootRecord;
    kvt.bytes = {1, 2, 3, 4, 0};
    FuzzCase c = ImageOnly(bit::kDramDivisor, Image(kRebuiltAreaEnd + 2 * kBootAreaSize + 8,
                                                    {kvt, RecordOp(Signature::Img, 0x40010, 0x100, 0x40)}));
    c.divisor = 3;
    seeds.push_back({"boot-patch-breaks-a-record", c});
  }
  seeds.push_back({"short-image", ImageOnly(bit::kShortImage, Image(kRebuiltAreaEnd - kParagraph, {}))});
  seeds.push_back({"not-a-logo", with(sampleNew, [](FuzzCase& c) {
                     c.flags = bit::kChangeLogo | bit::kGiveLogo | bit::kGivePalette;
                     c.logo = Image(0x40, {});
                   })});
  return seeds;
}

}  // namespace
}  // namespace tarn::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tarn-make-fuzz-corpus DIR\n";
    return 2;
  }
  for (const tarn::fuzz::Seed& seed : tarn::fuzz::Seeds()) {
    const std::string path = std::string(argv[1]) + "/" + seed.name;
    const tarn::Bytes bytes = tarn::fuzz::Encode(seed.c);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out.flush()) {
      std::cerr << "tarn-make-fuzz-corpus: cannot write " << path << "\n";
      return 1;
    }
    std::cout << path << ": " << bytes.size() << " bytes\n";
  }
  return 0;
}
