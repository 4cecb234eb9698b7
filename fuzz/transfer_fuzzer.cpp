// libFuzzer target over the whole transfer: each input becomes real files in a
// private folder and one run of tarn::RunTransfer, as the front ends make it.
// After every run the outcome, the one message, the output bytes and the state
// of every path are checked against the model in expected_transfer.cpp.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "fuzz/expected_transfer.h"
#include "fuzz/fuzz_case.h"
#include "image/layout.h"
#include "image/messages.h"
#include "image/rom_image.h"
#include "image/transfer.h"
#include "tests/path_state.h"

namespace tarn::fuzz {
namespace {

using test::PathState;
using test::StateOf;

[[noreturn]] void Violation(const std::string& what) {
  std::fprintf(stderr, "transfer_fuzzer: %s\n", what.c_str());
  std::abort();
}

void Check(bool holds, const std::string& what) {
  if (!holds) Violation(what);
}

class ScriptedUi : public TransferUi {
 public:
  explicit ScriptedUi(bool answer) : m_answer(answer) {}
  void Error(const std::string& text) override { errors.push_back(text); }
  bool Ask(const std::string& text) override {
    questions.push_back(text);
    return m_answer;
  }
  void Finish(const std::string& text) override { finishes.push_back(text); }

  std::vector<std::string> errors, questions, finishes;

 private:
  bool m_answer;
};

Bytes ReadAll(const std::string& path) {
  Bytes bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    constexpr size_t kChunk = 1 << 16;
    for (size_t n = kChunk; n == kChunk;) {
      const size_t had = bytes.size();
      bytes.resize(had + kChunk);
      n = std::fread(bytes.data() + had, 1, kChunk, f);
      bytes.resize(had + n);
    }
    std::fclose(f);
  }
  return bytes;
}

void WriteAll(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr, "cannot create " + path);
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  Check(std::fclose(f) == 0 && written, "cannot write " + path);
}

std::set<std::string> Entries(const std::string& dir) {
  std::set<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (const dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
    ::closedir(d);
  }
  return names;
}

// The folder of this process, on a memory file system where there is one:
// every run writes and flushes a whole image.
class Folder {
 public:
  Folder() {
    std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (std::getenv("TMPDIR") ?: "/tmp");
    std::string pattern = base + "/tarn-fuzz-XXXXXX";
    Check(::mkdtemp(pattern.data()) != nullptr, "cannot make a temporary folder under " + base);
    m_path = pattern;
  }
  ~Folder() {
    Clear();
    ::rmdir(m_path.c_str());
  }
  std::string Path(const std::string& name) const { return m_path + "/" + name; }
  const std::string& path() const { return m_path; }
  void Clear() const {
    for (const std::string& name : Entries(m_path)) {
      const std::string p = Path(name);
      if (::unlink(p.c_str()) != 0) ::rmdir(p.c_str());
    }
  }

 private:
  std::string m_path;
};

const Folder& TheFolder() {
  static const Folder folder;
  return folder;
}

const Bytes kOldOutput{'o', 'l', 'd', ' ', 'o', 'u', 't', 'p', 'u', 't'};

// Puts a supplied file in place; returns the path the transfer is given.
std::string Place(FileKind kind, const std::string& path, const std::string& previous, const Bytes& bytes,
                  std::set<std::string>& made, const std::string& name) {
  switch (kind) {
    case FileKind::Regular:
      WriteAll(path, bytes);
      break;
    case FileKind::Directory:
      Check(::mkdir(path.c_str(), 0755) == 0, "mkdir " + path);
      break;
    case FileKind::Fifo:
      Check(::mkfifo(path.c_str(), 0644) == 0, "mkfifo " + path);
      break;
    case FileKind::Missing:
      return path;
    case FileKind::SameAsPrevious:
    case FileKind::kCount:
      return previous;
  }
  made.insert(name);
  return path;
}

void PlaceOutput(OutputKind kind, const std::string& path, const std::string& input) {
  switch (kind) {
    case OutputKind::Existing:
      WriteAll(path, kOldOutput);
      break;
    case OutputKind::SymlinkToInput:
      Check(::symlink(input.c_str(), path.c_str()) == 0, "symlink " + path);
      break;
    case OutputKind::HardLinkToInput:
      Check(::link(input.c_str(), path.c_str()) == 0, "link " + path);
      break;
    case OutputKind::Directory:
      Check(::mkdir(path.c_str(), 0755) == 0, "mkdir " + path);
      break;
    case OutputKind::Fifo:
      Check(::mkfifo(path.c_str(), 0644) == 0, "mkfifo " + path);
      break;
    case OutputKind::Absent:
    case OutputKind::SameAsInput:
    case OutputKind::kCount:
      break;
  }
}

std::string Hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(v));
  return text;
}

std::string FirstDifference(const Bytes& got, const Bytes& want) {
  if (got.size() != want.size()) return "length " + Hex(got.size()) + ", expected " + Hex(want.size());
  for (size_t i = 0; i < got.size(); ++i)
    if (got[i] != want[i]) return "byte " + Hex(i) + " is " + Hex(got[i]) + ", expected " + Hex(want[i]);
  return "no difference";
}

const char* Name(TransferResult r) {
  switch (r) {
    case TransferResult::Completed:
      return "Completed";
    case TransferResult::Failed:
      return "Failed";
    case TransferResult::Declined:
      return "Declined";
  }
  return "?";
}

// The bytes from the kept area on that the boot-record patch may change.
bool IsPatchByte(const FuzzCase& c, size_t length, size_t at) {
  if (!c.Has(bit::kDramDivisor)) return false;
  const size_t kvt = length - kBootAreaSize;
  return at == kvt + kKvtDivisorOffset || at == kvt + kKvtChecksumOffset;
}

void CheckCompleted(const FuzzCase& c, const Bytes& input, const Bytes& output,
                    const ExpectedTransfer& want) {
  // The rules every output must keep, before the exact comparison says where it differs.
  Check(output.size() == input.size(), "output " + FirstDifference(output, input));
  for (size_t at = kRebuiltAreaEnd; at < input.size(); ++at)
    Check(output[at] == input[at] || IsPatchByte(c, input.size(), at), "kept area changed at " + Hex(at));
  Check(output == want.output, "output " + FirstDifference(output, want.output));
}

// The read-only view of tarn-cli info must agree with what the transfer did
// with the image's own records: the same blocks at the same paragraph starts,
// or the same reason why they do not fit.
void CheckLayoutAgrees(const FuzzCase& c, const CasePaths& paths, const Bytes& input, TransferResult got,
                       const std::string& error, const Bytes& output) {
  if (input.size() < kRebuiltAreaEnd) return;
  CFile file;
  Check(file.Open(paths.input.c_str(), CFile::modeRead), "cannot open the input again");
  RomImage image;
  image.Load(file);
  const ImageLayout layout = DescribeImage(image, paths.input);
  for (const PlacedBlock& b : layout.blocks)
    Check(b.start % kParagraph == 0, "info places a block at " + Hex(b.start));

  const bool ownRecordsOnly =
      !c.Has(bit::kGiveModule) && !c.Has(bit::kChangeLogo) && !c.Has(bit::kDramDivisor);
  if (!ownRecordsOnly) return;
  if (got == TransferResult::Completed) {
    Check(layout.fits, "info says the image does not fit; the transfer completed");
    for (const PlacedBlock& b : layout.blocks)
      Check(std::equal(input.begin() + long(b.source), input.begin() + long(b.source + b.size),
                       output.begin() + long(b.start)),
            "the block from " + Hex(b.source) + " is not where info puts it, at " + Hex(b.start));
    if (layout.newFormat)
      Check(ReadLe32(&output[8]) == (layout.top - kFillerSize) << 8, "info's top is not the filler's");
  } else if (got == TransferResult::Failed && error != msg::OpenError(paths.output)) {
    Check(!layout.fits && layout.problem == error,
          "info says '" + layout.problem + "', the transfer '" + error + "'");
  }
}

void RunOne(const FuzzCase& c) {
  const Folder& folder = TheFolder();
  folder.Clear();
  const CaseFiles files{Expand(c.image), Expand(c.logo), Expand(c.palette), Expand(c.module)};

  std::set<std::string> made{"input.rom"};
  CasePaths paths;
  paths.input = folder.Path("input.rom");
  WriteAll(paths.input, files.image);
  paths.logo = Place(c.logoKind, folder.Path("logo.bin"), paths.input, files.logo, made, "logo.bin");
  paths.palette =
      Place(c.paletteKind, folder.Path("palette.bin"), paths.logo, files.palette, made, "palette.bin");
  paths.module =
      Place(c.moduleKind, folder.Path("module.bin"), paths.input, files.module, made, "module.bin");
  paths.output = c.outputKind == OutputKind::SameAsInput ? paths.input : folder.Path("output.rom");
  PlaceOutput(c.outputKind, paths.output, paths.input);
  if (c.outputKind != OutputKind::Absent && c.outputKind != OutputKind::SameAsInput)
    made.insert("output.rom");

  const PathState outputBefore = StateOf(paths.output);
  const ExpectedTransfer want = Expect(c, files, paths);

  TransferPaths given;
  given.inputRom = paths.input;
  given.outputRom = paths.output;
  if (c.Has(bit::kGiveLogo)) given.logoFile = paths.logo;
  if (c.Has(bit::kGivePalette)) given.paletteFile = paths.palette;
  if (c.Has(bit::kGiveModule)) given.moduleFile = paths.module;
  TransferSettings settings;
  if (c.Has(bit::kChangeLogo)) settings.options |= OPT_CHANGE_LOGO;
  if (c.Has(bit::kDramDivisor)) settings.options |= OPT_DRAM_DIVISOR;
  settings.dramDivisor = c.divisor;

  CFile input, output, logo, palette, module;
  ScriptedUi ui(c.Has(bit::kAnswerYes));
  const TransferResult got = RunTransfer(given, settings, {input, output, logo, palette, module}, ui);

  const std::string said = ui.errors.empty() ? "(no error)" : ui.errors.front();
  Check(got == want.result, std::string("result ") + Name(got) + ", expected " + Name(want.result) +
                                "; error: " + said + "; expected error: " + want.message);
  Check(ui.questions.size() == (want.asks ? 1u : 0u),
        "asked " + std::to_string(ui.questions.size()) + " times");
  for (const CFile* slot : {&input, &output, &logo, &palette, &module})
    Check(!slot->IsOpen(), "a file slot is still open after the run");
  Check(StateOf(paths.input).bytes == files.image, "the input changed");
  if (c.logoKind == FileKind::Regular) Check(ReadAll(paths.logo) == files.logo, "the logo file changed");
  if (c.paletteKind == FileKind::Regular)
    Check(ReadAll(paths.palette) == files.palette, "the palette changed");
  if (c.moduleKind == FileKind::Regular) Check(ReadAll(paths.module) == files.module, "the module changed");

  switch (got) {
    case TransferResult::Completed:
      Check(ui.errors.empty() && ui.finishes.size() == 1, "a completed run shows exactly the completion box");
      CheckCompleted(c, files.image, ReadAll(paths.output), want);
      made.insert("output.rom");
      break;
    case TransferResult::Failed:
      Check(ui.errors.size() == 1 && ui.finishes.empty(), std::to_string(ui.errors.size()) + " errors shown");
      Check(ui.errors.front() == want.message, "error '" + said + "', expected '" + want.message + "'");
      Check(StateOf(paths.output) == outputBefore, "a failed run changed the output path");
      break;
    case TransferResult::Declined:
      Check(ui.errors.empty() && ui.finishes.empty(), "a declined run shows nothing more");
      Check(StateOf(paths.output) == outputBefore, "a declined run changed the output path");
      break;
  }
  CheckLayoutAgrees(c, paths, files.image, got, said,
                    got == TransferResult::Completed ? ReadAll(paths.output) : Bytes());
  const std::set<std::string> left = Entries(folder.path());
  for (const std::string& name : left) Check(made.count(name) == 1, "left behind: " + name);
  for (const std::string& name : made) Check(left.count(name) == 1, "gone: " + name);
}

}  // namespace
}  // namespace tarn::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarn::fuzz::RunOne(tarn::fuzz::Decode(data, size));
  return 0;
}
