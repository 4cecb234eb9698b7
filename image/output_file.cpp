#include "image/output_file.h"

#include <atomic>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tarn {
namespace {

unsigned long ProcessId() {
#ifdef _WIN32
  return GetCurrentProcessId();
#else
  return static_cast<unsigned long>(getpid());
#endif
}

// File systems allow names of this many bytes (Windows: UTF-16 units, never more than the bytes).
constexpr size_t kMaxNameLength = 255;

// A hidden name in the output's folder, so the final rename stays on one file system.
std::string TemporaryName(const std::string& target, unsigned attempt) {
  const size_t slash = target.find_last_of("/\\");
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  std::string name = "." + (slash == std::string::npos ? target : target.substr(slash + 1));
  const std::string suffix = ".tarn-" + std::to_string(ProcessId()) + "-" + std::to_string(attempt);
  // An output whose own name is close to the limit must still get a temporary one.
  if (name.size() + suffix.size() > kMaxNameLength) name = "";
  return dir + name + suffix;
}

}  // namespace

OutputFile::~OutputFile() {
  if (m_committed || m_temporary.IsEmpty()) return;
  m_file.Close();
  CFile::Remove(m_temporary);
}

bool OutputFile::Open(const CString& path, std::string* error) {
  m_target = CFile::FinalPath(path);
  if (CFile::Exists(m_target) && !m_hold.Open(m_target, CFile::modeWrite, error)) return false;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryName(m_target.str(), attempt);
    if (m_file.Open(candidate.c_str(), CFile::modeCreateNew | CFile::modeWrite, error)) {
      m_temporary = candidate;
      m_file.SetFilePath(path);
      // The replaced file keeps the permissions the user gave it.
      if (m_hold.IsOpen()) m_file.CopyPermissionsFrom(m_hold);
      return true;
    }
    if (CFile::Exists(candidate.c_str())) continue;  // left by an earlier run that was killed
    return false;
  }
  return false;
}

void OutputFile::Commit() {
  m_file.Flush();
  m_file.Close();
  // Windows cannot replace a file that is held open, even by this process.
  m_hold.Close();
  std::string error;
  if (!CFile::Rename(m_temporary, m_target, &error))
    throw CFileException(m_target.str(), "Cannot replace " + m_target.str() + ": " + error);
  m_committed = true;
}

}  // namespace tarn
