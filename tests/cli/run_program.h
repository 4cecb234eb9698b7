// Runs a program with arguments, standard input from nowhere, and captures
// what it prints. Windows line ends are folded to "\n".
#pragma once

#include <string>
#include <vector>

namespace tarn::test {

struct ProgramRun {
  int status;
  std::string out, err;
};

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace tarn::test
