// The parts of CFile that are the same on every system.
#include "classlib/file.h"

CFile::~CFile() { Close(); }

void CFile::ReadExactly(void* buffer, size_t count) {
  if (Read(buffer, count) != count) FailShortened();
}

void CFile::FailShortened() const {
  throw CFileException(m_strFileName.str(),
                       "Cannot read " + m_strFileName.str() + ": the file became shorter while it was read");
}
