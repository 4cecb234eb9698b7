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

// The transfer's inputs stay locked while it talks to the user: until the
// completion box is answered, or until the process ends after an error. (The
// output is written beside its path and moved there whole before the box.)
TEST_F(StartStopTest, TheInputsAreHeldUntilTheLastMessageIsAnswered) {
  ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  ASSERT_TRUE(tarn.ClickAndWait(ids::kChangeLogo));
  ASSERT_TRUE(tarn.Type(ids::kLogoFile, files.logo));
  ASSERT_TRUE(tarn.Type(ids::kPaletteFile, files.palette));
  ASSERT_TRUE(tarn.PressOk());
  const MessageBoxView done = tarn.WaitForBox(kFinishCaption);
  ASSERT_TRUE(done) << DescribeWindows(tarn.pid());
  for (const std::string& path : {files.input, files.logo, files.palette})
    EXPECT_TRUE(IsHeldOpen(path)) << path << " is not held while the completion box is shown";
  ASSERT_TRUE(Answer(done, IDOK));
  EXPECT_TRUE(EndsSilently(tarn));
  for (const std::string& path : {files.input, files.output, files.logo, files.palette})
    EXPECT_FALSE(IsHeldOpen(path)) << path;
}

TEST_F(StartStopTest, AFileLeftOpenByAnErrorIsReleasedWhenTheProcessEnds) {
  ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
  ASSERT_TRUE(tarn.PressOk());
  const MessageBoxView error = tarn.WaitForBox(kErrorCaption);
  ASSERT_TRUE(error) << DescribeWindows(tarn.pid());
  EXPECT_EQ(error.text, "Please select a output rom file!");
  EXPECT_TRUE(IsHeldOpen(files.input));
  ASSERT_TRUE(Answer(error, IDOK));
  EXPECT_TRUE(EndsSilently(tarn));
  EXPECT_FALSE(IsHeldOpen(files.input));
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

// An existing output: the one question, with no owner window; Yes replaces
// the file, No leaves it as it was and says nothing more.
class ReplaceTest : public StartStopTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReplaceTest, TheAnswerDecidesWhetherTheOutputIsReplaced) {
  const Bytes previous = {'o', 'l', 'd'};
  ASSERT_TRUE(WriteBytes(files.output, previous));
  ASSERT_TRUE(tarn.Type(ids::kInputRom, files.input));
  ASSERT_TRUE(tarn.Type(ids::kOutputRom, files.output));
  ASSERT_TRUE(tarn.PressOk());
  const MessageBoxView question = tarn.WaitForBox(kQuestionCaption);
  ASSERT_TRUE(question) << DescribeWindows(tarn.pid());
  EXPECT_EQ(question.text, "File already exists, do you want to replace it ?");
  EXPECT_EQ(question.buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(Owner(question.window), nullptr);
  EXPECT_TRUE(ShowsIcon(question.window));
  const bool replace = GetParam();
  ASSERT_TRUE(Answer(question, replace ? IDYES : IDNO));
  if (replace) {
    EXPECT_TRUE(CompletesWith(tarn, {files.input, files.output}, folder));
  } else {
    EXPECT_TRUE(EndsSilently(tarn));
    EXPECT_EQ(ReadBytes(files.output), previous);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, ReplaceTest, ::testing::Values(true, false),
                         [](const auto& test) { return std::string(test.param ? "Yes" : "No"); });

// The program's 8-bit paths are UTF-8 (its manifest says so), so names that
// no older 8-bit code page holds work as well as any other.
TEST_F(StartStopTest, PathsBeyondTheOldCodePagesWork) {
  const std::wstring folderW(folder.path().begin(), folder.path().end());
  const std::wstring input = folderW + L"\\\u03A9mega \u8DEF.rom",
                     output = folderW + L"\\\u00E9t\u00E9 \u03A9.rom";
  ASSERT_TRUE(WriteBytes(input, SampleImage()));
  ASSERT_TRUE(SetText(tarn.Control(ids::kInputRom), input));
  ASSERT_TRUE(SetText(tarn.Control(ids::kOutputRom), output));
  ASSERT_TRUE(tarn.PressOk());

  const MessageBoxView box = tarn.WaitForBox(kFinishCaption);
  ASSERT_TRUE(box) << DescribeWindows(tarn.pid());
  ASSERT_TRUE(Answer(box, IDOK));
  EXPECT_TRUE(EndsSilently(tarn));
  // The same bytes as from an input of a plain name.
  const Bytes expected = ExpectedOutput({files.input, files.output}, folder);
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(ReadBytes(output) == expected) << "the output under its UTF-16 name differs";
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

std::string LeaveName(const ::testing::TestParamInfo<Leave>& test) {
  const char* const names[] = {"CancelButton", "Escape", "CloseBox", "HelpThenCancel"};
  return names[int(test.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeaveTest,
                         ::testing::Values(Leave::CancelButton, Leave::Escape, Leave::CloseBox,
                                           Leave::HelpThenCancel),
                         LeaveName);

}  // namespace
}  // namespace tarn::gui
