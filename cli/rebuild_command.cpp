#include <iostream>

#include "cli/commands.h"
#include "cli/console_ui.h"
#include "image/transfer.h"

namespace tarn::cli {

const char* const kRebuildUsage =
    "usage: tarn-cli rebuild INPUT OUTPUT [--logo FILE] [--palette FILE] [--module FILE]\n"
    "                        [--dram-divisor CODE] [--yes | --no]\n"
    "\n"
    "  --logo FILE          take the logo from FILE (a $BMP record); needs --palette\n"
    "  --palette FILE       take the palette from FILE (a $PAL record); needs --logo\n"
    "  --module FILE        insert the $IMG record of FILE at the bottom\n"
    "  --dram-divisor CODE  write SDRAM clock divisor CODE (0 to 7) into the $KVT boot record\n"
    "  --yes, --no          answer the question before an existing OUTPUT is replaced;\n"
    "                       without either, it is asked on a terminal and answered No otherwise\n"
    "\n"
    "exit status: 0 completed, 1 stopped by an error, 2 usage error, 3 replace declined\n";

int UsageError(const std::string& problem, const char* usage) {
  std::cerr << "tarn-cli: " << problem << "\n\n" << usage;
  return kExitUsage;
}

int RunRebuild(const std::vector<std::string>& args) {
  TransferPaths paths;
  TransferSettings settings;
  ReplaceAnswer answer = ReplaceAnswer::Ask;
  std::vector<std::string> positional;
  bool haveLogo = false, havePalette = false;

  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string* { return i + 1 < args.size() ? &args[++i] : nullptr; };
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kRebuildUsage;
      return kExitCompleted;
    } else if (arg == "--logo" || arg == "--palette" || arg == "--module" || arg == "--dram-divisor") {
      const std::string* v = value();
      if (!v) return UsageError(arg + " needs a value", kRebuildUsage);
      if (arg == "--logo") {
        paths.logoFile = *v;
        haveLogo = true;
      } else if (arg == "--palette") {
        paths.paletteFile = *v;
        havePalette = true;
      } else if (arg == "--module") {
        paths.moduleFile = *v;
      } else {
        if (v->size() != 1 || (*v)[0] < '0' || (*v)[0] > '7')
          return UsageError("--dram-divisor takes a code from 0 to 7, not '" + *v + "'", kRebuildUsage);
        settings.dramDivisor = uint8_t((*v)[0] - '0');
        settings.options |= OPT_DRAM_DIVISOR;
      }
    } else if (arg == "--yes" || arg == "--no") {
      const ReplaceAnswer given = arg == "--yes" ? ReplaceAnswer::Yes : ReplaceAnswer::No;
      if (answer != ReplaceAnswer::Ask && answer != given)
        return UsageError("--yes and --no exclude each other", kRebuildUsage);
      answer = given;
    } else {
      return UsageError("unknown option '" + arg + "'", kRebuildUsage);
    }
  }
  if (positional.size() != 2)
    return UsageError(positional.size() < 2 ? "INPUT and OUTPUT are needed" : "too many arguments",
                      kRebuildUsage);
  paths.inputRom = positional[0];
  paths.outputRom = positional[1];
  // Either file switches the logo over; the transfer names the one that is missing.
  if (haveLogo || havePalette) settings.options |= OPT_CHANGE_LOGO;

  CFile input, output, logo, palette, module;
  ConsoleUi ui(answer);
  switch (RunTransfer(paths, settings, {input, output, logo, palette, module}, ui)) {
    case TransferResult::Completed:
      return kExitCompleted;
    case TransferResult::Declined:
      return kExitDeclined;
    case TransferResult::Failed:
      break;
  }
  return kExitFailed;
}

}  // namespace tarn::cli
