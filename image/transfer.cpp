#include "image/transfer.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>

#include "image/collect.h"
#include "image/image_block.h"
#include "image/messages.h"
#include "image/output_file.h"
#include "image/rom_format.h"
#include "image/rom_image.h"

namespace tarn {
namespace {

// Bytes that a record may be cut from: the input image or a supplied file.
struct RecordSource {
  std::string name;
  uint64_t length;
  std::function<void(uint64_t offset, void* out, size_t count)> read;
};

RecordSource SourceOf(RomImage& image, const std::string& name) {
  return {name, image.Length(), [&image](uint64_t at, void* out, size_t n) { image.Read(at, out, n); }};
}

RecordSource SourceOf(CFile& file) {
  return {file.GetFilePath().str(), file.GetLength(), [&file](uint64_t at, void* out, size_t n) {
            file.Seek(at);
            file.ReadExactly(out, n);
          }};
}

// Thrown to stop the transfer once its one message has been shown.
struct Stop {
  TransferResult result;
};

class Transfer {
 public:
  Transfer(const TransferPaths& paths, const TransferSettings& settings, FileSlots files, TransferUi& ui)
      : m_paths(paths), m_settings(settings), m_files(files), m_ui(ui), m_output(files.output) {}

  // The release step: blocks, memory, then the files in a fixed order.
  ~Transfer() {
    DestroyBlocks(m_blocks);
    m_files.input.Close();
    m_files.logo.Close();
    m_files.palette.Close();
    m_files.output.Close();
    m_files.module.Close();
  }

  TransferResult Run() {
    try {
      Steps();
      return TransferResult::Completed;
    } catch (const Stop& stop) {
      return stop.result;
    } catch (const CFileException& e) {
      m_ui.Error(msg::FileFailure(e.what()));
    } catch (const std::bad_alloc&) {
      m_ui.Error(msg::OutOfMemory("the image", m_image.Length()));
    }
    return TransferResult::Failed;
  }

 private:
  [[noreturn]] void Fail(const std::string& text) {
    m_ui.Error(text);
    throw Stop{TransferResult::Failed};
  }

  void OpenForReading(CFile& slot, const CString& path) {
    if (!slot.Open(path, CFile::modeRead)) Fail(msg::OpenError(path.str()));
  }

  void Steps() {
    if (m_paths.inputRom.IsEmpty()) Fail(msg::kNoInputRom);
    OpenForReading(m_files.input, m_paths.inputRom);
    const uint64_t length = m_files.input.GetLength();
    if (length < kRebuiltAreaEnd) Fail(msg::ImageTooShort(m_paths.inputRom.str(), length));
    m_image.Load(m_files.input);

    if (m_paths.outputRom.IsEmpty()) Fail(msg::kNoOutputRom);
    if (m_files.output.Open(m_paths.outputRom, CFile::modeRead)) {
      m_files.output.Close();
      if (!m_ui.Ask(msg::kReplaceOutput)) throw Stop{TransferResult::Declined};
    }
    if (!m_output.Open(m_paths.outputRom, nullptr)) Fail(msg::OpenError(m_paths.outputRom.str()));

    const std::optional<uint64_t> ver = m_image.FirstVersion();
    if (ver) {
      uint8_t digits[kVersionUnitsOffset + 1];
      m_image.Read(*ver, digits, sizeof digits);
      m_newFormat = IsNewFormat(digits);
    }
    if (m_settings.options & OPT_DRAM_DIVISOR) PatchBootArea();

    const RecordSource image = SourceOf(m_image, m_paths.inputRom.str());
    if (!m_paths.moduleFile.IsEmpty()) CollectModule();
    const bool ownLogo = !(m_settings.options & OPT_CHANGE_LOGO);
    for (const FoundRecord& r : CollectedRecords(m_image.Records(), ownLogo)) Collect(image, r.sig, r.offset);
    if (!ownLogo) CollectLogoAndPalette();

    if (m_collectedBytes > kRebuiltAreaEnd) Fail(msg::kTooLarge);
    int32_t top = 0;
    const bool packed = PackBlocks(m_image.RebuiltArea(), m_blocks, top);
    // The filler record needs the room below the lowest block.
    if (!packed || (m_newFormat && uint32_t(top) < kFillerSize)) Fail(msg::kTooLarge);
    if (m_newFormat) WriteFiller(m_image.RebuiltArea(), uint32_t(top));

    m_image.WriteTo(m_output.File());
    m_output.Commit();
    m_ui.Finish(msg::kComplete);
  }

  void PatchBootArea() {
    const uint64_t at = m_image.Length() - kBootAreaSize;
    uint8_t kvt[kKvtPatchedSize];
    m_image.Read(at, kvt, sizeof kvt);
    if (!HasSignature(kvt, Signature::Kvt)) return;
    PatchKvt(kvt, m_settings.dramDivisor);
    m_image.Patch(at, kvt, sizeof kvt);
  }

  void CollectModule() {
    OpenForReading(m_files.module, m_paths.moduleFile);
    const RecordSource module = SourceOf(m_files.module);
    // Anything but a module record is passed over without a word.
    if (StartsWith(module, Signature::Img)) Collect(module, Signature::Img, 0);
  }

  void CollectLogoAndPalette() {
    if (m_paths.logoFile.IsEmpty()) Fail(msg::kNoLogoFile);
    OpenForReading(m_files.logo, m_paths.logoFile);
    if (m_paths.paletteFile.IsEmpty()) Fail(msg::kNoPaletteFile);
    OpenForReading(m_files.palette, m_paths.paletteFile);

    const RecordSource logo = SourceOf(m_files.logo);
    if (!StartsWith(logo, Signature::Bmp)) Fail(msg::kNotLogoFile);
    Collect(logo, Signature::Bmp, 0);
    const RecordSource palette = SourceOf(m_files.palette);
    if (!StartsWith(palette, Signature::Pal)) Fail(msg::kNotPaletteFile);
    Collect(palette, Signature::Pal, 0);
  }

  static bool StartsWith(const RecordSource& source, Signature sig) {
    if (source.length < kSignatureSize) return false;
    uint8_t head[kSignatureSize];
    source.read(0, head, sizeof head);
    return HasSignature(head, sig);
  }

  // Cuts the block of the record at offset out of source, once it is sure
  // that the whole block lies inside it.
  void Collect(const RecordSource& source, Signature sig, uint64_t offset) {
    const uint64_t remaining = source.length - offset;
    const RecordExtent extent = MeasureRecord(sig, remaining, m_newFormat, [&] {
      uint8_t field[4];
      source.read(offset + kDataLengthOffset, field, sizeof field);
      return ReadLe32(field);
    });
    if (extent.needed > remaining)
      Fail(msg::RecordOverrun(sig, offset, source.name, extent.needed, remaining, extent.declared));

    // Blocks that together outgrow the rebuilt area cannot all be placed, so
    // the packing pass is bound to fail: from there on only the checks go on.
    // A record on every paragraph must not make the transfer hold gigabytes.
    m_collectedBytes += extent.needed;
    if (m_collectedBytes > kRebuiltAreaEnd) return;

    auto* block = new CImageBlock;
    m_blocks.AddHead(block);
    // Only an image of over 4 GiB can hold a block this large; it will not fit, whatever its bytes.
    const auto size = uint32_t(std::min<uint64_t>(extent.needed, UINT32_MAX));
    if (!block->Load(size, [&](uint8_t* data) { source.read(offset, data, size); }))
      Fail(msg::OutOfMemory("a " + SignatureName(sig) + " block", size));
  }

  const TransferPaths& m_paths;
  const TransferSettings& m_settings;
  FileSlots m_files;
  TransferUi& m_ui;
  RomImage m_image;
  OutputFile m_output;
  CBlockList m_blocks{kBlockListGranularity};
  bool m_newFormat = true;
  uint64_t m_collectedBytes = 0;  // the sizes of all blocks collected so far
};

}  // namespace

TransferResult RunTransfer(const TransferPaths& paths, const TransferSettings& settings, FileSlots files,
                           TransferUi& ui) {
  Transfer transfer(paths, settings, files, ui);
  return transfer.Run();
}

}  // namespace tarn
