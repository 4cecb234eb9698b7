#include <gtest/gtest.h>

#include "image/messages.h"
#include "tests/cli/run_program.h"
#include "tests/image/test_files.h"

namespace tarn::test {
namespace {

ProgramRun Cli(const std::vector<std::string>& args) { return RunProgram(TARN_CLI, args); }

struct TarnCli : testing::Test {
  TarnCli() {
    RomBuilder rom(0x40000);
    rom.Version(0x10, '3', '2', '6')
        .Record(0x100, Signature::Img, 0x40)
        .Record(0x200, Signature::Bmp, 0x20)
        .Record(0x300, Signature::Pal, 0)
        .Raw(0x30000, "$KVT");
    image = rom.bytes();
    WriteBytes(in, image);
    RomBuilder logoFile(0x40), paletteFile(0x420);
    logoFile.Record(0, Signature::Bmp, 0x10);
    paletteFile.Record(0, Signature::Pal, 0);
    WriteBytes(logo, logoFile.bytes());
    WriteBytes(palette, paletteFile.bytes());
  }
  TempDir dir;
  std::string in = dir / "in.rom", out = dir / "out.rom", logo = dir / "logo.rle", palette = dir / "pal.pal";
  Bytes image;
};

TEST_F(TarnCli, RebuildPrintsCompletionAndWritesTheImage) {
  const ProgramRun run =
      Cli({"rebuild", in, out, "--logo", logo, "--palette", palette, "--dram-divisor", "3"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Quobix ROM transfer complete !\n");
  EXPECT_EQ(run.err, "");
  const Bytes got = ReadBytes(out);
  ASSERT_EQ(got.size(), image.size());
  EXPECT_EQ(got[0x2FBE0], '$') << "the palette from its file, at the top";
  EXPECT_EQ(got[0x30000 + kKvtDivisorOffset], 3) << "the divisor code in the boot record";
  EXPECT_EQ(ReadBytes(in), image);
}

TEST_F(TarnCli, ExistingOutputIsReplacedOnlyWhenTheAnswerIsYes) {
  WriteBytes(out, {'o', 'l', 'd'});
  const ProgramRun declined = Cli({"rebuild", in, out, "--no"});
  EXPECT_EQ(declined.status, 3);
  EXPECT_EQ(declined.out + declined.err, "");
  const ProgramRun unattended = Cli({"rebuild", in, out});
  EXPECT_EQ(unattended.status, 3) << "no terminal, no flag: the file is kept";
  EXPECT_EQ(unattended.err, std::string(msg::kReplaceOutput) +
                                "\nNo: standard input is not a terminal (use --yes to replace).\n");
  EXPECT_EQ(ReadBytes(out), Bytes({'o', 'l', 'd'}));

  EXPECT_EQ(Cli({"rebuild", in, out, "--yes"}).status, 0);
  EXPECT_EQ(ReadBytes(out).size(), image.size());
}

TEST_F(TarnCli, TransferErrorsGoToStandardErrorWithStatusOne) {
  const ProgramRun noPalette = Cli({"rebuild", in, out, "--logo", logo});
  EXPECT_EQ(noPalette.status, 1);
  EXPECT_EQ(noPalette.err, "Please select a palettte file!\n");
  EXPECT_EQ(noPalette.out, "");
  const ProgramRun noLogo = Cli({"rebuild", in, out, "--palette", palette});
  EXPECT_EQ(noLogo.err, "Please select a logo file!\n");
  const ProgramRun missing = Cli({"rebuild", dir / "none.rom", out});
  EXPECT_EQ(missing.err, "Open " + (dir / "none.rom") + " Error!\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(TarnCli, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"transfer"},
      {"rebuild", in},
      {"rebuild", in, out, "extra"},
      {"rebuild", in, out, "--logo"},
      {"rebuild", in, out, "--frobnicate"},
      {"rebuild", in, out, "--dram-divisor", "8"},
      {"rebuild", in, out, "--dram-divisor", "x"},
      {"rebuild", in, out, "--yes", "--no"},
      {"info"},
      {"info", in, in},
      {"info", in, "--xml"},
  };
  for (const auto& args : cases) {
    const ProgramRun run = Cli(args);
    EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
    EXPECT_NE(run.err.find("usage: tarn-cli"), std::string::npos) << testing::PrintToString(args);
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  for (const char* command : {"rebuild", "info"}) {
    const ProgramRun help = Cli({command, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(std::string("usage: tarn-cli ") + command, 0), 0u) << help.out;
  }
}

TEST_F(TarnCli, InfoShowsRecordsAndTheLayoutAndChangesNothing) {
  const ProgramRun text = Cli({"info", in});
  EXPECT_EQ(text.status, 0) << text.err;
  for (const char* line : {
           "Length    0x40000 (262144 bytes)\n",
           "Format    new: 32-byte headers, 0x420-byte palettes; $VER at 0x10 states 326 (326 >= 325)\n",
           "  $IMG       0x100       0x60         rebuilt  \n",
           "  0x2FB40     0x2FB9F     0x60       $IMG from 0x100\n",
           "  0x0         0x2FB3F     0x2FB40    $PAD filler, T = 0x2FB40\n",
           "Free      0x2FB20 bytes below the lowest block\n",
       })
    EXPECT_NE(text.out.find(line), std::string::npos) << line << "in:\n" << text.out;

  const ProgramRun json = Cli({"info", in, "--json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_NE(json.out.find("\"format\": \"new\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("{\"signature\": \"$IMG\", \"source\": 256, \"start\": 195392, \"size\": 96}"),
            std::string::npos)
      << json.out;
  EXPECT_EQ(ReadBytes(in), image);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"in.rom", "logo.rle", "pal.pal"}));
}

}  // namespace
}  // namespace tarn::test
