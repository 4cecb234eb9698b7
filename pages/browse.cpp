#include "pages/browse.h"

#include "classlib/win/filedialog.h"

namespace pages {

bool BrowseForFile(CWnd* page, const char* defaultExtension, const char* initialName, const char* fileTypes,
                   CString& path) {
  CFileDialog dialog(TRUE, defaultExtension, initialName, OFN_HIDEREADONLY, fileTypes, page);
  if (dialog.DoModal() != IDOK) return false;
  path = dialog.GetPathName();
  return true;
}

}  // namespace pages
