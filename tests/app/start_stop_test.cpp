// How a run ends: OK runs the transfer once, after the sheet has gone; every
// other way out runs none.
#include <gtest/gtest.h>

#include "tests/support/rom_samples.h"
#include "tests/support/tarn_checks.h"
#include "tests/support/tarn_session.h"

namespace tarn::gui {
namespace {

class StartStopTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(tarn.ready()) << "no sheet; windows: " << DescribeWindows(tarn.pid()); }

  TempFolder folder;
  SampleFiles files{folder};
  TarnSession tarn;
};

TEST_F(StartStopTest, OkAfterAnyNumberOfHelpRequestsRunsExactlyOneTransfer) {
  ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  for (int i = 0; i < 3; ++i) {
    HWND about = tarn.PressHelp();
    ASSERT_TRUE(about) << "Help #" << i + 1;
    ASSERT_TRUE(tarn.CloseAbout(about));
  }
  ASSERT_TRUE(tarn.PressOk());
  // A second transfer would find the output there and ask before replacing it.
  EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output}, folder));
}

TEST_F(StartStopTest, OkAtOnceReportsTheMissingInputAfterTheSheetHasGone) {
  HWND sheet = tarn.sheet();
  tarn.Press(IDOK);
  const MessageBoxView box = tarn.WaitForBox(kErrorCaption);
  ASSERT_TRUE(box) << DescribeWindows(tarn.pid());
  EXPECT_TRUE(!IsWindow(sheet) || !IsVisible(sheet)) << "the sheet is still shown under the first error";
  EXPECT_EQ(Owner(box.window), nullptr);
  EXPECT_EQ(box.text, "Please select a input rom file!");
  EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
  EXPECT_TRUE(ShowsIcon(box.window));
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(EndsSilently(tarn)) << "the sheet came back";
}

// Each way of leaving the sheet without OK, with every path filled in and an
// output that already exists: nothing is asked, written or shown.
enum class Leave { CancelButton, Escape, CloseBox, HelpThenCancel };

class LeaveTest : public StartStopTest, public ::testing::WithParamInterface<Leave> {};

TEST_P(LeaveTest, RunsNoTransfer) {
  const Bytes previous = {'k', 'e', 'e', 'p'};
  ASSERT_TRUE(WriteBytes(files.output, previous));
  ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
  ASSERT_TRUE(tarn.Type(ids::kLogoFile, files.logo));
  ASSERT_TRUE(tarn.Type(ids::kPaletteFile, files.palette));

  switch (GetParam()) {
    case Leave::CancelButton:
      ASSERT_TRUE(tarn.PressCancel());
      break;
    case Leave::Escape:
      ASSERT_TRUE(PressKey(tarn.ActivePage(), VK_ESCAPE));
      break;
    case Leave::CloseBox:
      PostMessageA(tarn.sheet(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Leave::HelpThenCancel: {
      HWND about = tarn.PressHelp();
      ASSERT_TRUE(about);
      ASSERT_TRUE(tarn.CloseAbout(about));
      ASSERT_TRUE(tarn.PressCancel());
      break;
    }
  }
  EXPECT_TRUE(EndsSilently(tarn));
  EXPECT_EQ(ReadBytes(files.output), previous);
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeaveTest,
                         ::testing::Values(Leave::CancelButton, Leave::Escape, Leave::CloseBox,
                                           Leave::HelpThenCancel));

}  // namespace
}  // namespace tarn::gui
