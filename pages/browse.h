// The open-file dialog of a Browse button.
#pragma once

#include "classlib/string.h"
#include "classlib/win/wnd.h"

namespace pages {
// Asks for a file that need not exist. On OK stores its full path and
// returns true; a cancelled or failed dialog changes nothing.
bool BrowseForFile(CWnd* page, const char* defaultExtension, const char* initialName, const char* fileTypes,
                   CString& path);
}  // namespace pages
