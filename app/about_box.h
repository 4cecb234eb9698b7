// The About box, shown for every Help request on the sheet.
#pragma once

#include "classlib/win/dialog.h"

class CAboutBox : public CDialog {
 public:
  CAboutBox();
  ~CAboutBox() override = default;

 protected:
  void DoDataExchange(CDataExchange*) override {}

  DECLARE_MESSAGE_MAP()
};
