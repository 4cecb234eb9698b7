// A property sheet over the system's property-sheet control, and its pages.
// Page windows are created by the control when a page is first shown; each
// page exchanges its data at initialisation, on each later activation
// (loading) and whenever it is left or OK is pressed on it (saving).
#pragma once

#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "classlib/win/dialog.h"
#include "classlib/win/dlgtemplate.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  // The tab shows the template's caption.
  explicit CPropertyPage(UINT nIDTemplate);

  // The page structure handed to the control; its template is filled in when
  // the sheet opens.
  PROPSHEETPAGEA m_psp;

  // The sheet this page is shown in, while its window exists.
  CPropertySheet* GetSheet() const;

 protected:
  // The loading exchange, except at the first activation, which follows the
  // initialisation's own. True accepts the activation.
  virtual BOOL OnSetActive();
  // The saving exchange. True lets the page be left.
  virtual BOOL OnKillActive();
  // Nothing more than the exchanges: both run as the page is left.
  void OnOK() override {}
  void OnCancel() override {}

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  friend class CPropertySheet;
  // Builds the page's template in the sheet's font and fills m_psp for it.
  bool PrepareTemplate(const DialogFont& sheetFont);
  bool OnNotify(const NMHDR& header, LPARAM lParam, INT_PTR& result);
  static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK PageCallback(HWND hWnd, UINT message, PROPSHEETPAGEA* page);

  std::vector<BYTE> m_template;
  bool m_bFirstSetActive = true;
};

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  // Pages are shown in the order they are added; the sheet does not own them.
  void AddPage(CPropertyPage* pPage);
  int GetPageCount() const { return int(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const { return m_pages[size_t(nPage)]; }
  // The page shown now; null while the sheet has no window.
  CPropertyPage* GetActivePage() const;

  // Shows the sheet until OK or Cancel: IDOK for OK, IDCANCEL for Cancel, Esc
  // and the close box, 0 when the window could not be opened.
  virtual INT_PTR DoModal();

  DWORD GetHelpContext() const override;

  // The header handed to the control. Its flags may be changed before DoModal.
  PROPSHEETHEADERA m_psh;

 protected:
  // Messages to the sheet window before the control sees them; true when handled.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  friend class CPropertyPage;
  void OnCreated(HWND hWnd);
  static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SheetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

  std::string m_strCaption;
  std::vector<CPropertyPage*> m_pages;
  std::vector<PROPSHEETPAGEA> m_pageStructs;
  WNDPROC m_pfnControlProc = nullptr;
  INT_PTR m_nModalResult = 0;
};
