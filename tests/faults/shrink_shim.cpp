// Preloaded into tarn-cli by the fault tests: shortens a file at one chosen
// moment, as another program truncating it would, but deterministically.
//   TARN_SHRINK_PATH  the file to shorten
//   TARN_SHRINK_TO    its new length in bytes
//   TARN_SHRINK_ON    "read": just before the first read() of it,
//                     "copy": just before the first copy_file_range() from it
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

bool g_done = false;

void ShrinkIfDue(int fd, const char* moment) {
  if (g_done) return;
  const char* path = std::getenv("TARN_SHRINK_PATH");
  const char* to = std::getenv("TARN_SHRINK_TO");
  const char* on = std::getenv("TARN_SHRINK_ON");
  if (!path || !to || !on || std::strcmp(on, moment) != 0) return;
  struct stat target {
  }, opened{};
  if (::stat(path, &target) != 0 || ::fstat(fd, &opened) != 0) return;
  if (target.st_dev != opened.st_dev || target.st_ino != opened.st_ino) return;
  g_done = true;
  if (::truncate(path, off_t(std::strtoull(to, nullptr, 0))) != 0) std::abort();
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static const auto next = Next<ssize_t (*)(int, void*, size_t)>("read");
  ShrinkIfDue(fd, "read");
  return next(fd, buffer, count);
}

extern "C" ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t count,
                                   unsigned flags) {
  static const auto next =
      Next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned)>("copy_file_range");
  ShrinkIfDue(in, "copy");
  return next(in, inOffset, out, outOffset, count, flags);
}
