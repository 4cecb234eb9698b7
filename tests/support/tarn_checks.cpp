#include "tests/support/tarn_checks.h"

#include <cstdio>

namespace tarn::gui {
namespace {

std::string Hex(size_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%zX", value);
  return text;
}

::testing::AssertionResult Ends(TarnSession& tarn) {
  if (tarn.WaitForExit()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "Tarn.exe is still running; windows: " << DescribeWindows(tarn.pid());
}

}  // namespace

std::string DescribeWindows(DWORD pid) {
  std::string out;
  for (HWND window : TopLevelWindows(pid)) {
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    out += "[\"" + std::string(caption) + "\"";
    if (HWND text = FindDescendant(window, 0xFFFF); text && ClassName(window) == "#32770")
      out += ": \"" + Text(text) + "\"";
    out += "] ";
  }
  return out.empty() ? "none" : out;
}

::testing::AssertionResult CompletesWith(TarnSession& tarn, const Choice& choice, const TempFolder& scratch) {
  const MessageBoxView box = tarn.WaitForBox(kFinishCaption);
  if (!box)
    return ::testing::AssertionFailure() << "no completion box; windows: " << DescribeWindows(tarn.pid());
  if (box.text != "Quobix ROM transfer complete !")
    return ::testing::AssertionFailure() << "completion box says \"" << box.text << "\"";
  if (!Answer(box, IDOK)) return ::testing::AssertionFailure() << "the completion box does not close";
  if (auto ended = Ends(tarn); !ended) return ended;

  const Bytes expected = ExpectedOutput(choice, scratch);
  const Bytes actual = ReadBytes(choice.outputRom);
  if (expected.empty()) return ::testing::AssertionFailure() << "the engine does not complete this choice";
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure()
           << "output has " << Hex(actual.size()) << " bytes, expected " << Hex(expected.size());
  for (size_t i = 0; i < actual.size(); ++i)
    if (actual[i] != expected[i])
      return ::testing::AssertionFailure() << "output differs first at " << Hex(i) << ": " << Hex(actual[i])
                                           << " instead of " << Hex(expected[i]);
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult EndsWithError(TarnSession& tarn, const std::string& text) {
  const MessageBoxView box = tarn.WaitForBox(kErrorCaption);
  if (!box) return ::testing::AssertionFailure() << "no error box; windows: " << DescribeWindows(tarn.pid());
  if (box.text != text) return ::testing::AssertionFailure() << "error box says \"" << box.text << "\"";
  if (!Answer(box, IDOK)) return ::testing::AssertionFailure() << "the error box does not close";
  return Ends(tarn);
}

::testing::AssertionResult EndsSilently(TarnSession& tarn) {
  if (auto ended = Ends(tarn); !ended) return ended;
  return ::testing::AssertionSuccess();
}

}  // namespace tarn::gui
