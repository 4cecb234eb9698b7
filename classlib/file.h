// A file opened without sharing: while one CFile holds a path, no other
// opening of it succeeds, in this process or any other that opens files the
// same way (on POSIX systems: an exclusive flock on the inode, so symlinks and
// hard links are held too).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "classlib/object.h"
#include "classlib/string.h"

// A read or write that failed on a file that did open.
class CFileException : public std::runtime_error {
 public:
  CFileException(const std::string& path, const std::string& what)
      : std::runtime_error(what), m_strFileName(path) {}
  std::string m_strFileName;
};

class CFile : public CObject {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,       // existing file, read only
    modeWrite = 0x0001,      // existing file, write only, not truncated
    modeCreate = 0x1000,     // with modeWrite: created, or truncated once it is held
    modeCreateNew = 0x4000,  // with modeWrite: created; fails if the path exists
  };

  CFile() = default;
  ~CFile() override;

  // Opens a regular file; anything else (a directory, a FIFO, a device) fails.
  // On failure the slot stays closed and *error, if given, says why.
  bool Open(const char* path, unsigned flags, std::string* error = nullptr);
  void Close();
  bool IsOpen() const;
  const CString& GetFilePath() const { return m_strFileName; }
  // The name that messages about this file use.
  void SetFilePath(const CString& path) { m_strFileName = path; }

  // The following throw CFileException on failure.
  uint64_t GetLength() const;
  void Seek(uint64_t position);
  // Reads up to count bytes; fewer only at the end of the file.
  size_t Read(void* buffer, size_t count);
  // Reads exactly count bytes; a file that ends first has changed under us.
  void ReadExactly(void* buffer, size_t count);
  void Write(const void* buffer, size_t count);
  // Appends length bytes of source, from offset on, at the current position.
  // Throws if source ends early.
  void CopyFrom(CFile& source, uint64_t offset, uint64_t length);
  // Forces what was written to the storage device.
  void Flush();
  // Gives this file the access permissions of other (POSIX mode bits; nothing
  // to do on Windows, where a new file inherits its folder's). False on failure.
  bool CopyPermissionsFrom(const CFile& other);

  // Replaces newPath by oldPath in one step; false on failure.
  static bool Rename(const char* oldPath, const char* newPath, std::string* error = nullptr);
  static bool Remove(const char* path);
  static bool Exists(const char* path);
  // The file a path finally names: through a symbolic link, the link's target,
  // so that replacing the file keeps the link.
  static CString FinalPath(const char* path);

 private:
  [[noreturn]] void Fail(const char* action) const;
  [[noreturn]] void FailShortened() const;

#ifdef _WIN32
  void* m_hFile = nullptr;
#else
  int m_hFile = -1;
#endif
  CString m_strFileName;
};
