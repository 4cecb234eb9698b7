// Steps shared by the page tests: a started Tarn.exe with sample files, and
// the few things a user does on the pages again and again.
#pragma once

#include <gtest/gtest.h>

#include "tests/support/rom_samples.h"
#include "tests/support/tarn_checks.h"
#include "tests/support/tarn_session.h"

namespace tarn::gui {

class PageTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tarn.ready()) << "no sheet; windows: " << DescribeWindows(tarn.pid()); }

  // Input and output ROM typed on the General page.
  void TypeRomPaths() {
    ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
    ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  }
  // "&Change the logo" ticked and both files typed.
  void ChooseLogoAndPalette() {
    ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
    ASSERT_TRUE(tarn.Type(ids::kLogoFile, files.logo));
    ASSERT_TRUE(tarn.Type(ids::kPaletteFile, files.palette));
  }
  // On the Insert Module page: "Add The Module" ticked and the module typed.
  void ChooseModule() {
    ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
    ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));
    ASSERT_TRUE(tarn.Type(ids::kModuleFile, files.module));
  }

  TempFolder folder;
  SampleFiles files{folder};
  TarnSession tarn;
};

}  // namespace tarn::gui
