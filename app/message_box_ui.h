// The transfer's messages as message boxes without an owner window: the
// sheet is gone by the time the transfer runs.
#pragma once

#include "image/transfer.h"

class MessageBoxUi : public tarn::TransferUi {
 public:
  void Error(const std::string& text) override;
  bool Ask(const std::string& text) override;
  void Finish(const std::string& text) override;
};
