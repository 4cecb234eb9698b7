// The Browse buttons through the system's real open-file dialog, and the
// checks the General page makes of an input ROM chosen that way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/page_steps.h"

namespace tarn::gui {
namespace {

// The page warns below this many bytes.
constexpr size_t kSmallRomLimit = 0x10000;
constexpr DWORD kShortLookMs = 150;

class BrowseTest : public PageTest {
 protected:
  // Browse, the dialog, the name typed and Open pressed.
  ::testing::AssertionResult Browse(int button, const std::string& path) {
    tarn.Press(button);
    const FileDialogView dialog = WaitForFileDialog(tarn.pid());
    if (!dialog)
      return ::testing::AssertionFailure() << "no open-file dialog; " << DescribeWindows(tarn.pid());
    if (!ChooseFile(dialog, path))
      return ::testing::AssertionFailure() << "the dialog does not take " << path;
    Sync(tarn.sheet());
    return ::testing::AssertionSuccess();
  }
  // The page's message box answered, or "" when none comes. The page shows
  // it before its handler returns, so after a Browse a short look is enough.
  std::string PageMessage(DWORD ms = kShortLookMs) {
    const MessageBoxView box = tarn.WaitForBox(kPageMessageCaption, ms);
    if (!box) return "";
    EXPECT_EQ(Owner(box.window), tarn.sheet()) << "not owned by the page";
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(ShowsIcon(box.window));
    EXPECT_TRUE(Answer(box, IDOK));
    return box.text;
  }
};

TEST_F(BrowseTest, EachBrowseOpensItsOwnDialogAndFillsItsOwnBox) {
  struct Case {
    Page page;
    int button, box;
    std::string initialName;
    std::vector<std::string> types;
    std::string file;
  };
  const std::vector<std::string> romTypes{"ROM Files (*.rom)", "All Files (*.*)"};
  const std::vector<std::string> rleTypes{"RLE Files (*.rle)", "All Files (*.*)"};
  const std::vector<std::string> palTypes{"Palette Files (*.pal)", "All Files (*.*)"};
  const Case cases[] = {
      {Page::General, ids::kBrowseInputRom, ids::kInputRom, "*.ROM", romTypes, files.input},
      // A file that does not exist is accepted.
      {Page::General, ids::kBrowseOutputRom, ids::kOutputRom, "*.rom", romTypes, files.output},
      {Page::General, ids::kBrowseLogo, ids::kLogoFile, "*.RLE", rleTypes, files.logo},
      {Page::General, ids::kBrowsePalette, ids::kPaletteFile, "*.PAL", palTypes, files.palette},
      {Page::InsertModule, ids::kBrowseModule, ids::kModuleFile, "*.RLE", rleTypes, files.module},
  };
  ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));

  for (const Case& c : cases) {
    SCOPED_TRACE("Browse " + std::to_string(c.button));
    ASSERT_TRUE(tarn.SelectPage(c.page));
    tarn.Press(c.button);
    const FileDialogView dialog = WaitForFileDialog(tarn.pid());
    ASSERT_TRUE(dialog) << DescribeWindows(tarn.pid());
    EXPECT_EQ(dialog.initialName, c.initialName);
    EXPECT_EQ(dialog.types, c.types);
    EXPECT_EQ(dialog.selectedType, c.types.front());
    EXPECT_FALSE(dialog.readOnlyBoxShown);
    ASSERT_TRUE(ChooseFile(dialog, c.file));
    Sync(tarn.sheet());
    EXPECT_EQ(tarn.TextOf(c.box), c.file);
    EXPECT_EQ(PageMessage(), "");
  }
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output, files.logo, files.palette, files.module, true},
                            folder));
}

// A name typed without an extension gets the dialog's default one. Wine adds
// it only when a file of that name exists, Windows always: with the file in
// place both agree. A cancelled dialog changes nothing.
TEST_F(BrowseTest, NamesWithoutExtensionGetTheDefaultOneAndCancelChangesNothing) {
  struct Case {
    Page page;
    int button, box;
    std::string extension;
  };
  ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));
  for (const Case& c : {Case{Page::General, ids::kBrowseOutputRom, ids::kOutputRom, ".rom"},
                        {Page::General, ids::kBrowseLogo, ids::kLogoFile, ".rle"},
                        {Page::General, ids::kBrowsePalette, ids::kPaletteFile, ".pal"},
                        {Page::InsertModule, ids::kBrowseModule, ids::kModuleFile, ".rle"}}) {
    SCOPED_TRACE("Browse " + std::to_string(c.button));
    const std::string stem = folder.Path("typed" + std::to_string(c.button));
    ASSERT_TRUE(WriteBytes(stem + c.extension, {}));
    ASSERT_TRUE(tarn.SelectPage(c.page));
    ASSERT_TRUE(Browse(c.button, stem));
    EXPECT_EQ(tarn.TextOf(c.box), stem + c.extension);

    tarn.Press(c.button);
    const FileDialogView dialog = WaitForFileDialog(tarn.pid());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(CancelFileDialog(dialog));
    Sync(tarn.sheet());
    EXPECT_EQ(tarn.TextOf(c.box), stem + c.extension);
  }
}

// One run through the input ROM's checks: the size warning at the limit, and
// a file that cannot be opened, which keeps the path chosen before it.
TEST_F(BrowseTest, InputRomIsOpenedOnceAndWarnedAboutBelow64K) {
  struct Case {
    std::string name;
    size_t length;
    bool warned;
  };
  for (const Case& c : {Case{"short.rom", kSmallRomLimit - 1, true},
                        {"exact.rom", kSmallRomLimit, false},
                        {"empty.rom", 0, true}}) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Path(c.name);
    ASSERT_TRUE(WriteBytes(path, Bytes(c.length)));
    ASSERT_TRUE(Browse(ids::kBrowseInputRom, path));
    EXPECT_EQ(PageMessage(c.warned ? kWaitMs : kShortLookMs), c.warned ? "This rom file less then 64k!" : "");
    EXPECT_EQ(tarn.TextOf(ids::kInputRom), path) << "the path is not kept";
  }

  ASSERT_TRUE(Browse(ids::kBrowseInputRom, files.input));
  EXPECT_EQ(PageMessage(), "");

  const std::string missing = folder.Path("missing.rom");
  const std::string held = folder.Path("held.rom");
  ASSERT_TRUE(WriteBytes(held, SampleImage()));
  HANDLE hold = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  for (const std::string& rejected : {held, missing}) {
    ASSERT_TRUE(Browse(ids::kBrowseInputRom, rejected));
    EXPECT_EQ(PageMessage(kWaitMs), "Open " + rejected + " Error! please select again.");
    EXPECT_EQ(tarn.TextOf(ids::kInputRom), files.input);
  }
  CloseHandle(hold);

  // The rejected paths never reach the transfer, whichever page OK is pressed on.
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output}, folder));
}

}  // namespace
}  // namespace tarn::gui
