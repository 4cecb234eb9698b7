// Faults on the way in: an input that another program shortens while the
// transfer reads it, and memory that runs out.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "image/messages.h"
#include "tests/faults/fault_support.h"

namespace tarn::faults {
namespace {

constexpr size_t kImageLength = kRebuiltAreaEnd + 2 * kBootAreaSize;

// The shim in shrink_shim.cpp truncates the input at a moment the test picks:
// no race, the same moment on every run.
struct ShrinkCase {
  const char* name;
  const char* moment;
  size_t shrinkTo;
};
void PrintTo(const ShrinkCase& c, std::ostream* os) { *os << c.name; }

class InputShrinks : public testing::TestWithParam<ShrinkCase> {};

TEST_P(InputShrinks, StopsWithOneMessageAndWritesNothing) {
  const ShrinkCase& c = GetParam();
  TempDir dir;
  const std::string in = dir / "in.rom", out = dir / "out.rom";
  const Bytes image = TestImage(kImageLength);
  WriteBytes(in, image);

  ChildFaults faults;
  faults.environment = {{"LD_PRELOAD", TARN_SHRINK_SHIM},
                        {"TARN_SHRINK_PATH", in},
                        {"TARN_SHRINK_TO", std::to_string(c.shrinkTo)},
                        {"TARN_SHRINK_ON", c.moment},
                        // The shim comes before the sanitizer runtime, which is fine for it.
                        {"ASAN_OPTIONS", "verify_asan_link_order=0:halt_on_error=1:abort_on_error=1"}};
  const CliRun run = RunCli({"rebuild", in, out}, faults);

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Cannot read " + in + ": the file became shorter while it was read.\nTransfer Abort\n");
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(StateOf(out).exists);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"in.rom"});
  // Shortened by the fault, and not touched otherwise.
  EXPECT_EQ(ReadBytes(in), Bytes(image.begin(), image.begin() + long(c.shrinkTo)));
}

INSTANTIATE_TEST_SUITE_P(Faults, InputShrinks,
                         testing::Values(ShrinkCase{"AfterItsLengthWasTaken", "read", kRebuiltAreaEnd / 2},
                                         ShrinkCase{"BelowTheKeptArea", "read", kRebuiltAreaEnd + 0x100},
                                         ShrinkCase{"WhileTheKeptAreaIsCopied", "copy",
                                                    kRebuiltAreaEnd + 0x100}),
                         [](const auto& test) { return std::string(test.param.name); });

#ifdef TARN_ADDRESS_SANITIZER
constexpr bool kAddressLimitsWork = false;
#else
constexpr bool kAddressLimitsWork = true;
#endif

// Under every memory limit, from one too small to load the program to one
// that lets the transfer complete, a run either completes with the right
// image or stops with one message, and the output path is never left half
// done. Below some limit only the program's own start can fail.
TEST(MemoryLimit, EveryRunCompletesOrStopsCleanly) {
  if (!kAddressLimitsWork)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
  TempDir dir;
  const std::string in = dir / "in.rom", out = dir / "out.rom", expected = dir / "expected.rom";
  // A large image: its kept area streams through a buffer of its own.
  const size_t length = 4 * 1024 * 1024;
  WriteBytes(in, TestImage(length));
  ASSERT_EQ(RunCli({"rebuild", in, expected}).status, 0);
  const Bytes want = ReadBytes(expected);

  enum Outcome { StartFailed, Stopped, Completed };
  std::map<Outcome, int> seen;
  Outcome highest = StartFailed;
  constexpr rlim_t kStep = 16 * 1024;
  int completedInARow = 0;
  for (rlim_t limit = 1024 * 1024; limit < 256 * 1024 * 1024 && completedInARow < 4; limit += kStep) {
    SCOPED_TRACE("limit " + std::to_string(limit / 1024) + " KiB");
    ChildFaults faults;
    faults.addressSpaceLimit = limit;
    const CliRun run = RunCli({"rebuild", in, out}, faults);
    Outcome outcome = StartFailed;
    if (run.status == 0) {
      outcome = Completed;
      EXPECT_EQ(ReadBytes(out), want);
      fs::remove(out);
    } else if (run.status == 1) {
      outcome = Stopped;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
      EXPECT_NE(run.err.find(msg::kAbortLine), std::string::npos) << run.err;
    } else {
      // The loader, or the run time before the first line of the program.
      const bool loader =
          run.status == 127 && run.err.find("error while loading shared libraries") != std::string::npos;
      const bool runtime =
          run.status == 128 + SIGABRT && run.err == "terminate called without an active exception\n";
      EXPECT_TRUE(loader || runtime) << run.status << ": " << run.err;
    }
    EXPECT_GE(outcome, highest) << "a larger limit did worse: " << run.err;
    highest = std::max(highest, outcome);
    completedInARow = outcome == Completed ? completedInARow + 1 : 0;
    ++seen[outcome];
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"expected.rom", "in.rom"}));
    EXPECT_EQ(ReadBytes(in), TestImage(length));
  }
  EXPECT_GT(seen[Stopped], 0) << "no limit made an allocation of the transfer fail";
  EXPECT_GT(seen[Completed], 0);
}

// A record on every other paragraph, each declaring a block of nearly the
// whole rebuilt area: all of them together cannot fit, and finding that out
// must not take a block's worth of memory for every record.
TEST(MemoryLimit, RecordsThatCannotFitTakeNoMemory) {
  TempDir dir;
  const std::string in = dir / "in.rom", out = dir / "out.rom";
  constexpr size_t kRecordsSpan = kAddressLimitsWork ? 0x100000 : 0x20000;
  RomBuilder image(kRecordsSpan + 2 * kRebuiltAreaEnd);
  for (uint32_t at = 0; at < kRecordsSpan; at += 2 * kParagraph)
    image.Record(at, Signature::Img, kRebuiltAreaEnd - 0x1000, kDataLengthEnd);
  WriteBytes(in, image.bytes());

  ChildFaults faults;
  if (kAddressLimitsWork) faults.addressSpaceLimit = 256 * 1024 * 1024;
  const CliRun run = RunCli({"rebuild", in, out}, faults);

  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, std::string(msg::kTooLarge) + "\n");
  EXPECT_LT(run.maxRssKiB, 256 * 1024);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"in.rom"});
}

}  // namespace
}  // namespace tarn::faults
