// What stands at a path, as far as a run may change it. Tests and the fuzz
// target take it before and after a run to show that a run that stopped
// changed nothing there.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <ostream>
#include <string>

#include "tests/image/test_files.h"

namespace tarn::test {

struct PathState {
  bool exists = false;
  mode_t type = 0;
  ino_t inode = 0;
  std::string linkTarget;
  Bytes bytes;
  bool operator==(const PathState& o) const {
    return exists == o.exists && type == o.type && inode == o.inode && linkTarget == o.linkTarget &&
           bytes == o.bytes;
  }
};

inline PathState StateOf(const std::string& path) {
  PathState s;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.type = st.st_mode & S_IFMT;
  s.inode = st.st_ino;
  if (S_ISLNK(st.st_mode)) {
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    s.linkTarget.assign(target, size_t(n > 0 ? n : 0));
  } else if (S_ISREG(st.st_mode)) {
    s.bytes = ReadBytes(path);
  }
  return s;
}

inline std::ostream& operator<<(std::ostream& os, const PathState& s) {
  if (!s.exists) return os << "(absent)";
  return os << "(type 0" << std::oct << s.type << std::dec << ", inode " << s.inode << ", " << s.bytes.size()
            << " bytes" << (s.linkTarget.empty() ? "" : ", link to " + s.linkTarget) << ")";
}

}  // namespace tarn::test
