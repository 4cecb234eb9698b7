// The process's entry point: everything else is the application object's.
#include <windows.h>

#include "classlib/win/winapp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
  return AfxWinMain(hInstance, nCmdShow);
}
