#include "tests/cli/run_program.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "tests/image/test_files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace tarn::test {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string folded;
  for (char c : text)
    if (c != '\r') folded += c;
  return folded;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args) {
  TempDir dir;
  const std::string outPath = dir / "out.txt", errPath = dir / "err.txt";
  int status = -1;
#ifdef _WIN32
  std::string command = "\"" + program + "\"";
  for (const std::string& a : args) command += " \"" + a + "\"";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  auto open = [&](const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition, 0,
                       nullptr);
  };
  HANDLE in = open("NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = open(outPath, GENERIC_WRITE, CREATE_ALWAYS), err = open(errPath, GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = in;
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    status = int(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(in);
  CloseHandle(out);
  CloseHandle(err);
#else
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int raw = 0;
    waitpid(pid, &raw, 0);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  }
  posix_spawn_file_actions_destroy(&actions);
#endif
  return {status, Slurp(outPath), Slurp(errPath)};
}

}  // namespace tarn::test
