#include "fuzz/expected_transfer.h"

#include <algorithm>

#include "image/messages.h"

namespace tarn::fuzz {
namespace {

struct Stopped {
  std::string message;
};

class Model {
 public:
  Model(const FuzzCase& c, const CaseFiles& files, const CasePaths& paths)
      : m_case(c), m_files(files), m_paths(paths), m_image(files.image) {}

  ExpectedTransfer Run() {
    ExpectedTransfer out;
    if (m_image.size() < kRebuiltAreaEnd) {
      out.message = msg::ImageTooShort(m_paths.input, m_image.size());
      return out;
    }
    if (m_case.outputKind == OutputKind::Existing) {
      out.asks = true;
      if (!m_case.Has(bit::kAnswerYes)) {
        out.result = TransferResult::Declined;
        return out;
      }
    }
    try {
      Steps();
      out.result = TransferResult::Completed;
      out.output = m_image;
    } catch (const Stopped& stop) {
      out.message = stop.message;
    }
    return out;
  }

 private:
  void Steps() {
    // Anything but a plain absent or existing file cannot be held for writing.
    if (m_case.outputKind != OutputKind::Absent && m_case.outputKind != OutputKind::Existing)
      throw Stopped{msg::OpenError(m_paths.output)};
    m_newFormat = FirstVersionSaysNew();
    if (m_case.Has(bit::kDramDivisor)) PatchBootRecord();

    if (m_case.Has(bit::kGiveModule)) {
      Open(m_case.moduleKind, m_paths.module);
      if (StartsWith(m_files.module, Signature::Img))
        Collect(m_files.module, Signature::Img, 0, m_paths.module);
    }
    const bool ownLogo = !m_case.Has(bit::kChangeLogo);
    for (Signature wanted : {Signature::Img, Signature::Emg}) CollectFromImage({wanted});
    if (ownLogo) CollectFromImage({Signature::Bmp, Signature::Pal});
    if (!ownLogo) {
      if (!m_case.Has(bit::kGiveLogo)) throw Stopped{msg::kNoLogoFile};
      Open(m_case.logoKind, m_paths.logo);
      if (!m_case.Has(bit::kGivePalette)) throw Stopped{msg::kNoPaletteFile};
      Open(m_case.paletteKind, m_paths.palette);
      if (!StartsWith(m_files.logo, Signature::Bmp)) throw Stopped{msg::kNotLogoFile};
      Collect(m_files.logo, Signature::Bmp, 0, m_paths.logo);
      if (!StartsWith(m_files.palette, Signature::Pal)) throw Stopped{msg::kNotPaletteFile};
      Collect(m_files.palette, Signature::Pal, 0, m_paths.palette);
    }
    Pack();
  }

  bool FirstVersionSaysNew() const {
    for (size_t at = 0; at + kParagraph <= m_image.size(); at += kParagraph) {
      if (ReadLe32(&m_image[at]) != uint32_t(Signature::Ver)) continue;
      auto digit = [&](uint32_t offset) { return uint32_t(uint8_t(m_image[at + offset] - '0')); };
      const uint32_t version =
          100 * digit(kVersionHundredsOffset) + 10 * digit(kVersionTensOffset) + digit(kVersionUnitsOffset);
      return version >= kFirstNewFormatVersion;
    }
    return true;
  }

  void PatchBootRecord() {
    uint8_t* kvt = &m_image[m_image.size() - kBootAreaSize];
    if (ReadLe32(kvt) != uint32_t(Signature::Kvt)) return;
    kvt[kKvtDivisorOffset] = m_case.divisor;
    uint8_t sum = 0;
    for (uint32_t i = 0; i < kKvtChecksumOffset; ++i) sum = uint8_t(sum + kvt[i]);
    kvt[kKvtChecksumOffset] = uint8_t(0x100 - sum);
  }

  // A supplied file whose path names no regular file of its own fails to
  // open; one that shares the path of a file opened before it is held.
  static void Open(FileKind kind, const std::string& path) {
    if (kind != FileKind::Regular) throw Stopped{msg::OpenError(path)};
  }

  static bool StartsWith(const Bytes& file, Signature sig) {
    return file.size() >= kSignatureSize && ReadLe32(file.data()) == uint32_t(sig);
  }

  void CollectFromImage(std::initializer_list<Signature> wanted) {
    // The image as it stands after the boot-record patch.
    for (size_t at = 0; at + kParagraph <= m_image.size(); at += kParagraph)
      for (Signature sig : wanted)
        if (ReadLe32(&m_image[at]) == uint32_t(sig)) Collect(m_image, sig, at, m_paths.input);
  }

  void Collect(const Bytes& source, Signature sig, uint64_t offset, const std::string& name) {
    const HeaderFormat format = FormatOf(m_newFormat);
    const uint64_t remaining = source.size() - offset;
    uint64_t size = format.headerSize;
    bool declared = false;
    if (sig == Signature::Pal) {
      size = format.paletteBlockSize;
    } else if (remaining >= kDataLengthEnd) {
      size = uint64_t(ReadLe32(&source[offset + kDataLengthOffset])) + format.headerSize;
      declared = true;
    }
    if (size > remaining) throw Stopped{msg::RecordOverrun(sig, offset, name, size, remaining, declared)};
    // The bytes are cut now: later patches of the image must not show in the block.
    m_cut.push_back(Bytes(source.begin() + long(offset), source.begin() + long(offset + size)));
  }

  // The block collected last goes highest, each one directly below the one
  // before, its start rounded down to a paragraph.
  void Pack() {
    int64_t top = kRebuiltAreaEnd;
    std::vector<std::pair<int64_t, const Bytes*>> placed;
    for (auto block = m_cut.rbegin(); block != m_cut.rend(); ++block) {
      if (block->empty()) continue;
      const int64_t start = top - int64_t(block->size());
      if (start < 0) throw Stopped{msg::kTooLarge};
      top = start / kParagraph * kParagraph;
      placed.push_back({top, &*block});
    }
    if (m_newFormat && top < int64_t(kFillerSize)) throw Stopped{msg::kTooLarge};
    std::fill(m_image.begin(), m_image.begin() + kRebuiltAreaEnd, uint8_t(0));
    for (const auto& [start, bytes] : placed)
      std::copy(bytes->begin(), bytes->end(), m_image.begin() + start);
    if (m_newFormat) {
      const uint32_t span = uint32_t(top - int64_t(kFillerSize)) << 8;
      WriteLe32(&m_image[0], uint32_t(Signature::Pad));
      WriteLe32(&m_image[4], kFillerKind);
      WriteLe32(&m_image[8], span);
      WriteLe32(&m_image[12], span);
      WriteLe32(&m_image[28], kFillerTrailer);
    }
  }

  const FuzzCase& m_case;
  const CaseFiles& m_files;
  const CasePaths& m_paths;
  Bytes m_image;
  bool m_newFormat = true;
  std::vector<Bytes> m_cut;
};

}  // namespace

ExpectedTransfer Expect(const FuzzCase& c, const CaseFiles& files, const CasePaths& paths) {
  return Model(c, files, paths).Run();
}

}  // namespace tarn::fuzz
