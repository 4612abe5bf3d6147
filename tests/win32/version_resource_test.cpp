// pellox.exe's resources as Windows reads them from the built file: the
// version information carries the project version, the icon has the sizes
// Explorer and the taskbar ask for, and the manifest asks for no elevation
// while leaving the classic controls and the pixel layout alone; the main
// window's class carries the icon. Its PE header asks for the exploit
// protections and carries no link time.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/resource.h"
#include "win32_program_fixture.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

const std::string& ExePath() {
  static const std::string path = WinePath(PELLOX_EXE);
  return path;
}

class VersionInfo {
 public:
  explicit VersionInfo(const std::string& path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return;
    data_.resize(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) data_.clear();
  }

  bool Loaded() const { return !data_.empty(); }

  // A text of the US English, Unicode string table; "<none>" when missing.
  std::string Text(const std::string& name) {
    const std::string query = "\\StringFileInfo\\040904b0\\" + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data_.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        !value) {
      return "<none>";
    }
    return std::string(value, length > 0 ? length - 1 : 0);
  }

  const VS_FIXEDFILEINFO* Fixed() {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) {
      return nullptr;
    }
    return length >= sizeof *fixed ? fixed : nullptr;
  }

 private:
  std::vector<char> data_;
};

TEST(VersionResourceTest, TheVersionInformationCarriesTheProjectVersion) {
  VersionInfo info(ExePath());
  ASSERT_TRUE(info.Loaded()) << ExePath();
  EXPECT_EQ(PELLOX_VERSION, info.Text("FileVersion"));
  EXPECT_EQ(PELLOX_VERSION, info.Text("ProductVersion"));
  EXPECT_EQ("Pellox", info.Text("FileDescription"));
  EXPECT_EQ("Pellox", info.Text("ProductName"));
  EXPECT_EQ("pellox.exe", info.Text("OriginalFilename"));
  EXPECT_EQ(0u, info.Text("LegalCopyright").find("Copyright (c) "));

  const VS_FIXEDFILEINFO* fixed = info.Fixed();
  ASSERT_NE(nullptr, fixed);
  EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(3, std::sscanf(PELLOX_VERSION, "%u.%u.%u", &major, &minor, &patch));
  EXPECT_EQ(MAKELONG(minor, major), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(0, patch), fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
  EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
  EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

// ASLR (with the whole 64-bit address space) and no-execute data; the
// base relocations that ASLR needs are kept. The time stamp is 0, so that
// two builds of one commit are the same (the packaged, stripped file
// carries the commit's time instead).
TEST(PeHeaderTest, AsksForAslrAndNoExecuteAndCarriesNoLinkTime) {
  std::ifstream file(ExePath(), std::ios::binary);
  std::string head(4096, '\0');
  ASSERT_TRUE(file.read(head.data(), static_cast<std::streamsize>(head.size()))) << ExePath();
  IMAGE_DOS_HEADER dos{};
  std::memcpy(&dos, head.data(), sizeof dos);
  ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos.e_magic);
  ASSERT_LE(static_cast<size_t>(dos.e_lfanew) + sizeof(IMAGE_NT_HEADERS64), head.size());
  IMAGE_NT_HEADERS64 nt{};
  std::memcpy(&nt, head.data() + dos.e_lfanew, sizeof nt);
  ASSERT_EQ(static_cast<DWORD>(IMAGE_NT_SIGNATURE), nt.Signature);
  ASSERT_EQ(IMAGE_NT_OPTIONAL_HDR64_MAGIC, nt.OptionalHeader.Magic);

  const struct {
    WORD Flag;
    const char* Name;
  } protections[] = {
      {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, "ASLR (DYNAMIC_BASE)"},
      {IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA, "high-entropy ASLR (HIGH_ENTROPY_VA)"},
      {IMAGE_DLLCHARACTERISTICS_NX_COMPAT, "no-execute data (NX_COMPAT)"},
  };
  for (const auto& protection : protections) {
    EXPECT_NE(0, nt.OptionalHeader.DllCharacteristics & protection.Flag) << protection.Name;
  }
  EXPECT_EQ(0, nt.FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED);
  EXPECT_GT(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u);
  EXPECT_EQ(0u, nt.FileHeader.TimeDateStamp);
}

class ExeResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA(ExePath().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, module_) << ExePath();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  // The bytes of one resource; empty when there is none.
  std::string Resource(LPCSTR name, LPCSTR type) {
    HRSRC found = FindResourceA(module_, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(module_, found)) : std::string();
  }

  HMODULE module_ = nullptr;
};

TEST_F(ExeResourcesTest, TheIconHasTheSmallAndLargeSizes) {
  // The icon group: a 6-byte header, then 14 bytes per image, whose first
  // byte is the width (0 for 256).
  const std::string group = Resource(MAKEINTRESOURCEA(IDI_PELLOX), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  const unsigned count = static_cast<unsigned char>(group[4]);
  ASSERT_EQ(group.size(), 6u + 14u * count);
  std::set<int> widths;
  for (unsigned i = 0; i < count; ++i) {
    const int width = static_cast<unsigned char>(group[6 + 14 * i]);
    widths.insert(width == 0 ? 256 : width);
  }
  EXPECT_EQ((std::set<int>{16, 24, 32, 48, 256}), widths);
  for (int size : {16, 32, 48}) {
    HANDLE icon = LoadImageA(module_, MAKEINTRESOURCEA(IDI_PELLOX), IMAGE_ICON, size, size, 0);
    EXPECT_NE(nullptr, icon) << size;
    if (icon) DestroyIcon(static_cast<HICON>(icon));
  }
}

TEST_F(ExeResourcesTest, TheManifestAsksForNoElevationAndKeepsTheClassicLayout) {
  const std::string manifest = Resource(CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\""));
  EXPECT_NE(std::string::npos,
            manifest.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"));
  EXPECT_EQ(std::string::npos, manifest.find("Common-Controls"));
  EXPECT_EQ(std::string::npos, manifest.find("dpiAware"));
  EXPECT_EQ(std::string::npos, manifest.find("<dependency"));
}

// This test program carries pellox.exe's resources too, so the whole
// program built on its instance registers its window class as pellox.exe
// does: with the program's icon for the title bar and the taskbar.
using WindowIconTest = Win32ProgramTest;

TEST_F(WindowIconTest, TheMainWindowShowsTheProgramsIcon) {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PELLOX));
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(icon), GetClassLongPtrA(Main(), GCLP_HICON));
}

// The button an unattended run shows on the taskbar has it too.
TEST_F(WindowIconTest, TheApplicationWindowShowsTheProgramsIcon) {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PELLOX));
  ASSERT_NE(nullptr, icon);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(icon),
            GetClassLongPtrA(program_.AppWindow().Window(), GCLP_HICON));
}

}  // namespace
}  // namespace pellox::testing
