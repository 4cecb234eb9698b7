// A string of 8-bit characters in the platform's code page (UTF-8 in Tarn).
#pragma once

#include <string>

class CString {
 public:
  CString() = default;
  CString(const char* s) : m_str(s ? s : "") {}
  CString(std::string s) : m_str(std::move(s)) {}

  int GetLength() const { return int(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  operator const char*() const { return m_str.c_str(); }
  const std::string& str() const { return m_str; }

  bool operator==(const CString& other) const { return m_str == other.m_str; }

 private:
  std::string m_str;
};
