// tarn-cli: the ROM image transfer for scripts and CI, and a read-only view of an image.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

const char* const kUsage =
    "usage: tarn-cli rebuild INPUT OUTPUT [--logo FILE] [--palette FILE] [--module FILE]\n"
    "                        [--dram-divisor CODE] [--yes | --no]\n"
    "       tarn-cli info IMAGE [--json]\n"
    "       tarn-cli COMMAND --help\n"
    "\n"
    "Rebuilds a firmware ROM image: collects its records (and a new logo, palette\n"
    "or module), packs them below offset 0x30000 and writes the output image with\n"
    "the input's length. The input is never changed; the output is replaced only\n"
    "by a complete image.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tarn::cli;
#ifdef SIGXFSZ
  // Past a file-size limit a write must fail with an error the transfer
  // reports and cleans up after, not end the process with the new image
  // half-written beside the output.
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return UsageError("no command given", kUsage);
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "rebuild") return RunRebuild(args);
  if (command == "info") return RunInfo(args);
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitCompleted;
  }
  return UsageError("unknown command '" + command + "'", kUsage);
}
