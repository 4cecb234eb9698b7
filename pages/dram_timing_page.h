// The DRAM Timing page: chooses the SDRAM clock divisor that the transfer's
// boot-area patch writes. The program builds it but does not offer it.
#pragma once

#include <cstdint>

#include "classlib/win/propsheet.h"
#include "image/rom_format.h"

class CDRAMSpd : public CPropertyPage {
  DECLARE_DYNCREATE(CDRAMSpd)

 public:
  CDRAMSpd();
  ~CDRAMSpd() override = default;

  CComboBox m_comboDivisor;
  uint8_t m_nDivisorSel = tarn::kNoDivisor;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  void OnSelChangeDivisor();

  DECLARE_MESSAGE_MAP()
};
