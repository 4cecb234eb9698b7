#include "app/rom_sheet.h"

#include "app/about_box.h"

IMPLEMENT_DYNAMIC(CROM, CPropertySheet)

BEGIN_MESSAGE_MAP(CROM, CPropertySheet)
END_MESSAGE_MAP()

void CROM::WinHelp(DWORD, UINT) {
  CAboutBox about;
  about.DoModal();
}
