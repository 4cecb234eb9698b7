#include "pages/module_page.h"

#include "pages/browse.h"
#include "pages/file_types.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CModule, CPropertyPage)

CModule::CModule() : CPropertyPage(IDD_MODULE) {}

BEGIN_MESSAGE_MAP(CModule, CPropertyPage)
ON_BN_CLICKED(IDC_BROWSE_MODULE, OnBrowseModule)
ON_BN_CLICKED(IDC_ADD_MODULE, OnAddModule)
END_MESSAGE_MAP()

void CModule::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_MODULE_FILE, m_strModuleFile);
  DDX_Check(pDX, IDC_ADD_MODULE, m_bAddModule);
}

BOOL CModule::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  // One run of the click handler from "ticked" leaves the box unticked and
  // the path row disabled.
  m_bAddModule = 1;
  OnAddModule();
  return TRUE;
}

void CModule::OnAddModule() {
  m_bAddModule = m_bAddModule ? 0 : 1;
  // Unticking keeps the path: the transfer reads the path, not the tick.
  GetDlgItem(IDC_BROWSE_MODULE)->EnableWindow(m_bAddModule);
  GetDlgItem(IDC_MODULE_FILE)->EnableWindow(m_bAddModule);
}

void CModule::OnBrowseModule() {
  if (pages::BrowseForFile(this, "rle", "*.RLE", pages::kRleFileTypes, m_strModuleFile))
    SetDlgItemText(IDC_MODULE_FILE, m_strModuleFile);
}
