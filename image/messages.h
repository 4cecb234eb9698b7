// Every text the transfer shows, in one place. The first group are the texts
// users of the Windows program know; the second group report faults in the
// input that those texts have no words for.
#pragma once

#include <cstdint>
#include <string>

#include "image/rom_format.h"

namespace tarn::msg {

inline constexpr const char* kNoInputRom = "Please select a input rom file!";
inline constexpr const char* kOpenError = "Open %s Error!";
inline constexpr const char* kNoOutputRom = "Please select a output rom file!";
inline constexpr const char* kReplaceOutput = "File already exists, do you want to replace it ?";
inline constexpr const char* kNoLogoFile = "Please select a logo file!";
inline constexpr const char* kNoPaletteFile = "Please select a palettte file!";
inline constexpr const char* kNotLogoFile = "It's not a Logo file !\nTransfer Abort";
inline constexpr const char* kNotPaletteFile = "It's not a palette file !\nTransfer Abort";
inline constexpr const char* kTooLarge = "This new ROM file is larger then 256k!\nTransfer Abort";
inline constexpr const char* kComplete = "Quobix ROM transfer complete !";

inline constexpr const char* kAbortLine = "\nTransfer Abort";

// "Open <path> Error!", with the whole path however long it is.
std::string OpenError(const std::string& path);
// The image is too short to hold the rebuilt area.
std::string ImageTooShort(const std::string& path, uint64_t length);
// A record whose block runs past the end of the file it is cut from.
std::string RecordOverrun(Signature sig, uint64_t offset, const std::string& path, uint64_t needed,
                          uint64_t remaining, bool declared);
std::string OutOfMemory(const std::string& what, uint64_t bytes);
// A failed read or write, as the file layer words it.
std::string FileFailure(const std::string& what);

}  // namespace tarn::msg
