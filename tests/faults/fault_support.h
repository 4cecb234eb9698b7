// Runs tarn-cli in a child process under a fault of the operating system's
// making, and records what stood at each path before and after.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/image/test_files.h"
#include "tests/path_state.h"

namespace tarn::faults {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// The user that unreadable files are unreadable for, when the tests run as root.
inline constexpr uid_t kNobody = 65534;

struct ChildFaults {
  rlim_t fileSizeLimit = RLIM_INFINITY;      // RLIMIT_FSIZE, bytes
  rlim_t addressSpaceLimit = RLIM_INFINITY;  // RLIMIT_AS, bytes
  bool dropPrivileges = false;               // run as kNobody, without groups (when root)
  std::vector<std::pair<std::string, std::string>> environment;
};

// Exit status of a child whose fault could not be set up (setrlimit, setuid).
inline constexpr int kSetupFailed = 125;

struct CliRun {
  int status;  // the exit status, or 128 + the signal that ended it
  std::string out, err;
  long maxRssKiB = 0;
};

// tarn-cli with these arguments and no standard input; a run that takes more
// than a minute is killed and reported with status -1.
CliRun RunCli(const std::vector<std::string>& args, const ChildFaults& faults = {});

using test::PathState;
using test::StateOf;
// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

// A new-format image of length bytes with a module record in the rebuilt
// area and one in the kept area, so that the kept area is read twice.
Bytes TestImage(size_t length);

}  // namespace tarn::faults
