// tarn-make-sample: writes a synthetic ROM image and the logo, palette and
// module files that go with it, for the README's walk-through, the tests and
// the benchmark.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

#include "tools/sample_image.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: tarn-make-sample OUTDIR [--size BYTES] [--old-format]\n"
    "\n"
    "Writes OUTDIR/sample.rom (a synthetic ROM image), OUTDIR/logo.rle, OUTDIR/palette.pal\n"
    "and OUTDIR/module.rle. The same options always give the same bytes.\n"
    "\n"
    "  --size BYTES    length of sample.rom, decimal or 0x-prefixed hex, a multiple of 16\n"
    "                  (default 524288)\n"
    "  --old-format    an image whose version record asks for the old header format\n";

struct Options {
  fs::path outDir;
  size_t size = tarn::sample::kDefaultImageSize;
  bool newFormat = true;
};

bool ParseSize(const std::string& text, size_t& size) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
  if (errno != 0 || end == text.c_str() || *end != '\0') return false;
  if (value > tarn::sample::kMaxImageSize) return false;
  size = size_t(value);
  return true;
}

constexpr int kGoOn = -1;

// Fills options and returns kGoOn, or returns the exit status to end with.
int ParseArguments(int argc, char** argv, Options& options) {
  auto usageError = [](const std::string& message) {
    std::cerr << "tarn-make-sample: " << message << "\n" << kUsage;
    return kExitUsage;
  };
  bool haveOutDir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return kExitOk;
    } else if (arg == "--old-format") {
      options.newFormat = false;
    } else if (arg == "--size") {
      if (++i == argc) return usageError("--size needs a value");
      if (!ParseSize(argv[i], options.size)) return usageError(std::string("not a size: ") + argv[i]);
    } else if (!arg.empty() && arg[0] == '-') {
      return usageError("unknown option " + arg);
    } else if (haveOutDir) {
      return usageError("only one OUTDIR, please");
    } else {
      options.outDir = arg;
      haveOutDir = true;
    }
  }
  if (!haveOutDir) return usageError("OUTDIR is missing");
  if (options.size < tarn::sample::kMinImageSize || options.size > tarn::sample::kMaxImageSize ||
      options.size % tarn::kParagraph != 0)
    return usageError("--size must be a multiple of " + std::to_string(tarn::kParagraph) + " from " +
                      std::to_string(tarn::sample::kMinImageSize) + " to " +
                      std::to_string(tarn::sample::kMaxImageSize));
  return kGoOn;
}

// Writes beside the target and renames, so an interrupted run never leaves a
// truncated file under a name the other tools would pick up.
bool WriteFile(const fs::path& path, const tarn::Bytes& bytes) {
  fs::path partial = path;
  partial += ".part";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      std::cerr << "tarn-make-sample: cannot write " << partial.string() << "\n";
      return false;
    }
  }
  std::error_code error;
  fs::rename(partial, path, error);
  if (error) {
    fs::remove(partial, error);
    std::cerr << "tarn-make-sample: cannot replace " << path.string() << "\n";
    return false;
  }
  return true;
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", unsigned(value));
  return text;
}

std::string VersionText(const tarn::sample::Version& v) {
  return std::string{v.hundreds, '.', v.tens, '.', v.units};
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = ParseArguments(argc, argv, options); status != kGoOn) return status;

  std::error_code error;
  fs::create_directories(options.outDir, error);
  if (error) {
    std::cerr << "tarn-make-sample: cannot create " << options.outDir.string() << ": " << error.message()
              << "\n";
    return kExitFailed;
  }

  const tarn::sample::Sample sample = tarn::sample::MakeSample(options.size, options.newFormat);
  const std::string format = sample.newFormat ? "new" : "old";
  const std::string headerSize = std::to_string(tarn::FormatOf(sample.newFormat).headerSize);
  struct Output {
    const char* name;
    const tarn::Bytes& bytes;
    std::string what;
  };
  const Output outputs[] = {
      {"sample.rom", sample.image,
       format + "-format image, $VER " + VersionText(sample.version) + ", " +
           std::to_string(sample.records.size()) + " records, $KVT at " + Hex(sample.kvtOffset)},
      {"logo.rle", sample.logo,
       "$BMP record, " + std::to_string(sample.logoWidth) + "x" + std::to_string(sample.logoHeight) +
           " picture, " + headerSize + "-byte header"},
      {"palette.pal", sample.palette, "$PAL record, " + headerSize + "-byte header"},
      {"module.rle", sample.module, "$IMG record, " + headerSize + "-byte header"},
  };
  for (const Output& output : outputs) {
    const fs::path path = options.outDir / output.name;
    if (!WriteFile(path, output.bytes)) return kExitFailed;
    std::cout << path.string() << ": " << output.bytes.size() << " bytes, " << output.what << "\n";
  }
  return kExitOk;
}
