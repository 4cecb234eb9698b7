#include "cli/console_ui.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tarn::cli {
namespace {

bool InputIsATerminal() {
#ifdef _WIN32
  // The NUL device counts as a character device to _isatty; only a console has a mode.
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
  return isatty(STDIN_FILENO) != 0;
#endif
}

}  // namespace

void ConsoleUi::Error(const std::string& text) { std::cerr << text << std::endl; }

void ConsoleUi::Finish(const std::string& text) { std::cout << text << std::endl; }

bool ConsoleUi::Ask(const std::string& text) {
  if (m_answer != ReplaceAnswer::Ask) return m_answer == ReplaceAnswer::Yes;
  if (!InputIsATerminal()) {
    // A script that did not say must not lose the file.
    std::cerr << text << "\nNo: standard input is not a terminal (use --yes to replace)." << std::endl;
    return false;
  }
  std::cerr << text << " [y/N] " << std::flush;
  std::string reply;
  if (!std::getline(std::cin, reply)) return false;
  return reply == "y" || reply == "Y" || reply == "yes" || reply == "Yes" || reply == "YES";
}

}  // namespace tarn::cli
