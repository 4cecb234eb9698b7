// The main sheet and the About box as a user sees them, and every way of
// asking for help on them.
#include <gtest/gtest.h>

#include "tests/support/tarn_checks.h"
#include "tests/support/tarn_session.h"

namespace tarn::gui {
namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void ExpectCentredOn(const RECT& window, const RECT& area) {
  // One pixel of rounding either way.
  EXPECT_NEAR(Centre(window).x, Centre(area).x, 1);
  EXPECT_NEAR(Centre(window).y, Centre(area).y, 1);
}

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tarn.ready()) << "no sheet; windows: " << DescribeWindows(tarn.pid()); }

  // Types into the General page and ticks its box, so that a later check can
  // tell whether anything was lost.
  void FillGeneralPage() {
    ASSERT_TRUE(tarn.Type(ids::kInputRom, "C:\\roms\\in.rom"));
    ASSERT_TRUE(tarn.Type(ids::kOutputRom, "C:\\roms\\out.rom"));
    ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
    ASSERT_TRUE(tarn.Type(ids::kLogoFile, "C:\\roms\\logo.rle"));
  }
  void ExpectGeneralPageAsFilled() {
    EXPECT_EQ(tarn.ActivePageIndex(), int(Page::General));
    EXPECT_EQ(tarn.TextOf(ids::kInputRom), "C:\\roms\\in.rom");
    EXPECT_EQ(tarn.TextOf(ids::kOutputRom), "C:\\roms\\out.rom");
    EXPECT_EQ(tarn.TextOf(ids::kLogoFile), "C:\\roms\\logo.rle");
    EXPECT_TRUE(tarn.IsTicked(ids::kChangeLogo));
    EXPECT_TRUE(tarn.IsEnabled(ids::kLogoFile));
  }

  TarnSession tarn;
};

TEST_F(SheetTest, ShowsCaptionTabsAndButtonsWithoutApplyOrContextHelp) {
  HWND sheet = tarn.sheet();
  EXPECT_EQ(TopLevelWindows(tarn.pid()).size(), 1u) << DescribeWindows(tarn.pid());
  EXPECT_EQ(TabLabels(tarn.TabControl()), (std::vector<std::string>{"General", "Insert Module"}));
  EXPECT_EQ(tarn.ActivePageIndex(), int(Page::General));

  for (auto [id, label] : {std::pair{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {ids::kHelp, "Help"}}) {
    HWND button = GetDlgItem(sheet, id);
    ASSERT_TRUE(button) << label;
    EXPECT_EQ(Text(button), label);
    EXPECT_TRUE(IsVisible(button)) << label;
    EXPECT_TRUE(gui::IsEnabled(button)) << label;
  }
  HWND apply = GetDlgItem(sheet, ids::kApply);
  EXPECT_TRUE(!apply || !IsVisible(apply)) << "an Apply button is shown";
  for (HWND button : DescendantsOfClass(sheet, "Button"))
    EXPECT_TRUE(!IsVisible(button) || Text(button) != "&Apply");

  // Wine keeps the template's style bit where Windows sets the extended one;
  // either shows the button.
  EXPECT_EQ(GetWindowLongA(sheet, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
  EXPECT_EQ(GetWindowLongA(sheet, GWL_STYLE) & DS_CONTEXTHELP, 0);

  RECT workArea = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  ExpectCentredOn(ScreenRect(sheet), workArea);

  // The pages are laid out in the sheet's font: a 50 x 14 Browse button of a
  // page then has the pixel size of the sheet's 50 x 14 OK button.
  const RECT ok = ScreenRect(GetDlgItem(sheet, IDOK));
  const RECT browse = ScreenRect(tarn.Control(ids::kBrowseInputRom));
  EXPECT_EQ(browse.right - browse.left, ok.right - ok.left);
  EXPECT_EQ(browse.bottom - browse.top, ok.bottom - ok.top);

  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  EXPECT_TRUE(gui::IsEnabled(GetDlgItem(sheet, ids::kHelp))) << "Help is not available on Insert Module";
  EXPECT_TRUE(!apply || !IsVisible(apply)) << "an Apply button is shown on Insert Module";
}

TEST_F(SheetTest, HelpShowsTheAboutBoxOverTheSheet) {
  FillGeneralPage();
  HWND about = tarn.PressHelp();
  ASSERT_TRUE(about) << DescribeWindows(tarn.pid());

  EXPECT_EQ(Owner(about), tarn.sheet());
  EXPECT_FALSE(IsWindowEnabled(tarn.sheet())) << "the sheet stays usable under the About box";
  ExpectCentredOn(ScreenRect(about), ScreenRect(tarn.sheet()));
  EXPECT_TRUE(ShowsIcon(about)) << "no icon in the About box";
  std::vector<std::string> texts;
  for (HWND label : DescendantsOfClass(about, "Static"))
    if ((GetWindowLongA(label, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) texts.push_back(Text(label));
  EXPECT_EQ(texts, std::vector<std::string>{"Tarn Version 1.00.03"});
  std::vector<std::string> buttons;
  for (HWND button : DescendantsOfClass(about, "Button")) buttons.push_back(Text(button));
  EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(GetDlgCtrlID(DescendantsOfClass(about, "Button").at(0)), IDOK);

  ASSERT_TRUE(tarn.CloseAbout(about));
  ExpectGeneralPageAsFilled();
  EXPECT_EQ(TopLevelWindows(tarn.pid(), kAboutCaption).size(), 0u);
}

// Every way of asking for help, on either page, any number of times, ends in
// the same About box; every way of closing it leaves the page as it was.
TEST_F(SheetTest, HelpAndF1OnEitherPageShowTheAboutBoxAndChangeNothing) {
  FillGeneralPage();
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  ASSERT_TRUE(tarn.ClickAndWait(ids::kAddModule));
  ASSERT_TRUE(tarn.Type(ids::kModuleFile, "C:\\roms\\module.rle"));

  using Close = TarnSession::Close;
  struct Request {
    Page page;
    bool f1;
    Close close;
  };
  for (Request request : {Request{Page::InsertModule, false, Close::OkButton},
                          {Page::InsertModule, true, Close::Escape},
                          {Page::General, false, Close::Enter},
                          {Page::General, true, Close::CloseBox},
                          {Page::General, false, Close::OkButton}}) {
    SCOPED_TRACE(std::string(request.f1 ? "F1" : "Help") + " on page " + std::to_string(int(request.page)) +
                 ", closed by way " + std::to_string(int(request.close)));
    ASSERT_TRUE(tarn.SelectPage(request.page));
    HWND about = request.f1 ? tarn.PressF1() : tarn.PressHelp();
    ASSERT_TRUE(about) << DescribeWindows(tarn.pid());
    EXPECT_EQ(TopLevelWindows(tarn.pid(), kAboutCaption).size(), 1u);
    ASSERT_TRUE(tarn.CloseAbout(about, request.close));
    EXPECT_EQ(tarn.ActivePageIndex(), int(request.page));
    EXPECT_TRUE(TopLevelWindows(tarn.pid(), kAboutCaption).empty());
  }
  ExpectGeneralPageAsFilled();
  ASSERT_TRUE(tarn.SelectPage(Page::InsertModule));
  EXPECT_EQ(tarn.TextOf(ids::kModuleFile), "C:\\roms\\module.rle");
  EXPECT_TRUE(tarn.IsTicked(ids::kAddModule));
  EXPECT_TRUE(tarn.IsEnabled(ids::kModuleFile));
}

// Inside the About box F1 keeps the default help handling, which finds no
// help viewer for the program and says so.
TEST_F(SheetTest, F1InTheAboutBoxOpensNoSecondAboutBox) {
  HWND about = tarn.PressHelp();
  ASSERT_TRUE(about);
  ASSERT_TRUE(PressKey(about, VK_F1));
  const MessageBoxView failed = tarn.WaitForBox("Tarn");
  ASSERT_TRUE(failed) << DescribeWindows(tarn.pid());
  EXPECT_EQ(failed.text, "Failed to launch help.");
  EXPECT_EQ(TopLevelWindows(tarn.pid(), kAboutCaption).size(), 1u) << DescribeWindows(tarn.pid());
  ASSERT_TRUE(Answer(failed, IDOK));
  ASSERT_TRUE(tarn.CloseAbout(about)) << DescribeWindows(tarn.pid());
  ASSERT_TRUE(tarn.PressCancel());
  EXPECT_TRUE(EndsSilently(tarn));
}

}  // namespace
}  // namespace tarn::gui
