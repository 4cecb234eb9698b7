#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "classlib/file.h"

namespace {

std::string ErrorText(DWORD err) {
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      err, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = n ? std::string(text, n) : "error " + std::to_string(err);
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
    result.pop_back();
  return result;
}

}  // namespace

bool CFile::Open(const char* path, unsigned flags, std::string* error) {
  Close();
  const bool write = flags & modeWrite;
  const DWORD disposition = !write                    ? OPEN_EXISTING
                            : (flags & modeCreateNew) ? CREATE_NEW
                            : (flags & modeCreate)    ? CREATE_ALWAYS
                                                      : OPEN_EXISTING;
  // Share mode 0: while this handle is open nobody else can open the file.
  HANDLE h = CreateFileA(path, write ? GENERIC_WRITE : GENERIC_READ, 0, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) *error = ErrorText(GetLastError());
    return false;
  }
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    if (error) *error = "not a regular file";
    return false;
  }
  m_hFile = h;
  m_strFileName = path;
  return true;
}

void CFile::Close() {
  if (m_hFile) CloseHandle(m_hFile);
  m_hFile = nullptr;
}

bool CFile::IsOpen() const { return m_hFile != nullptr; }

void CFile::Fail(const char* action) const {
  const DWORD err = GetLastError();
  throw CFileException(m_strFileName.str(),
                       std::string("Cannot ") + action + " " + m_strFileName.str() + ": " + ErrorText(err));
}

uint64_t CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) Fail("read");
  return uint64_t(size.QuadPart);
}

void CFile::Seek(uint64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = LONGLONG(position);
  if (!SetFilePointerEx(m_hFile, to, nullptr, FILE_BEGIN)) Fail("seek in");
}

size_t CFile::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    const DWORD want = DWORD(std::min<size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(m_hFile, static_cast<char*>(buffer) + done, want, &got, nullptr)) Fail("read");
    if (got == 0) break;
    done += got;
  }
  return done;
}

void CFile::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    const DWORD want = DWORD(std::min<size_t>(count - done, 1u << 30));
    DWORD put = 0;
    if (!WriteFile(m_hFile, static_cast<const char*>(buffer) + done, want, &put, nullptr)) Fail("write");
    if (put == 0) {
      SetLastError(ERROR_DISK_FULL);
      Fail("write");
    }
    done += put;
  }
}

void CFile::CopyFrom(CFile& source, uint64_t offset, uint64_t length) {
  std::vector<char> chunk(size_t(std::min<uint64_t>(length, 1 << 20)));
  source.Seek(offset);
  while (length > 0) {
    const size_t want = size_t(std::min<uint64_t>(length, chunk.size()));
    if (source.Read(chunk.data(), want) != want) source.FailShortened();
    Write(chunk.data(), want);
    length -= want;
  }
}

void CFile::Flush() {
  if (!FlushFileBuffers(m_hFile)) Fail("write");
}

bool CFile::CopyPermissionsFrom(const CFile&) { return true; }

bool CFile::Rename(const char* oldPath, const char* newPath, std::string* error) {
  if (MoveFileExA(oldPath, newPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  if (error) *error = ErrorText(GetLastError());
  return false;
}

bool CFile::Remove(const char* path) { return DeleteFileA(path) != 0; }

bool CFile::Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

CString CFile::FinalPath(const char* path) { return path; }
