// The output write failing part of the way through: a file-size limit on the
// process, and a file system that fills up. Either way the output path keeps
// what it had, nothing is left beside it, and one message says why.
#include <sys/mount.h>

#include <gtest/gtest.h>

#include "tests/faults/fault_support.h"

namespace tarn::faults {
namespace {

constexpr size_t kImageLength = kRebuiltAreaEnd + 2 * kBootAreaSize;
const Bytes kOldOutput(0x1234, 0xEE);

struct SizeLimitCase {
  const char* name;
  rlim_t limit;
  const char* failedCall;  // how the file layer words the call that hit the limit
  bool outputExists;
};
void PrintTo(const SizeLimitCase& c, std::ostream* os) { *os << c.name; }

class OutputSizeLimit : public testing::TestWithParam<SizeLimitCase> {};

TEST_P(OutputSizeLimit, LeavesTheOutputPathAsItWas) {
  const SizeLimitCase& c = GetParam();
  TempDir dir;
  const std::string in = dir / "in.rom", out = dir / "out.rom";
  WriteBytes(in, TestImage(kImageLength));
  if (c.outputExists) WriteBytes(out, kOldOutput);
  const PathState before = StateOf(out);

  ChildFaults faults;
  faults.fileSizeLimit = c.limit;
  const CliRun run = RunCli({"rebuild", in, out, "--yes"}, faults);

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, std::string(c.failedCall) + " " + out + ": File too large.\nTransfer Abort\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(StateOf(out), before);
  EXPECT_EQ(ReadBytes(in), TestImage(kImageLength));
  const std::vector<std::string> left =
      c.outputExists ? std::vector<std::string>{"in.rom", "out.rom"} : std::vector<std::string>{"in.rom"};
  EXPECT_EQ(dir.Names(), left);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, OutputSizeLimit,
    testing::Values(SizeLimitCase{"InTheRebuiltArea", kRebuiltAreaEnd / 2, "Cannot write", false},
                    SizeLimitCase{"InTheKeptArea", kRebuiltAreaEnd + 0x8000, "Cannot copy to", false},
                    SizeLimitCase{"AtTheLastByte", kImageLength - 1, "Cannot copy to", false},
                    SizeLimitCase{"OverAnExistingOutput", kRebuiltAreaEnd + 0x8000, "Cannot copy to", true}),
    [](const auto& test) { return std::string(test.param.name); });

// The new image is written under a temporary name beside the output first;
// an output name as long as a name may be must not make that one too long.
TEST(OutputName, OfTheLongestLengthIsWritten) {
  TempDir dir;
  const std::string in = dir / "in.rom", out = dir / (std::string(251, 'o') + ".rom");
  WriteBytes(in, TestImage(kImageLength));

  const CliRun run = RunCli({"rebuild", in, out});

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadBytes(out).size(), kImageLength);
  EXPECT_EQ(dir.Names().size(), 2u);
}

// A small memory file system of its own, mounted for the test (needs root).
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const std::string& where, size_t bytes) : m_where(where) {
    fs::create_directories(where);
    const std::string options = "size=" + std::to_string(bytes);
    m_mounted = ::mount("tarn-faults", where.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallFileSystem() {
    if (m_mounted) ::umount2(m_where.c_str(), MNT_DETACH);
  }
  bool mounted() const { return m_mounted; }

 private:
  std::string m_where;
  bool m_mounted = false;
};

TEST(OutputFileSystemFull, LeavesTheOutputPathAsItWas) {
  TempDir dir;
  // Room for the rebuilt area and a little of the kept area.
  SmallFileSystem small(dir / "small", kRebuiltAreaEnd + 0x10000);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";
  const std::string in = dir / "in.rom";
  WriteBytes(in, TestImage(kImageLength));

  for (bool outputExists : {false, true}) {
    SCOPED_TRACE(outputExists ? "existing output" : "no output");
    const std::string out = dir / "small/out.rom";
    if (outputExists) WriteBytes(out, kOldOutput);
    const PathState before = StateOf(out);

    const CliRun run = RunCli({"rebuild", in, out, "--yes"});

    EXPECT_EQ(run.status, 1) << run.err;
    // The two file systems differ, so the kept area goes through plain writes.
    EXPECT_EQ(run.err, "Cannot write " + out + ": No space left on device.\nTransfer Abort\n");
    EXPECT_EQ(StateOf(out), before);
    EXPECT_EQ(NamesIn(dir / "small"),
              outputExists ? std::vector<std::string>{"out.rom"} : std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(in), TestImage(kImageLength));
  }
}

}  // namespace
}  // namespace tarn::faults
