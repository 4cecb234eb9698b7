// What the two pages show when they open, and how their check boxes govern
// the controls below them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pages/page_steps.h"

namespace tarn::gui {
namespace {

// The page's controls in window order, which is the tab order: the labels and
// the group box by their text, the rest by their id.
std::vector<std::string> Layout(HWND page) {
  std::vector<std::string> items;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    const bool named = id >= ids::kInputRom && id <= ids::kBrowseModule;
    items.push_back(named ? std::to_string(id) : Text(child));
  }
  return items;
}

bool ScrollsSideways(HWND edit) { return (GetWindowLongA(edit, GWL_STYLE) & ES_AUTOHSCROLL) != 0; }

using PageStateTest = PageTest;

TEST_F(PageStateTest, BothPagesOpenEmptyWithTheirBoxesUnticked) {
  EXPECT_EQ(
      Layout(tarn.ActivePage()),
      (std::vector<std::string>{"&Input ROM File:", "1000", "1002", "&Output ROM File:", "1001", "1003",
                                "1020", "", "Logo file:", "1005", "1004", "Palette File:", "1010", "1011"}));
  for (int id : {ids::kBrowseInputRom, ids::kBrowseOutputRom, ids::kBrowseLogo, ids::kBrowsePalette})
    EXPECT_EQ(tarn.TextOf(id), "Browse") << id;
  EXPECT_EQ(tarn.TextOf(ids::kChangeLogo), "&Change the logo");
  for (int id : {ids::kInputRom, ids::kOutputRom, ids::kLogoFile, ids::kPaletteFile})
    EXPECT_EQ(tarn.TextOf(id), "");
  EXPECT_FALSE(tarn.IsTicked(ids::kChangeLogo));
  for (int id :
       {ids::kInputRom, ids::kBrowseInputRom, ids::kOutputRom, ids::kBrowseOutputRom, ids::kChangeLogo})
    EXPECT_TRUE(tarn.IsEnabled(id)) << id;
  for (int id : {ids::kLogoFile, ids::kBrowseLogo, ids::kPaletteFile, ids::kBrowsePalette})
    EXPECT_FALSE(tarn.IsEnabled(id)) << id;
  EXPECT_FALSE(ScrollsSideways(tarn.Control(ids::kInputRom)));
  for (int id : {ids::kOutputRom, ids::kLogoFile, ids::kPaletteFile})
    EXPECT_TRUE(ScrollsSideways(tarn.Control(id))) << id;

  EXPECT_EQ(tarn.Control(ids::kAddModule), nullptr)
      << "the Insert Module page exists before its tab is opened";
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  EXPECT_EQ(Layout(tarn.ActivePage()),
            (std::vector<std::string>{"&Input Module File:", "1022", "1023", "1021"}));
  EXPECT_EQ(tarn.TextOf(ids::kAddModule), "Add The Module");
  EXPECT_EQ(tarn.TextOf(ids::kBrowseModule), "Browse");
  EXPECT_EQ(tarn.TextOf(ids::kModuleFile), "");
  EXPECT_FALSE(tarn.IsTicked(ids::kAddModule));
  EXPECT_TRUE(tarn.IsEnabled(ids::kAddModule));
  EXPECT_FALSE(tarn.IsEnabled(ids::kModuleFile));
  EXPECT_FALSE(tarn.IsEnabled(ids::kBrowseModule));
  EXPECT_FALSE(ScrollsSideways(tarn.Control(ids::kModuleFile)));
}

// Each click flips the tick and the governed controls together; disabling
// leaves the texts alone.
TEST_F(PageStateTest, EachClickFlipsTheGovernedControlsAndKeepsTheirTexts) {
  struct Governed {
    Page page;
    int box;
    std::vector<int> controls;
    std::vector<int> texts;
  };
  for (const Governed& g :
       {Governed{Page::General,
                 ids::kChangeLogo,
                 {ids::kLogoFile, ids::kBrowseLogo, ids::kPaletteFile, ids::kBrowsePalette},
                 {ids::kLogoFile, ids::kPaletteFile}},
        Governed{Page::InsertModule,
                 ids::kAddModule,
                 {ids::kModuleFile, ids::kBrowseModule},
                 {ids::kModuleFile}}}) {
    ASSERT_TRUE(tarn.SelectPage(g.page));
    for (int click = 1; click <= 4; ++click) {
      SCOPED_TRACE("box " + std::to_string(g.box) + ", click " + std::to_string(click));
      ASSERT_TRUE(tarn.ClickAndWait(g.box));
      const bool ticked = click % 2 == 1;
      if (click == 1) {
        for (int id : g.texts) ASSERT_TRUE(tarn.Type(id, "C:\\kept\\" + std::to_string(id)));
      }
      EXPECT_EQ(tarn.IsTicked(g.box), ticked);
      for (int id : g.controls) EXPECT_EQ(tarn.IsEnabled(id), ticked) << id;
      for (int id : g.texts) EXPECT_EQ(tarn.TextOf(id), "C:\\kept\\" + std::to_string(id));
    }
  }
}

// The keyboard reaches the same handler: the check box's access key and the
// space bar click it. (Ctrl+Tab would switch pages on Windows; Wine's modal
// property sheet does not handle it.)
TEST_F(PageStateTest, AccessKeyAndSpaceBarClickTheCheckBox) {
  HWND page = tarn.ActivePage();
  ASSERT_TRUE(PressKeys(page, {VK_MENU, 'C'}));
  EXPECT_TRUE(WaitUntil([&] { return tarn.IsTicked(ids::kChangeLogo) && tarn.IsEnabled(ids::kLogoFile); }))
      << "Alt+C does not tick \"&Change the logo\"";
  ASSERT_TRUE(PressKey(page, VK_SPACE));
  EXPECT_TRUE(WaitUntil([&] { return !tarn.IsTicked(ids::kChangeLogo) && !tarn.IsEnabled(ids::kLogoFile); }))
      << "the space bar does not untick it";
}

}  // namespace
}  // namespace tarn::gui
