#pragma once

#include <string>
#include <vector>

namespace tarn::cli {

// Exit statuses, part of the tool's interface.
inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDeclined = 3;

// Each takes the arguments after its own name.
int RunRebuild(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);

extern const char* const kRebuildUsage;
extern const char* const kInfoUsage;

// Prints "tarn-cli: <problem>" and the usage to standard error.
int UsageError(const std::string& problem, const char* usage);

}  // namespace tarn::cli
