#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "classlib/file.h"

namespace {

std::string ErrorText(int err) { return std::strerror(err); }

int OsFlags(unsigned flags) {
  int os = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // O_NONBLOCK: a FIFO must not hang the open
  if (!(flags & CFile::modeWrite)) return os | O_RDONLY;
  os |= O_WRONLY;
  if (flags & CFile::modeCreateNew) return os | O_CREAT | O_EXCL;
  if (flags & CFile::modeCreate) return os | O_CREAT;  // truncated only once it is held
  return os;
}

}  // namespace

bool CFile::Open(const char* path, unsigned flags, std::string* error) {
  Close();
  auto fail = [&](int err) {
    if (error) *error = ErrorText(err);
    return false;
  };
  const int fd = ::open(path, OsFlags(flags), 0666);
  if (fd < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return fail(err);
  }
  // Another holder of the same inode makes this fail at once, before any truncation.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return fail(err);
  }
  if ((flags & CFile::modeCreate) && ::ftruncate(fd, 0) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(err);
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  m_hFile = fd;
  m_strFileName = path;
  return true;
}

void CFile::Close() {
  if (m_hFile >= 0) ::close(m_hFile);
  m_hFile = -1;
}

bool CFile::IsOpen() const { return m_hFile >= 0; }

void CFile::Fail(const char* action) const {
  throw CFileException(m_strFileName.str(),
                       std::string("Cannot ") + action + " " + m_strFileName.str() + ": " + ErrorText(errno));
}

uint64_t CFile::GetLength() const {
  struct stat st {};
  if (::fstat(m_hFile, &st) != 0) Fail("read");
  return uint64_t(st.st_size);
}

void CFile::Seek(uint64_t position) {
  if (::lseek(m_hFile, off_t(position), SEEK_SET) < 0) Fail("seek in");
}

size_t CFile::Read(void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(m_hFile, static_cast<char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("read");
    if (n == 0) break;
    done += size_t(n);
  }
  return done;
}

void CFile::Write(const void* buffer, size_t count) {
  size_t done = 0;
  while (done < count) {
    const ssize_t n = ::write(m_hFile, static_cast<const char*>(buffer) + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("write");
    if (n == 0) {
      errno = ENOSPC;
      Fail("write");
    }
    done += size_t(n);
  }
}

void CFile::CopyFrom(CFile& source, uint64_t offset, uint64_t length) {
  // The kernel copies between the page caches (or shares extents) without
  // passing the bytes through this process; plain reads and writes are the
  // fallback where it cannot.
  off_t from = off_t(offset);
  while (length > 0) {
    const ssize_t n = ::copy_file_range(source.m_hFile, &from, m_hFile, nullptr, size_t(length), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) break;
    if (n < 0) Fail("copy to");
    if (n == 0) source.FailShortened();
    length -= uint64_t(n);
  }
  if (length == 0) return;
  std::vector<char> chunk(std::min<uint64_t>(length, 1 << 20));
  source.Seek(uint64_t(from));
  while (length > 0) {
    const size_t want = size_t(std::min<uint64_t>(length, chunk.size()));
    if (source.Read(chunk.data(), want) != want) source.FailShortened();
    Write(chunk.data(), want);
    length -= want;
  }
}

void CFile::Flush() {
  if (::fsync(m_hFile) != 0) Fail("write");
}

bool CFile::CopyPermissionsFrom(const CFile& other) {
  struct stat st {};
  return ::fstat(other.m_hFile, &st) == 0 && ::fchmod(m_hFile, st.st_mode & 07777) == 0;
}

bool CFile::Rename(const char* oldPath, const char* newPath, std::string* error) {
  if (::rename(oldPath, newPath) == 0) return true;
  if (error) *error = ErrorText(errno);
  return false;
}

bool CFile::Remove(const char* path) { return ::unlink(path) == 0; }

bool CFile::Exists(const char* path) {
  struct stat st {};
  return ::lstat(path, &st) == 0;
}

CString CFile::FinalPath(const char* path) {
  struct stat st {};
  if (::lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path, nullptr);
  if (!resolved) return path;
  CString result(resolved);
  std::free(resolved);
  return result;
}
