#include "app/about_box.h"

#include "res/resource.h"

// No parent: the active window, the sheet, becomes the owner.
CAboutBox::CAboutBox() : CDialog(IDD_ABOUTBOX) {}

BEGIN_MESSAGE_MAP(CAboutBox, CDialog)
END_MESSAGE_MAP()
