// The transfer's three kinds of message on a terminal: errors on standard
// error, completion on standard output, and the one question answered by a
// flag or at the prompt.
#pragma once

#include "image/transfer.h"

namespace tarn::cli {

enum class ReplaceAnswer { Ask, Yes, No };

class ConsoleUi : public TransferUi {
 public:
  explicit ConsoleUi(ReplaceAnswer answer) : m_answer(answer) {}
  void Error(const std::string& text) override;
  bool Ask(const std::string& text) override;
  void Finish(const std::string& text) override;

 private:
  ReplaceAnswer m_answer;
};

}  // namespace tarn::cli
