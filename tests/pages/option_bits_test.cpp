// The logo option in the application's option word, seen from inside the
// process: the real start-up routine runs the sheet while a second thread
// plays the user, and the word is read when the routine has returned.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/rom_app.h"
#include "image/transfer.h"
#include "tests/support/gui_driver.h"
#include "tests/support/tarn_session.h"

namespace tarn::gui {
namespace {

// Clicks "&Change the logo" and leaves with Cancel, which undoes nothing; on
// any failure it still cancels, so that the start-up routine returns.
bool ClickAndCancel(int clicks) {
  HWND sheet = WaitForWindow(GetCurrentProcessId(), kSheetCaption);
  if (!sheet) return false;
  bool ok = true;
  if (HWND box = FindDescendant(sheet, ids::kChangeLogo)) {
    for (int i = 0; i < clicks; ++i) {
      Click(box);
      ok = Sync(box) && ok;
    }
  } else {
    ok = false;
  }
  Click(GetDlgItem(sheet, IDCANCEL));
  return WaitUntilGone(sheet) && ok;
}

class OptionBitsTest : public ::testing::TestWithParam<int> {};

// Cancels whatever window the process still shows until the start-up
// routine has returned, so that a sheet the user thread could not drive
// fails the test instead of hanging it.
void CancelUntil(const std::atomic<bool>& returned) {
  const ULONGLONG deadline = GetTickCount64() + 4 * kWaitMs;
  while (!returned && GetTickCount64() < deadline) {
    for (HWND window : TopLevelWindows(GetCurrentProcessId())) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    Sleep(100);
  }
}

TEST_P(OptionBitsTest, ClicksFlipOnlyTheLogoBit) {
  CRomApp& app = *GetRomApp();
  for (uint32_t others : {0u, ~OPT_CHANGE_LOGO}) {
    SCOPED_TRACE(others);
    app.m_dwOptions = others;
    bool driven = false;
    std::atomic<bool> returned{false};
    std::thread user([&] {
      driven = ClickAndCancel(GetParam());
      CancelUntil(returned);
    });
    EXPECT_FALSE(app.InitInstance());
    returned = true;
    user.join();
    ASSERT_TRUE(driven);
    EXPECT_EQ(app.m_dwOptions, others | (GetParam() % 2 == 1 ? OPT_CHANGE_LOGO : 0));
  }
}

INSTANTIATE_TEST_SUITE_P(Clicks, OptionBitsTest, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace tarn::gui
