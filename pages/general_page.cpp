#include "pages/general_page.h"

#include <string>

#include "app/rom_app.h"
#include "classlib/file.h"
#include "image/transfer.h"
#include "pages/browse.h"
#include "pages/file_types.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CLogo, CPropertyPage)

namespace {
// Shorter input images are accepted, with a warning: they are unlikely to be
// whole ROM images.
constexpr uint64_t kSmallRomWarningSize = 0x10000;
constexpr const char* kPageErrorCaption = "Error";
}  // namespace

CLogo::CLogo() : CPropertyPage(IDD_GENERAL) {}

BEGIN_MESSAGE_MAP(CLogo, CPropertyPage)
ON_BN_CLICKED(IDC_BROWSE_INPUT_ROM, OnBrowseInputRom)
ON_BN_CLICKED(IDC_BROWSE_OUTPUT_ROM, OnBrowseOutputRom)
ON_BN_CLICKED(IDC_BROWSE_LOGO, OnBrowseLogo)
ON_BN_CLICKED(IDC_BROWSE_PALETTE, OnBrowsePalette)
ON_BN_CLICKED(IDC_CHANGE_LOGO, OnChangeLogo)
END_MESSAGE_MAP()

void CLogo::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_OUTPUT_ROM, m_strOutputRom);
  DDX_Text(pDX, IDC_LOGO_FILE, m_strLogoFile);
  DDX_Text(pDX, IDC_INPUT_ROM, m_strInputRom);
  DDX_Text(pDX, IDC_PALETTE_FILE, m_strPaletteFile);
  DDX_Check(pDX, IDC_CHANGE_LOGO, m_bChangeLogo);
}

BOOL CLogo::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  // One run of the click handler from "ticked" leaves the box unticked, the
  // option clear and the logo controls disabled.
  m_bChangeLogo = 1;
  OnChangeLogo();
  return TRUE;
}

void CLogo::OnChangeLogo() {
  uint32_t& options = GetRomApp()->m_dwOptions;
  if (m_bChangeLogo) {
    m_bChangeLogo = 0;
    options &= ~tarn::OPT_CHANGE_LOGO;
  } else {
    m_bChangeLogo = 1;
    options |= tarn::OPT_CHANGE_LOGO;
  }
  for (int id : {IDC_PALETTE_FILE, IDC_LOGO_FILE, IDC_BROWSE_LOGO, IDC_BROWSE_PALETTE})
    GetDlgItem(id)->EnableWindow(m_bChangeLogo);
}

void CLogo::OnBrowseInputRom() {
  if (!pages::BrowseForFile(this, nullptr, "*.ROM", pages::kRomFileTypes, m_strInputRom)) return;
  if (m_strInputRom.IsEmpty()) return;

  // The one check the page makes: the image must open now. The transfer
  // opens it again, so nothing is held here.
  CFile rom;
  uint64_t length = 0;
  bool opened = rom.Open(m_strInputRom, CFile::modeRead);
  if (opened) {
    try {
      length = rom.GetLength();
    } catch (const CFileException&) {
      opened = false;
    }
  }
  if (!opened) {
    const std::string text = "Open " + m_strInputRom.str() + " Error! please select again.";
    MessageBox(text.c_str(), kPageErrorCaption, MB_OK);
    return;
  }
  SetDlgItemText(IDC_INPUT_ROM, m_strInputRom);
  if (length < kSmallRomWarningSize) MessageBox("This rom file less then 64k!", kPageErrorCaption, MB_OK);
  rom.Close();
}

void CLogo::OnBrowseOutputRom() {
  if (pages::BrowseForFile(this, "rom", "*.rom", pages::kRomFileTypes, m_strOutputRom))
    SetDlgItemText(IDC_OUTPUT_ROM, m_strOutputRom);
}

void CLogo::OnBrowseLogo() {
  if (pages::BrowseForFile(this, "rle", "*.RLE", pages::kRleFileTypes, m_strLogoFile))
    SetDlgItemText(IDC_LOGO_FILE, m_strLogoFile);
}

void CLogo::OnBrowsePalette() {
  if (pages::BrowseForFile(this, "pal", "*.PAL", pages::kPaletteFileTypes, m_strPaletteFile))
    SetDlgItemText(IDC_PALETTE_FILE, m_strPaletteFile);
}
