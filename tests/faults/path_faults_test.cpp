// A path that names something other than a readable file of its own: a
// folder, a FIFO (which must not hang the run), or a file without read
// permission. As root, permissions keep nobody out, so the run drops to the
// user nobody first.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/faults/fault_support.h"

namespace tarn::faults {
namespace {

enum class Role { Input, Logo, Palette, Module };
enum class Oddity { Folder, Fifo, Unreadable };

struct OddPathCase {
  const char* name;
  Role role;
  Oddity oddity;
};
void PrintTo(const OddPathCase& c, std::ostream* os) { *os << c.name; }

class OddPath : public testing::TestWithParam<OddPathCase> {};

Bytes OneRecordFile(Signature sig, uint32_t dataLength) {
  RomBuilder file(FormatOf(true).headerSize + dataLength);
  file.Record(0, sig, dataLength);
  return file.bytes();
}

// Every folder above this one lets other users pass, so nobody meets only
// the one permission the test takes away.
bool OthersCanReach(const fs::path& folder) {
  for (fs::path p = folder.parent_path(); !p.empty(); p = p.parent_path()) {
    if ((fs::status(p).permissions() & fs::perms::others_exec) == fs::perms::none) return false;
    if (p == p.root_path()) break;
  }
  return true;
}

TEST_P(OddPath, FailsToOpenAndChangesNothing) {
  const OddPathCase& c = GetParam();
  TempDir dir;
  if (c.oddity == Oddity::Unreadable && !OthersCanReach(dir.path()))
    GTEST_SKIP() << "the temporary folder is closed to other users: " << dir.path();
  // nobody must be able to write the output beside the input.
  fs::permissions(dir.path(), fs::perms::all);
  const std::string paths[] = {dir / "in.rom", dir / "logo.bin", dir / "palette.bin", dir / "module.bin"};
  const Bytes contents[] = {TestImage(kRebuiltAreaEnd + kBootAreaSize), OneRecordFile(Signature::Bmp, 0x100),
                            OneRecordFile(Signature::Pal, FormatOf(true).paletteBlockSize),
                            OneRecordFile(Signature::Img, 0x200)};
  for (int i = 0; i < 4; ++i) WriteBytes(paths[i], contents[i]);
  const std::string& odd = paths[int(c.role)];
  ChildFaults faults;
  switch (c.oddity) {
    case Oddity::Folder:
      fs::remove(odd);
      fs::create_directory(odd);
      break;
    case Oddity::Fifo:
      fs::remove(odd);
      ASSERT_EQ(::mkfifo(odd.c_str(), 0644), 0);
      break;
    case Oddity::Unreadable:
      fs::permissions(odd, fs::perms::none);
      faults.dropPrivileges = true;
      break;
  }
  const std::string out = dir / "out.rom";
  const std::vector<std::string> before = NamesIn(dir.path());

  const CliRun run = RunCli(
      {"rebuild", paths[0], out, "--logo", paths[1], "--palette", paths[2], "--module", paths[3]}, faults);
  if (run.status == kSetupFailed) GTEST_SKIP() << "cannot drop privileges here";

  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "Open " + odd + " Error!\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(NamesIn(dir.path()), before);
  for (int i = 0; i < 4; ++i) {
    if (paths[i] == odd) continue;
    EXPECT_EQ(ReadBytes(paths[i]), contents[i]) << paths[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, OddPath,
                         testing::Values(OddPathCase{"InputIsAFolder", Role::Input, Oddity::Folder},
                                         OddPathCase{"InputIsAFifo", Role::Input, Oddity::Fifo},
                                         OddPathCase{"InputIsUnreadable", Role::Input, Oddity::Unreadable},
                                         OddPathCase{"LogoIsAFolder", Role::Logo, Oddity::Folder},
                                         OddPathCase{"LogoIsAFifo", Role::Logo, Oddity::Fifo},
                                         OddPathCase{"LogoIsUnreadable", Role::Logo, Oddity::Unreadable},
                                         OddPathCase{"PaletteIsAFolder", Role::Palette, Oddity::Folder},
                                         OddPathCase{"PaletteIsAFifo", Role::Palette, Oddity::Fifo},
                                         OddPathCase{"PaletteIsUnreadable", Role::Palette,
                                                     Oddity::Unreadable},
                                         OddPathCase{"ModuleIsAFolder", Role::Module, Oddity::Folder},
                                         OddPathCase{"ModuleIsAFifo", Role::Module, Oddity::Fifo},
                                         OddPathCase{"ModuleIsUnreadable", Role::Module, Oddity::Unreadable}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tarn::faults
