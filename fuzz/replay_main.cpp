// Runs the fuzz target over files and folders of inputs without libFuzzer, so
// that the corpus, regressions included, is part of every test run.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int Replay(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    std::exit(1);
  }
  if (S_ISDIR(st.st_mode)) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return 0;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    ::closedir(dir);
    int count = 0;
    for (const std::string& name : names) count += Replay(path + "/" + name);
    return count;
  }
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) count += Replay(argv[i]);
  std::printf("%d inputs replayed, every invariant held\n", count);
  return count > 0 ? 0 : 1;
}
