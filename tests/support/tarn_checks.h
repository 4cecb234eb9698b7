// How a run of Tarn.exe ends, as assertions: the completion box and an output
// equal byte for byte to what the engine makes of the same choice, or one
// error box with an exact text; in both cases the process then ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/support/rom_samples.h"
#include "tests/support/tarn_session.h"

namespace tarn::gui {

inline constexpr const char* kErrorCaption = "ERROR!";
inline constexpr const char* kFinishCaption = "FINISH";
inline constexpr const char* kQuestionCaption = "QUESTION";

// The captions and texts of the process's visible windows, for failure messages.
std::string DescribeWindows(DWORD pid);

::testing::AssertionResult CompletesWith(TarnSession& tarn, const Choice& choice, const TempFolder& scratch);
::testing::AssertionResult EndsWithError(TarnSession& tarn, const std::string& text);
// The process ends by itself, without showing any window.
::testing::AssertionResult EndsSilently(TarnSession& tarn);

}  // namespace tarn::gui
