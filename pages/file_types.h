// The type lists of the pages' open-file dialogs: description|pattern pairs.
#pragma once

namespace pages {
inline constexpr const char* kRomFileTypes = "ROM Files (*.rom)|*.rom|All Files (*.*)|*.*||";
inline constexpr const char* kRleFileTypes = "RLE Files (*.rle)|*.rle|All Files (*.*)|*.*||";
inline constexpr const char* kPaletteFileTypes = "Palette Files (*.pal)|*.pal|All Files (*.*)|*.*||";
}  // namespace pages
