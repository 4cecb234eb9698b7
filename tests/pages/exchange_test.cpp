// When the pages copy their boxes into the values the transfer gets: on
// leaving a page and on OK on the active page only; and back into the boxes
// on returning to a page.
#include <gtest/gtest.h>

#include "tests/pages/page_steps.h"

namespace tarn::gui {
namespace {

using ExchangeTest = PageTest;

TEST_F(ExchangeTest, LeavingAndReturningKeepsTextsTicksAndEnabledStates) {
  TypeRomPaths();
  ChooseLogoAndPalette();
  ChooseModule();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ASSERT_TRUE(tarn.SelectPage(Page::General));
    EXPECT_EQ(tarn.TextOf(ids::kInputRom), files.input);
    EXPECT_EQ(tarn.TextOf(ids::kOutputRom), files.output);
    EXPECT_EQ(tarn.TextOf(ids::kLogoFile), files.logo);
    EXPECT_EQ(tarn.TextOf(ids::kPaletteFile), files.palette);
    EXPECT_TRUE(tarn.IsTicked(ids::kChangeLogo));
    for (int id : {ids::kLogoFile, ids::kBrowseLogo, ids::kPaletteFile, ids::kBrowsePalette})
      EXPECT_TRUE(tarn.IsEnabled(id)) << id;

    ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
    EXPECT_EQ(tarn.TextOf(ids::kModuleFile), files.module);
    EXPECT_TRUE(tarn.IsTicked(ids::kAddModule));
    EXPECT_TRUE(tarn.IsEnabled(ids::kModuleFile));
    EXPECT_TRUE(tarn.IsEnabled(ids::kBrowseModule));
  }
}

// The hidden page's box is changed behind its back: only what was saved when
// the page was left may reach the transfer, and returning shows it again.
TEST_F(ExchangeTest, OkOnInsertModuleDeliversTheGeneralPageAsItWasLeft) {
  TypeRomPaths();
  ChooseLogoAndPalette();
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));

  const std::string elsewhere = folder.Path("elsewhere.rom");
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, elsewhere));
  ASSERT_TRUE(tarn.SelectPage(Page::General));
  EXPECT_EQ(tarn.TextOf(ids::kOutputRom), files.output) << "returning did not reload the saved text";

  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, elsewhere));
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output, files.logo, files.palette, "", true}, folder));
  EXPECT_FALSE(FileExists(elsewhere));
}

TEST_F(ExchangeTest, OkOnGeneralDeliversTheModulePageAsItWasLeft) {
  TypeRomPaths();
  ChooseModule();
  ASSERT_TRUE(tarn.SelectPage(Page::General));
  ASSERT_TRUE(tarn.Type(ids::kModuleFile, folder.Path("missing.rle")));
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output, "", "", files.module}, folder));
}

}  // namespace
}  // namespace tarn::gui
