// Complete runs from the pages: what the user chose reaches the transfer, and
// the output equals, byte for byte, what the transfer makes of that choice.
#include <gtest/gtest.h>

#include <string>

#include "tests/pages/page_steps.h"

namespace tarn::gui {
namespace {

// Otherwise a page that loses a choice could still pass the tests below.
TEST(SampleFilesTest, EveryChoiceShowsInTheOutput) {
  const TempFolder folder;
  const SampleFiles files(folder);
  const Choice plain{files.input, files.output};
  Choice logo = plain, module = plain;
  logo.logoFile = files.logo;
  logo.paletteFile = files.palette;
  logo.changeLogo = true;
  module.moduleFile = files.module;
  const Bytes plainOutput = ExpectedOutput(plain, folder);
  ASSERT_FALSE(plainOutput.empty());
  EXPECT_NE(ExpectedOutput(logo, folder), plainOutput);
  EXPECT_NE(ExpectedOutput(module, folder), plainOutput);
}

// An odd number of clicks on "&Change the logo" replaces logo and palette; an
// even number uses the image's own, though the two paths are still filled in.
class ChangeLogoClicksTest : public PageTest, public ::testing::WithParamInterface<int> {};

TEST_P(ChangeLogoClicksTest, OddReplacesTheLogoEvenKeepsTheImagesOwn) {
  TypeRomPaths();
  ChooseLogoAndPalette();
  for (int click = 2; click <= GetParam(); ++click) ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
  ASSERT_TRUE(tarn.PressOk());
  const bool replaced = GetParam() % 2 == 1;
  EXPECT_TRUE(
      CompletesWith(tarn, {files.input, files.output, files.logo, files.palette, "", replaced}, folder));
}

INSTANTIATE_TEST_SUITE_P(Clicks, ChangeLogoClicksTest, ::testing::Values(1, 2, 3));

// The module is inserted whenever its path is filled in, whatever the tick;
// a page never opened or left empty inserts none.
enum class ModuleStep { NeverOpened, OpenedEmpty, Chosen, ChosenThenUnticked };

class ModuleTest : public PageTest, public ::testing::WithParamInterface<ModuleStep> {};

TEST_P(ModuleTest, ModuleIsInsertedExactlyWhenItsPathIsFilledIn) {
  TypeRomPaths();
  ChooseLogoAndPalette();
  bool inserted = false;
  switch (GetParam()) {
    case ModuleStep::NeverOpened:
      break;
    case ModuleStep::OpenedEmpty:
      ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
      break;
    case ModuleStep::Chosen:
      ChooseModule();
      inserted = true;
      break;
    case ModuleStep::ChosenThenUnticked:
      ChooseModule();
      ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));
      EXPECT_FALSE(tarn.IsEnabled(ids::kModuleFile));
      EXPECT_EQ(tarn.TextOf(ids::kModuleFile), files.module);
      inserted = true;
      break;
  }
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(CompletesWith(
      tarn, {files.input, files.output, files.logo, files.palette, inserted ? files.module : "", true},
      folder));
}

std::string ModuleStepName(const ::testing::TestParamInfo<ModuleStep>& test) {
  const char* const names[] = {"NeverOpened", "OpenedEmpty", "Chosen", "ChosenThenUnticked"};
  return names[int(test.param)];
}

INSTANTIATE_TEST_SUITE_P(Steps, ModuleTest,
                         ::testing::Values(ModuleStep::NeverOpened, ModuleStep::OpenedEmpty,
                                           ModuleStep::Chosen, ModuleStep::ChosenThenUnticked),
                         ModuleStepName);

// A path typed by hand reaches the transfer exactly as typed, with no test on
// the page: each of these names a file that is not there, and the transfer's
// message quotes it.
struct TypedPath {
  const char* name;
  int box;
};

class TypedPathTest : public PageTest, public ::testing::WithParamInterface<TypedPath> {};

TEST_P(TypedPathTest, ReachesTheTransferAsTyped) {
  TypeRomPaths();
  ChooseLogoAndPalette();
  const std::string typed = folder.path() + "\\No Such Dir\\..\\odd  name." + GetParam().name;
  if (GetParam().box == ids::kModuleFile) {
    ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
    ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));
  }
  ASSERT_TRUE(tarn.Type(GetParam().box, typed));
  // Leaving the page exchanges it; nothing on the page may check the path
  // (a message there would hold up the tab switch).
  ASSERT_TRUE(tarn.SelectPage(GetParam().box == ids::kModuleFile ? Page::General : Page::InsertModule));
  EXPECT_TRUE(TopLevelWindows(tarn.pid(), kPageMessageCaption).empty());
  ASSERT_TRUE(tarn.PressOk());
  EXPECT_TRUE(EndsWithError(tarn, "Open " + typed + " Error!"));
}

INSTANTIATE_TEST_SUITE_P(Boxes, TypedPathTest,
                         ::testing::Values(TypedPath{"Rom", ids::kInputRom}, TypedPath{"Rle", ids::kLogoFile},
                                           TypedPath{"Pal", ids::kPaletteFile},
                                           TypedPath{"Mod", ids::kModuleFile}),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace tarn::gui
