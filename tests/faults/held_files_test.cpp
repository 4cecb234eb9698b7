// Files held by another process, the way Tarn holds its own (an exclusive
// opening): a run that needs one gets "Open <path> Error!" for the path it was
// given, also when that path is a symbolic or a hard link to the held file,
// and changes nothing.
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "classlib/file.h"
#include "tests/faults/fault_support.h"

namespace tarn::faults {
namespace {

enum class Role { Input, Output, Logo, Palette, Module };
enum class Via { SamePath, SymbolicLink, HardLink };

struct HeldCase {
  const char* name;
  Role role;
  Via via;
};
void PrintTo(const HeldCase& c, std::ostream* os) { *os << c.name; }

Bytes OneRecordFile(Signature sig, uint32_t dataLength) {
  RomBuilder file(FormatOf(true).headerSize + dataLength);
  file.Record(0, sig, dataLength);
  return file.bytes();
}

// The files of a full run: input, output (existing), logo, palette, module.
struct RunFiles {
  explicit RunFiles(const TempDir& dir)
      : paths{dir / "in.rom", dir / "out.rom", dir / "logo.bin", dir / "palette.bin", dir / "module.bin"},
        contents{TestImage(kRebuiltAreaEnd + kBootAreaSize), Bytes(0x100, 0xEE),
                 OneRecordFile(Signature::Bmp, 0x100),
                 OneRecordFile(Signature::Pal, FormatOf(true).paletteBlockSize),
                 OneRecordFile(Signature::Img, 0x200)} {
    for (int i = 0; i < 5; ++i) WriteBytes(paths[i], contents[i]);
  }
  std::vector<std::string> Args(Role role, const std::string& given) const {
    std::string p[5] = {paths[0], paths[1], paths[2], paths[3], paths[4]};
    p[int(role)] = given;
    return {"rebuild", p[0], p[1], "--logo", p[2], "--palette", p[3], "--module", p[4], "--yes"};
  }
  void ExpectUnchanged() const {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ReadBytes(paths[i]), contents[i]) << paths[i];
  }
  std::string paths[5];
  Bytes contents[5];
};

class HeldFile : public testing::TestWithParam<HeldCase> {};

TEST_P(HeldFile, CannotBeOpenedThroughAnyName) {
  const HeldCase& c = GetParam();
  TempDir dir;
  const RunFiles files(dir);
  const std::string& held = files.paths[int(c.role)];
  std::string given = held;
  if (c.via == Via::SymbolicLink) fs::create_symlink(held, given = dir / "symlink");
  if (c.via == Via::HardLink) fs::create_hard_link(held, given = dir / "hardlink");
  const std::vector<std::string> before = NamesIn(dir.path());

  CFile holder;
  ASSERT_TRUE(holder.Open(held.c_str(), CFile::modeRead));
  const CliRun run = RunCli(files.Args(c.role, given));
  holder.Close();

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Open " + given + " Error!\n");
  EXPECT_EQ(run.out, "");
  files.ExpectUnchanged();
  EXPECT_EQ(NamesIn(dir.path()), before);
  // Once it is let go, the same run goes through.
  EXPECT_EQ(RunCli(files.Args(c.role, given)).status, 0);
}

std::vector<HeldCase> AllHeldCases() {
  static const char* const roles[] = {"Input", "Output", "Logo", "Palette", "Module"};
  static const char* const vias[] = {"", "ThroughASymlink", "ThroughAHardLink"};
  static std::vector<std::string> names;
  std::vector<HeldCase> cases;
  names.reserve(15);
  for (int r = 0; r < 5; ++r)
    for (int v = 0; v < 3; ++v) {
      names.push_back(std::string(roles[r]) + "Held" + vias[v]);
      cases.push_back({names.back().c_str(), Role(r), Via(v)});
    }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Faults, HeldFile, testing::ValuesIn(AllHeldCases()),
                         [](const auto& test) { return std::string(test.param.name); });

// Another program entirely: flock(1) from util-linux holding the input.
TEST(HeldFile, ByAnotherProgramsExclusiveLock) {
  if (::access("/usr/bin/flock", X_OK) != 0) GTEST_SKIP() << "flock(1) is not installed";
  TempDir dir;
  const RunFiles files(dir);
  const pid_t holder = ::fork();
  if (holder == 0) {
    // --no-fork: the lock and the sleep are one process, ended as one.
    ::execl("/usr/bin/flock", "flock", "--exclusive", "--no-fork", files.paths[0].c_str(), "sleep", "60",
            nullptr);
    ::_exit(126);
  }
  ASSERT_GT(holder, 0);
  // Wait until the lock is taken: a probe of our own then fails.
  bool taken = false;
  for (int i = 0; i < 500 && !taken; ++i) {
    CFile probe;
    taken = !probe.Open(files.paths[0].c_str(), CFile::modeRead);
    if (!taken) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const CliRun run = taken ? RunCli(files.Args(Role::Input, files.paths[0])) : CliRun{-1, "", ""};
  ::kill(holder, SIGTERM);
  ::waitpid(holder, nullptr, 0);

  ASSERT_TRUE(taken) << "flock(1) did not take the lock";
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Open " + files.paths[0] + " Error!\n");
  files.ExpectUnchanged();
}

}  // namespace
}  // namespace tarn::faults
