#include "image/transfer.h"

#include <gtest/gtest.h>

#include <functional>

#include "image/messages.h"
#include "tests/image/test_files.h"

namespace tarn::test {
namespace {

constexpr uint32_t kLength = 0x40000;  // a rebuilt area and 64 KiB kept

// An image whose kept area is recognisable byte by byte.
RomBuilder Image(uint32_t length = kLength) {
  RomBuilder image(length);
  for (uint32_t i = kRebuiltAreaEnd; i < length; ++i) image.Byte(i, uint8_t(i * 13 + 5));
  return image;
}

Bytes Slice(const Bytes& bytes, size_t from, size_t size) {
  return Bytes(bytes.begin() + long(from), bytes.begin() + long(from + size));
}

struct Transfer : testing::Test {
  TempDir dir;
  std::string in = dir / "in.rom", out = dir / "out.rom", logo = dir / "logo.rle", palette = dir / "pal.pal",
              module = dir / "mod.rle";
  TransferPaths Paths() const { return {in, out, "", "", ""}; }
};

TEST_F(Transfer, RebuildsTheImageBlockByBlock) {
  RomBuilder image = Image();
  image.Version(0x40, '3', '2', '6')
      .Record(0x1000, Signature::Img, 0x100)   // block 0x120
      .Record(0x2000, Signature::Bmp, 0x1F00)  // block 0x1F20
      .Record(0x5000, Signature::Emg, 0x5)     // block 0x25
      .Record(0x6000, Signature::Pal, 0x7777)  // block 0x420
      .Record(0x8000, Signature::Img, 0x10)    // block 0x30
      .Record(0x30100, Signature::Img, 0x33);  // in the kept area: block 0x53
  WriteBytes(in, image.bytes());
  RomBuilder mod(0x200, 0x44);
  mod.Record(0, Signature::Img, 0x80);  // block 0xA0, the rest of the file is ignored
  WriteBytes(module, mod.bytes());

  TransferPaths paths = Paths();
  paths.moduleFile = module;
  const TransferRun run = RunOnce(paths);
  ASSERT_EQ(run.result, TransferResult::Completed);
  EXPECT_EQ(run.messages, (std::vector<Message>{{Message::Finish, "Quobix ROM transfer complete !"}}));

  // Lowest first: module, $IMG in image order, $EMG, then $BMP and $PAL as they stood.
  struct Placed {
    uint32_t start, from, size;
    const Bytes* source;
  };
  const Placed expected[] = {
      {0x2DA40, 0, 0xA0, &mod.bytes()},         {0x2DAE0, 0x1000, 0x120, &image.bytes()},
      {0x2DC00, 0x8000, 0x30, &image.bytes()},  {0x2DC30, 0x30100, 0x53, &image.bytes()},
      {0x2DC90, 0x5000, 0x25, &image.bytes()},  {0x2DCC0, 0x2000, 0x1F20, &image.bytes()},
      {0x2FBE0, 0x6000, 0x420, &image.bytes()},
  };
  Bytes want(kLength, 0);
  WriteFiller(want.data(), 0x2DA40);
  for (const Placed& p : expected) std::copy_n(p.source->begin() + p.from, p.size, want.begin() + p.start);
  std::copy(image.bytes().begin() + kRebuiltAreaEnd, image.bytes().end(), want.begin() + kRebuiltAreaEnd);
  EXPECT_TRUE(ReadBytes(out) == want) << "output differs from the expected image";
  EXPECT_EQ(ReadBytes(in), image.bytes()) << "the input is never changed";
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"in.rom", "mod.rle", "out.rom"}));
}

TEST_F(Transfer, OldFormatUsesShortHeadersAndWritesNoFiller) {
  RomBuilder image = Image();
  image.Version(0x2FFE0, '3', '2', '4').Record(0x100, Signature::Bmp, 0x10).Record(0x200, Signature::Pal, 0);
  WriteBytes(in, image.bytes());
  ASSERT_EQ(RunOnce(Paths()).result, TransferResult::Completed);
  const Bytes got = ReadBytes(out);
  // $PAL 0x410 at 0x2FBF0, $BMP 0x25 at 0x2FBC0.
  EXPECT_EQ(Slice(got, 0x2FBF0, 0x410), Slice(image.bytes(), 0x200, 0x410));
  EXPECT_EQ(Slice(got, 0x2FBC0, 0x25), Slice(image.bytes(), 0x100, 0x25));
  EXPECT_EQ(Slice(got, 0, 0x2FBC0), Bytes(0x2FBC0, 0)) << "no filler, and the $VER record is gone";
}

TEST_F(Transfer, ImageWithoutRecordsGetsOnlyTheFiller) {
  RomBuilder image = Image(kRebuiltAreaEnd);  // exactly the rebuilt area
  image.Raw(0x20, "junk that is no record");
  WriteBytes(in, image.bytes());
  ASSERT_EQ(RunOnce(Paths()).result, TransferResult::Completed);
  Bytes want(kRebuiltAreaEnd, 0);
  WriteFiller(want.data(), kRebuiltAreaEnd);
  EXPECT_EQ(ReadBytes(out), want);
}

TEST_F(Transfer, ReplacesLogoAndPaletteFromTheirFilesOnly) {
  RomBuilder image = Image();
  image.Record(0x100, Signature::Bmp, 0x10).Record(0x200, Signature::Pal, 0).Record(0x300, Signature::Img, 0);
  WriteBytes(in, image.bytes());
  // Files larger than the image's rebuilt area: only their first record counts.
  RomBuilder logoFile(0x40000, 0xAB), paletteFile(0x800, 0xCD);
  logoFile.Record(0, Signature::Bmp, 0x40);
  paletteFile.Record(0, Signature::Pal, 0);
  WriteBytes(logo, logoFile.bytes());
  WriteBytes(palette, paletteFile.bytes());

  TransferPaths paths{in, out, logo, palette, ""};
  ASSERT_EQ(RunOnce(paths, {OPT_CHANGE_LOGO}).result, TransferResult::Completed);
  const Bytes got = ReadBytes(out);
  EXPECT_EQ(Slice(got, 0x2FBE0, 0x420), Slice(paletteFile.bytes(), 0, 0x420));
  EXPECT_EQ(Slice(got, 0x2FB80, 0x60), Slice(logoFile.bytes(), 0, 0x60));
  EXPECT_EQ(Slice(got, 0x2FB60, 0x20), Slice(image.bytes(), 0x300, 0x20)) << "the image's own $IMG stays";
  EXPECT_EQ(Slice(got, kRebuiltAreaEnd, kLength - kRebuiltAreaEnd),
            Slice(image.bytes(), kRebuiltAreaEnd, kLength - kRebuiltAreaEnd));

  // Without the option the same paths are ignored and the image's own records are used.
  const TransferRun plain = RunOnce(paths);
  EXPECT_EQ(plain.messages.front(), (Message{Message::Question, msg::kReplaceOutput}));
  EXPECT_EQ(Slice(ReadBytes(out), 0x2FBE0, 0x420), Slice(image.bytes(), 0x200, 0x420));
}

TEST_F(Transfer, VersionRecordsOnlyCountOnParagraphsAndOnlyTheFirst) {
  RomBuilder image = Image();
  image
      .Version(0x18, '3', '0', '0')     // off the paragraph grid: not seen
      .Version(0x30000, '3', '2', '5')  // first one seen, in the kept area: new format
      .Version(0x30010, '1', '0', '0')  // later ones change nothing
      .Record(0x100, Signature::Img, 0);
  WriteBytes(in, image.bytes());
  ASSERT_EQ(RunOnce(Paths()).result, TransferResult::Completed);
  const Bytes got = ReadBytes(out);
  EXPECT_EQ(Slice(got, 0, 4), Bytes({'$', 'P', 'A', 'D'}));
  EXPECT_EQ(Slice(got, 0x30000, 0x20), Slice(image.bytes(), 0x30000, 0x20)) << "kept $VER stays";
}

TEST_F(Transfer, BootPatchWritesTheDivisorIntoTheKeptArea) {
  const uint32_t at = kLength - kBootAreaSize;
  RomBuilder image = Image();
  image.Raw(at, "$KVT");
  WriteBytes(in, image.bytes());
  ASSERT_EQ(RunOnce(Paths(), {OPT_DRAM_DIVISOR, 6}).result, TransferResult::Completed);
  Bytes want = image.bytes();
  PatchKvt(&want[at], 6);
  EXPECT_EQ(Slice(ReadBytes(out), kRebuiltAreaEnd, kLength - kRebuiltAreaEnd),
            Slice(want, kRebuiltAreaEnd, kLength - kRebuiltAreaEnd));

  // Without the option, or without a $KVT record there, the kept area is copied as it is.
  ASSERT_EQ(RunOnce(Paths(), {0, 6}).result, TransferResult::Completed);
  EXPECT_EQ(Slice(ReadBytes(out), at, kBootAreaSize), Slice(image.bytes(), at, kBootAreaSize));
}

TEST_F(Transfer, BootPatchReachesABlockThatCoversIt) {
  const uint32_t at = kLength - kBootAreaSize;
  RomBuilder image = Image();
  image.Record(at - 0x20, Signature::Img, 0x40).Raw(at, "$KVT");
  WriteBytes(in, image.bytes());
  ASSERT_EQ(RunOnce(Paths(), {OPT_DRAM_DIVISOR, 2}).messages,
            (std::vector<Message>{{Message::Finish, msg::kComplete}}));
  Bytes patched = image.bytes();
  PatchKvt(&patched[at], 2);
  EXPECT_EQ(Slice(ReadBytes(out), 0x2FFA0, 0x60), Slice(patched, at - 0x20, 0x60));
}

// What the output path holds before a run that must not change it.
enum class Before { Absent, Existing };

struct StopCase {
  const char* name;
  std::function<void(Transfer&, TransferPaths&, TransferSettings&)> setUp;
  std::function<std::vector<Message>(const Transfer&)> messages;
  // Whether the run gets as far as asking before it replaces an existing output.
  bool asksFirst = true;
};

Message Err(const std::string& text) { return {Message::Error, text}; }

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }

class TransferStops : public Transfer, public testing::WithParamInterface<StopCase> {};

TEST_P(TransferStops, LeaveTheOutputPathAsItWas) {
  for (Before before : {Before::Absent, Before::Existing}) {
    SCOPED_TRACE(before == Before::Absent ? "no output file before" : "output file before");
    RomBuilder image = Image();
    image.Record(0x100, Signature::Img, 0x10)
        .Record(0x200, Signature::Bmp, 0)
        .Record(0x300, Signature::Pal, 0);
    WriteBytes(in, image.bytes());
    RomBuilder logoFile(0x40), paletteFile(0x420), mod(0x40);
    logoFile.Record(0, Signature::Bmp, 0x10);
    paletteFile.Record(0, Signature::Pal, 0);
    mod.Record(0, Signature::Img, 0x10);
    WriteBytes(logo, logoFile.bytes());
    WriteBytes(palette, paletteFile.bytes());
    WriteBytes(module, mod.bytes());
    const Bytes old = {'o', 'l', 'd'};
    std::filesystem::remove(out);
    if (before == Before::Existing) WriteBytes(out, old);

    TransferPaths paths = Paths();
    TransferSettings settings;
    GetParam().setUp(*this, paths, settings);
    const std::vector<std::string> namesBefore = dir.Names();
    const Bytes inputBefore = ReadBytes(in);
    const TransferRun run = RunOnce(paths, settings, /*replace=*/true);

    std::vector<Message> want = GetParam().messages(*this);
    if (before == Before::Existing && GetParam().asksFirst)
      want.insert(want.begin(), {Message::Question, msg::kReplaceOutput});
    EXPECT_EQ(run.messages, want);
    EXPECT_EQ(run.result, TransferResult::Failed);
    EXPECT_EQ(dir.Names(), namesBefore) << "nothing created, nothing left behind";
    if (before == Before::Existing && std::filesystem::exists(out)) {
      EXPECT_EQ(ReadBytes(out), old);
    }
    if (std::filesystem::exists(in)) {
      EXPECT_EQ(ReadBytes(in), inputBefore);
    }
  }
}

std::string LongName() { return std::string(300, 'x') + ".rom"; }

const StopCase kStops[] = {
    {"NoInputPath", [](Transfer&, TransferPaths& p, TransferSettings&) { p.inputRom = ""; },
     [](const Transfer&) { return std::vector<Message>{Err("Please select a input rom file!")}; }, false},
    {"InputMissing",
     [](Transfer& t, TransferPaths& p, TransferSettings&) { p.inputRom = t.dir / "nope.rom"; },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + (t.dir / "nope.rom") + " Error!")}; },
     false},
    {"InputIsAFolder",
     [](Transfer& t, TransferPaths& p, TransferSettings&) {
       std::filesystem::create_directory(t.dir / "folder.rom");
       p.inputRom = t.dir / "folder.rom";
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("Open " + (t.dir / "folder.rom") + " Error!")};
     },
     false},
    {"InputShorterThanTheRebuiltArea",
     [](Transfer& t, TransferPaths&, TransferSettings&) { WriteBytes(t.in, Bytes(0x2FFFF, 0)); },
     [](const Transfer& t) {
       return std::vector<Message>{Err(
           t.in + " is 0x2FFFF bytes long; a ROM image must hold at least 0x30000 bytes.\nTransfer Abort")};
     },
     false},
    {"NoOutputPath", [](Transfer&, TransferPaths& p, TransferSettings&) { p.outputRom = ""; },
     [](const Transfer&) { return std::vector<Message>{Err("Please select a output rom file!")}; }, false},
    {"SamePathForInputAndOutput",
     [](Transfer& t, TransferPaths& p, TransferSettings&) { p.outputRom = t.in; },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + t.in + " Error!")}; }, false},
    {"ModuleMissing",
     [](Transfer& t, TransferPaths& p, TransferSettings&) { p.moduleFile = t.dir / "none.rle"; },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + (t.dir / "none.rle") + " Error!")}; }},
    {"ModuleRunsPastItsEnd",
     [](Transfer& t, TransferPaths& p, TransferSettings&) {
       RomBuilder mod(0x40);
       mod.Record(0, Signature::Img, 0x21);
       WriteBytes(t.module, mod.bytes());
       p.moduleFile = t.module;
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("$IMG record at 0x0 in " + t.module +
                                       " declares 0x41 bytes; only 0x40 remain.\nTransfer Abort")};
     }},
    {"ImageRecordRunsPastTheEnd",
     [](Transfer& t, TransferPaths&, TransferSettings&) {
       RomBuilder image = Image();
       image.Record(0x2F000, Signature::Img, 0x1A000);
       WriteBytes(t.in, image.bytes());
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("$IMG record at 0x2F000 in " + t.in +
                                       " declares 0x1A020 bytes; only 0x11000 remain.\nTransfer Abort")};
     }},
    {"ImageRecordLengthWrapsAround",
     [](Transfer& t, TransferPaths&, TransferSettings&) {
       RomBuilder image = Image();
       image.Record(0x1000, Signature::Emg, 0xFFFFFFF0);
       WriteBytes(t.in, image.bytes());
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("$EMG record at 0x1000 in " + t.in +
                                       " declares 0x100000010 bytes; only 0x3F000 remain.\nTransfer Abort")};
     }},
    {"PaletteCutOffAtTheEndOfTheImage",
     [](Transfer& t, TransferPaths&, TransferSettings&) {
       RomBuilder image = Image();
       image.Raw(kLength - 0x10, "$PAL");
       WriteBytes(t.in, image.bytes());
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("$PAL record at 0x3FFF0 in " + t.in +
                                       " needs 0x420 bytes; only 0x10 remain.\nTransfer Abort")};
     }},
    {"NoLogoPath", [](Transfer&, TransferPaths&, TransferSettings& s) { s.options = OPT_CHANGE_LOGO; },
     [](const Transfer&) { return std::vector<Message>{Err("Please select a logo file!")}; }},
    {"LogoMissing",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       p.logoFile = t.dir / "gone.rle";
       p.paletteFile = t.palette;
     },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + (t.dir / "gone.rle") + " Error!")}; }},
    {"NoPalettePath",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       p.logoFile = t.logo;
     },
     [](const Transfer&) { return std::vector<Message>{Err("Please select a palettte file!")}; }},
    {"SamePathForLogoAndPalette",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       p.logoFile = p.paletteFile = t.logo;
     },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + t.logo + " Error!")}; }},
    {"LogoWithoutItsSignature",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       WriteBytes(t.logo, {'$', 'B', 'M'});  // shorter than a signature
       p.logoFile = t.logo;
       p.paletteFile = t.palette;
     },
     [](const Transfer&) { return std::vector<Message>{Err("It's not a Logo file !\nTransfer Abort")}; }},
    {"LogoRecordRunsPastItsEnd",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       RomBuilder small(0x30);
       small.Record(0, Signature::Bmp, 0x1F00);
       WriteBytes(t.logo, small.bytes());
       p.logoFile = t.logo;
       p.paletteFile = t.palette;
     },
     [](const Transfer& t) {
       return std::vector<Message>{Err("$BMP record at 0x0 in " + t.logo +
                                       " declares 0x1F20 bytes; only 0x30 remain.\nTransfer Abort")};
     }},
    {"PaletteWithoutItsSignature",
     [](Transfer& t, TransferPaths& p, TransferSettings& s) {
       s.options = OPT_CHANGE_LOGO;
       p.logoFile = t.logo;
       p.paletteFile = t.module;  // a module file is no palette
     },
     [](const Transfer&) { return std::vector<Message>{Err("It's not a palette file !\nTransfer Abort")}; }},
    {"BlocksDoNotFit",
     [](Transfer& t, TransferPaths&, TransferSettings&) {
       RomBuilder image = Image(0x80000);
       image.Record(0x100, Signature::Img, 0x18000).Record(0x30000, Signature::Emg, 0x18000);
       WriteBytes(t.in, image.bytes());
     },
     [](const Transfer&) {
       return std::vector<Message>{Err("This new ROM file is larger then 256k!\nTransfer Abort")};
     }},
    {"NoRoomLeftForTheFiller",
     [](Transfer& t, TransferPaths&, TransferSettings&) {
       RomBuilder image = Image();
       image.Record(0, Signature::Img, 0x30000 - 0x20 - 0x10);  // its block lands at 0x10
       WriteBytes(t.in, image.bytes());
     },
     [](const Transfer&) {
       return std::vector<Message>{Err("This new ROM file is larger then 256k!\nTransfer Abort")};
     }},
    {"LongPathIsNamedWhole",
     [](Transfer& t, TransferPaths& p, TransferSettings&) { p.moduleFile = t.dir / LongName(); },
     [](const Transfer& t) { return std::vector<Message>{Err("Open " + (t.dir / LongName()) + " Error!")}; }},
};

INSTANTIATE_TEST_SUITE_P(Cases, TransferStops, testing::ValuesIn(kStops),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(Transfer, DecliningToReplaceKeepsTheOutputAndSaysNothingMore) {
  WriteBytes(in, Image().bytes());
  WriteBytes(out, {'o', 'l', 'd'});
  const TransferRun run = RunOnce(Paths(), {}, /*replace=*/false);
  EXPECT_EQ(run.result, TransferResult::Declined);
  EXPECT_EQ(run.messages, (std::vector<Message>{{Message::Question, msg::kReplaceOutput}}));
  EXPECT_EQ(ReadBytes(out), Bytes({'o', 'l', 'd'}));
}

TEST_F(Transfer, ModuleWithoutItsSignatureIsSkippedSilently) {
  RomBuilder image = Image();
  image.Record(0x100, Signature::Img, 0);
  WriteBytes(in, image.bytes());
  WriteBytes(module, {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'd', 'u', 'l', 'e'});
  TransferPaths paths = Paths();
  paths.moduleFile = module;
  const TransferRun run = RunOnce(paths);
  EXPECT_EQ(run.messages, (std::vector<Message>{{Message::Finish, msg::kComplete}}));
  const Bytes got = ReadBytes(out);
  EXPECT_EQ(ReadLe32(&got[kDataLengthOffset]), 0x2FFE0u - 0x20) << "T = 0x2FFE0: only the image's block";
}

#ifndef _WIN32
TEST_F(Transfer, ReplacedOutputKeepsItsPermissions) {
  WriteBytes(in, Image().bytes());
  WriteBytes(out, {'o', 'l', 'd'});
  std::filesystem::permissions(out, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                        std::filesystem::perms::group_read);
  ASSERT_EQ(RunOnce(Paths()).result, TransferResult::Completed);
  EXPECT_EQ(std::filesystem::status(out).permissions(), std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_write |
                                                            std::filesystem::perms::group_read);
  EXPECT_EQ(ReadBytes(out).size(), kLength);
}
#endif

TEST_F(Transfer, HeldFilesCannotServeTwice) {
  WriteBytes(in, Image().bytes());
  CFile holder;
  ASSERT_TRUE(holder.Open(in.c_str(), CFile::modeRead));
  const TransferRun run = RunOnce(Paths());
  EXPECT_EQ(run.messages, (std::vector<Message>{Err("Open " + in + " Error!")}));
  holder.Close();

  WriteBytes(out, {'o', 'l', 'd'});
  ASSERT_TRUE(holder.Open(out.c_str(), CFile::modeRead));
  const TransferRun held = RunOnce(Paths());
  EXPECT_EQ(held.messages, (std::vector<Message>{Err("Open " + out + " Error!")})) << "no question either";
  holder.Close();
  EXPECT_EQ(ReadBytes(out), Bytes({'o', 'l', 'd'}));
}

}  // namespace
}  // namespace tarn::test
