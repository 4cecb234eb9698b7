// Reading and rewriting in-memory dialog templates, both the classic and the
// extended form, without caring which one a resource compiler produced.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

struct DialogFont {
  std::wstring face;
  WORD points = 0;
  bool operator==(const DialogFont& other) const { return face == other.face && points == other.points; }
  bool operator!=(const DialogFont& other) const { return !(*this == other); }
};

struct DialogTemplateView {
  const BYTE* data = nullptr;
  size_t size = 0;
};

// A dialog template resource of the module, or an empty view.
DialogTemplateView LoadDialogTemplate(HMODULE module, UINT id);

bool IsExtendedTemplate(const void* tmpl);
DWORD* TemplateStyle(void* tmpl);
DWORD* TemplateExStyle(void* tmpl);
// The template's own position, in dialog units.
POINT TemplatePosition(const void* tmpl);
// The declared font; an empty face when the template declares none.
DialogFont TemplateFont(const void* tmpl);
// A copy of the template that declares font instead of its own.
std::vector<BYTE> WithFont(DialogTemplateView tmpl, const DialogFont& font);
