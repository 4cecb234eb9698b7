#include "classlib/win/dlgtemplate.h"

#include <cstring>

namespace {

// The fixed part of the extended form; its first two words tell the forms apart.
#pragma pack(push, 1)
struct ExtendedHeader {
  WORD dlgVer;
  WORD signature;
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  WORD cDlgItems;
  short x, y, cx, cy;
};
#pragma pack(pop)

// Skips a string-or-ordinal field: 0 (none), 0xFFFF and a number, or a string.
const BYTE* SkipSzOrOrd(const BYTE* p) {
  const WORD first = *reinterpret_cast<const WORD*>(p);
  if (first == 0x0000) return p + 2;
  if (first == 0xFFFF) return p + 4;
  const WCHAR* s = reinterpret_cast<const WCHAR*>(p);
  while (*s) ++s;
  return reinterpret_cast<const BYTE*>(s + 1);
}

// Where the font fields start (after menu, class and caption).
const BYTE* FontFields(const void* tmpl) {
  const BYTE* p = static_cast<const BYTE*>(tmpl);
  p += IsExtendedTemplate(tmpl) ? sizeof(ExtendedHeader) : sizeof(DLGTEMPLATE);
  for (int field = 0; field < 3; ++field) p = SkipSzOrOrd(p);
  return p;
}

bool HasFont(const void* tmpl) {
  return *TemplateStyle(const_cast<void*>(tmpl)) & (DS_SETFONT | DS_SHELLFONT);
}

size_t FontFieldsSize(const void* tmpl) {
  if (!HasFont(tmpl)) return 0;
  const size_t numbers = IsExtendedTemplate(tmpl) ? 6 : 2;  // size; weight, italic, charset
  const WCHAR* face = reinterpret_cast<const WCHAR*>(FontFields(tmpl) + numbers);
  return numbers + (std::wcslen(face) + 1) * sizeof(WCHAR);
}

size_t AlignToDword(size_t n) { return (n + 3) & ~size_t(3); }

}  // namespace

DialogTemplateView LoadDialogTemplate(HMODULE module, UINT id) {
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL res = info ? LoadResource(module, info) : nullptr;
  if (!res) return {};
  return {static_cast<const BYTE*>(LockResource(res)), SizeofResource(module, info)};
}

bool IsExtendedTemplate(const void* tmpl) {
  const WORD* w = static_cast<const WORD*>(tmpl);
  return w[0] == 1 && w[1] == 0xFFFF;
}

DWORD* TemplateStyle(void* tmpl) {
  return IsExtendedTemplate(tmpl) ? &static_cast<ExtendedHeader*>(tmpl)->style
                                  : &static_cast<DLGTEMPLATE*>(tmpl)->style;
}

DWORD* TemplateExStyle(void* tmpl) {
  return IsExtendedTemplate(tmpl) ? &static_cast<ExtendedHeader*>(tmpl)->exStyle
                                  : &static_cast<DLGTEMPLATE*>(tmpl)->dwExtendedStyle;
}

POINT TemplatePosition(const void* tmpl) {
  if (IsExtendedTemplate(tmpl)) {
    const auto* h = static_cast<const ExtendedHeader*>(tmpl);
    return {h->x, h->y};
  }
  const auto* h = static_cast<const DLGTEMPLATE*>(tmpl);
  return {h->x, h->y};
}

DialogFont TemplateFont(const void* tmpl) {
  if (!HasFont(tmpl)) return {};
  const BYTE* p = FontFields(tmpl);
  const size_t numbers = IsExtendedTemplate(tmpl) ? 6 : 2;
  return {reinterpret_cast<const WCHAR*>(p + numbers), *reinterpret_cast<const WORD*>(p)};
}

std::vector<BYTE> WithFont(DialogTemplateView tmpl, const DialogFont& font) {
  const bool extended = IsExtendedTemplate(tmpl.data);
  const size_t headEnd = size_t(FontFields(tmpl.data) - tmpl.data);
  // Controls start on the first DWORD boundary after the header.
  const size_t itemsStart = AlignToDword(headEnd + FontFieldsSize(tmpl.data));

  std::vector<BYTE> out(tmpl.data, tmpl.data + headEnd);
  auto put = [&out](const void* p, size_t n) {
    out.insert(out.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
  };
  put(&font.points, sizeof(WORD));
  if (extended) {
    const WORD weight = FW_NORMAL;
    const BYTE italic = 0, charset = DEFAULT_CHARSET;
    put(&weight, sizeof weight);
    put(&italic, 1);
    put(&charset, 1);
  }
  put(font.face.c_str(), (font.face.size() + 1) * sizeof(WCHAR));
  out.resize(AlignToDword(out.size()));
  if (itemsStart < tmpl.size) put(tmpl.data + itemsStart, tmpl.size - itemsStart);
  *TemplateStyle(out.data()) |= DS_SETFONT;
  return out;
}
