// What a transfer must do with a fuzz case, worked out from the record rules
// alone, on bytes in memory: no file, no block list, no packing code of the
// engine. The target compares every run with this.
#pragma once

#include <string>

#include "fuzz/fuzz_case.h"
#include "image/transfer.h"

namespace tarn::fuzz {

struct CasePaths {
  std::string input, output, logo, palette, module;
};

// The files as they stand on disk for the run.
struct CaseFiles {
  Bytes image, logo, palette, module;
};

struct ExpectedTransfer {
  TransferResult result = TransferResult::Failed;
  bool asks = false;    // the replace question is asked
  std::string message;  // the one error, when the result is Failed
  Bytes output;         // the output file, when the result is Completed
};

ExpectedTransfer Expect(const FuzzCase& c, const CaseFiles& files, const CasePaths& paths);

}  // namespace tarn::fuzz
