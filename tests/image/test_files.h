// Real files in a private temporary folder, and a scripted user, for tests
// that run the transfer end to end.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/transfer.h"
#include "tools/rom_builder.h"

namespace tarn::test {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    m_path = fs::temp_directory_path() / ("tarn-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(m_path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  std::string operator/(const std::string& name) const { return (m_path / name).string(); }
  const fs::path& path() const { return m_path; }
  // Every name in the folder, to show that nothing was left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(m_path)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  fs::path m_path;
};

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Message {
  enum Kind { Error, Question, Finish } kind;
  std::string text;
  bool operator==(const Message& o) const { return kind == o.kind && text == o.text; }
};

inline std::ostream& operator<<(std::ostream& os, const Message& m) {
  static const char* const kinds[] = {"Error", "Question", "Finish"};
  return os << kinds[m.kind] << "(\"" << m.text << "\")";
}

class ScriptedUi : public TransferUi {
 public:
  explicit ScriptedUi(bool replace = true) : m_replace(replace) {}
  void Error(const std::string& text) override { messages.push_back({Message::Error, text}); }
  bool Ask(const std::string& text) override {
    messages.push_back({Message::Question, text});
    return m_replace;
  }
  void Finish(const std::string& text) override { messages.push_back({Message::Finish, text}); }
  std::vector<Message> messages;

 private:
  bool m_replace;
};

// One transfer with slots of its own, as a front end runs it.
struct TransferRun {
  TransferResult result;
  std::vector<Message> messages;
};

inline TransferRun RunOnce(const TransferPaths& paths, TransferSettings settings = {}, bool replace = true) {
  CFile input, output, logo, palette, module;
  ScriptedUi ui(replace);
  const TransferResult result = RunTransfer(paths, settings, {input, output, logo, palette, module}, ui);
  return {result, ui.messages};
}

}  // namespace tarn::test
