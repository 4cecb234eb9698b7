// The one place that decides whether the output path changes. The new image
// is written to a file beside the output path and moved over it in one step
// only once it is complete and on disk; until then the output path is exactly
// as it was, and a run that stops leaves neither a half-written file nor an
// empty one behind.
#pragma once

#include <string>

#include "classlib/file.h"
#include "classlib/string.h"

namespace tarn {

class OutputFile {
 public:
  // The file that receives the bytes is opened in slot.
  explicit OutputFile(CFile& slot) : m_file(slot) {}
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  // Holds an existing output file against every other opening (so one held
  // elsewhere fails here) and creates the new file beside it. False, with
  // the reason in *error, when either cannot be done.
  bool Open(const CString& path, std::string* error);

  // Where to write. Failures name the output path, not the temporary one.
  CFile& File() { return m_file; }

  // Flushes the new file and puts it in place of the output path. Throws
  // CFileException; the output path is then still as it was.
  void Commit();

 private:
  CFile& m_file;
  CFile m_hold;
  CString m_target;
  CString m_temporary;
  bool m_committed = false;
};

}  // namespace tarn
