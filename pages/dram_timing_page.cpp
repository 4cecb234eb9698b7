#include "pages/dram_timing_page.h"

#include "app/rom_app.h"
#include "image/rom_format.h"
#include "image/transfer.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CDRAMSpd, CPropertyPage)

namespace {
using tarn::kNoDivisor;
// A list index is a divisor code; codes have three bits.
constexpr uint8_t kDivisorCodeMask = 0x07;

// In code order; the leading blank keeps them sorting in this order too.
constexpr const char* kDivisorNames[] = {
    " Reserved (0000)",
    " SDRAM clock div 2 (0001)",
    " SDRAM clock div 2.5 (0010)",
    " SDRAM clock div 3 (0011)",
    " SDRAM clock div 3.5 (0100)",
    " SDRAM clock div 4 (0101)",
    " SDRAM clock div 4.5 (0110)",
    " SDRAM clock div 5 (0111)",
};
}  // namespace

CDRAMSpd::CDRAMSpd() : CPropertyPage(IDD_DRAM_TIMING) {}

BEGIN_MESSAGE_MAP(CDRAMSpd, CPropertyPage)
ON_CBN_SELCHANGE(IDC_DRAM_DIVISOR, OnSelChangeDivisor)
END_MESSAGE_MAP()

void CDRAMSpd::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_DRAM_DIVISOR, m_comboDivisor);
}

BOOL CDRAMSpd::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_nDivisorSel = GetRomApp()->m_nDramDivisor;
  for (const char* name : kDivisorNames) m_comboDivisor.AddString(name);
  if (m_nDivisorSel != kNoDivisor) {
    m_nDivisorSel &= kDivisorCodeMask;
    m_comboDivisor.SetCurSel(m_nDivisorSel);
  }
  return TRUE;
}

BOOL CDRAMSpd::OnSetActive() {
  const uint8_t divisor = GetRomApp()->m_nDramDivisor;
  // Nothing chosen yet: the list stays closed until a code is set.
  m_comboDivisor.EnableWindow(divisor != kNoDivisor);
  if (divisor != kNoDivisor) m_comboDivisor.SetCurSel(divisor & kDivisorCodeMask);
  return CPropertyPage::OnSetActive();
}

void CDRAMSpd::OnSelChangeDivisor() {
  CRomApp* app = GetRomApp();
  app->m_nDramDivisor = uint8_t(m_comboDivisor.GetCurSel() & kDivisorCodeMask);
  app->m_dwOptions |= tarn::OPT_DRAM_DIVISOR;
}
