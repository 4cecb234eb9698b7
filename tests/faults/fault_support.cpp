#include "tests/faults/fault_support.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <ostream>
#include <thread>

namespace tarn::faults {
namespace {

constexpr auto kChildTimeLimit = std::chrono::seconds(60);

std::string Slurp(const std::string& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// Runs in the child between fork and exec: only calls that are safe there.
[[noreturn]] void BecomeCli(char* const* argv, const ChildFaults& faults, const char* out, const char* err) {
  const int in = ::open("/dev/null", O_RDONLY);
  const int o = ::open(out, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int e = ::open(err, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0)
    ::_exit(kSetupFailed);
  const rlimit fsize{faults.fileSizeLimit, faults.fileSizeLimit};
  const rlimit as{faults.addressSpaceLimit, faults.addressSpaceLimit};
  if (::setrlimit(RLIMIT_FSIZE, &fsize) != 0 || ::setrlimit(RLIMIT_AS, &as) != 0) ::_exit(kSetupFailed);
  if (faults.dropPrivileges && ::geteuid() == 0 &&
      (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
    ::_exit(kSetupFailed);
  ::execv(TARN_CLI, argv);
  ::_exit(126);
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const ChildFaults& faults) {
  const TempDir capture;
  const std::string out = capture / "stdout", err = capture / "stderr";
  // Set up before fork: under a memory limit the child can allocate nothing.
  std::vector<char*> argv{const_cast<char*>(TARN_CLI)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (const auto& [name, value] : faults.environment) ::setenv(name.c_str(), value.c_str(), 1);
  const pid_t pid = ::fork();
  if (pid == 0) BecomeCli(argv.data(), faults, out.c_str(), err.c_str());
  for (const auto& [name, value] : faults.environment) ::unsetenv(name.c_str());
  if (pid < 0) return {-1, "", "fork failed"};

  int status = 0;
  rusage usage{};
  const auto deadline = std::chrono::steady_clock::now() + kChildTimeLimit;
  while (::wait4(pid, &status, WNOHANG, &usage) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return {-1, Slurp(out), Slurp(err) + "\n(killed: still running after a minute)"};
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return {code, Slurp(out), Slurp(err), usage.ru_maxrss};
}

std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

Bytes TestImage(size_t length) {
  RomBuilder image(length, 0x5A);
  image.Record(0x1000, Signature::Img, 0x800);
  image.Record(kRebuiltAreaEnd + 0x40, Signature::Img, 0x400);
  return image.bytes();
}

}  // namespace tarn::faults
