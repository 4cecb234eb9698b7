#include "classlib/globalmem.h"

#include <cstdlib>
#include <cstring>

// Fixed memory is its own address, so a handle is the pointer itself.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  void* p = (flags & GMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1) : std::malloc(bytes ? bytes : 1);
  return p;
}

void* GlobalLock(HGLOBAL mem) { return mem; }

HGLOBAL GlobalFree(HGLOBAL mem) {
  std::free(mem);
  return nullptr;
}
