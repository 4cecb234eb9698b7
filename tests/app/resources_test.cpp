// The resources of the built Tarn.exe, read back from the file the way
// Explorer and the file's Properties read them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/tarn_session.h"

namespace tarn::gui {
namespace {

class VersionResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = TarnExePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource in " << path;
    m_data.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, m_data.data()));
  }

  template <class T>
  const T* Query(const std::string& key, UINT* length = nullptr) {
    void* value = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(m_data.data(), key.c_str(), &value, &size)) return nullptr;
    if (length) *length = size;
    return static_cast<const T*>(value);
  }
  std::optional<std::string> String(const char* name) {
    UINT length = 0;
    const char* value = Query<char>(std::string("\\StringFileInfo\\040904B0\\") + name, &length);
    if (!value) return std::nullopt;
    return std::string(value, strnlen(value, length));
  }

  std::vector<char> m_data;
};

TEST_F(VersionResourceTest, FixedPartDescribesApplication1002) {
  const auto* fixed = Query<VS_FIXEDFILEINFO>("\\");
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2, 0));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(2, 0));
  EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
  EXPECT_EQ(fixed->dwFileFlags, 0u);
  EXPECT_EQ(fixed->dwFileOS, DWORD(VOS__WINDOWS32));
  EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
  EXPECT_EQ(fixed->dwFileSubtype, 0u);
}

TEST_F(VersionResourceTest, StringsAndTranslationAreUsEnglishUnicode) {
  UINT length = 0;
  const auto* translation = Query<WORD>("\\VarFileInfo\\Translation", &length);
  ASSERT_TRUE(translation);
  ASSERT_EQ(length, 2 * sizeof(WORD));
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 0x04B0);

  // "Utility" here, though the sheet's caption reads otherwise.
  EXPECT_EQ(String("FileDescription"), "Velbrin Quobix ROM Utility");
  EXPECT_EQ(String("ProductName"), "Velbrin Quobix ROM Utility");
  EXPECT_EQ(String("FileVersion"), "1, 0, 0, 2");
  EXPECT_EQ(String("ProductVersion"), "1, 0, 0, 2");
  EXPECT_EQ(String("InternalName"), "Tarn");
  for (const char* empty : {"Comments", "CompanyName", "LegalTrademarks", "PrivateBuild", "SpecialBuild"})
    EXPECT_EQ(String(empty).value_or("(missing)"), "") << empty;
}

class ExecutableResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = LoadLibraryExA(TarnExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m_module) << TarnExePath();
  }
  void TearDown() override {
    if (m_module) FreeLibrary(m_module);
  }
  std::string ResourceBytes(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(m_module, name, type);
    if (!found) return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(m_module, found)));
    return data ? std::string(data, SizeofResource(m_module, found)) : std::string();
  }

  HMODULE m_module = nullptr;
};

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct IconGroupHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

TEST_F(ExecutableResourceTest, IconGroup128Is32And16PixelsIn16Colours) {
  std::vector<ULONG_PTR> groups;
  EnumResourceNamesA(
      m_module, RT_GROUP_ICON,
      [](HMODULE, LPCSTR, LPSTR name, LONG_PTR param) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(param)->push_back(reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&groups));
  EXPECT_EQ(groups, std::vector<ULONG_PTR>{IDR_MAINFRAME}) << "icon 128 must be the only icon group";

  const std::string group = ResourceBytes(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON);
  ASSERT_GE(group.size(), sizeof(IconGroupHeader));
  const auto* header = reinterpret_cast<const IconGroupHeader*>(group.data());
  ASSERT_EQ(header->count, 2);
  ASSERT_GE(group.size(), sizeof(IconGroupHeader) + 2 * sizeof(IconGroupEntry));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);

  std::vector<int> sizes;
  for (int i = 0; i < 2; ++i) {
    sizes.push_back(entries[i].width);
    EXPECT_EQ(entries[i].height, entries[i].width);
    // The image itself decides what Windows draws.
    const std::string image = ResourceBytes(MAKEINTRESOURCEA(entries[i].id), RT_ICON);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << "icon image " << entries[i].id;
    const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(bitmap->biWidth, entries[i].width);
    EXPECT_EQ(bitmap->biHeight, 2 * entries[i].width) << "an icon image holds its colour and mask bitmaps";
    EXPECT_EQ(bitmap->biBitCount, 4) << entries[i].width << " pixels";
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

TEST_F(ExecutableResourceTest, ManifestAsksForCommonControls6DpiAwarenessAndUtf8) {
  const std::string manifest = ResourceBytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_FALSE(manifest.empty()) << "no manifest resource 1";
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("6.0.0.0"), std::string::npos);
  EXPECT_NE(manifest.find("dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find("<activeCodePage"), std::string::npos);
  EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos);
}

}  // namespace
}  // namespace tarn::gui
