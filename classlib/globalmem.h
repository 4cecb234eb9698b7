// Fixed, zero-filled global memory. On Windows this is the real API; on other
// systems a stand-in with the same calls and the same contract.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstddef>

using HGLOBAL = void*;
using UINT = unsigned int;
using SIZE_T = std::size_t;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Returns null when the memory cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
void* GlobalLock(HGLOBAL mem);
HGLOBAL GlobalFree(HGLOBAL mem);
#endif
