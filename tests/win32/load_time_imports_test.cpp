// pellox.exe's import directory, read from the built file as the loader
// reads it at start: the DLLs loaded before any of the program's code runs.
// Windows takes a KnownDLL from System32 whatever lies beside the program,
// but looks for any other DLL in the program's folder first. So every
// load-time import must be a KnownDLL; every other system DLL is
// delay-loaded from System32 (src/platform/windows/system_dlls.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "delay_loaded_dlls.h"
#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {
namespace {

// The KnownDLLs that 64-bit Windows 7, 8.1, 10 and 11 all list under
// HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs (only
// those every Windows version of the manifest shares), and ntdll.dll,
// which the system maps into every process before the program's imports.
const std::set<std::string> kKnownDlls = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll",   "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll",    "msvcrt.dll",  "nsi.dll",      "ntdll.dll",
    "ole32.dll",    "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",   "sechost.dll",
    "setupapi.dll", "shell32.dll",  "shlwapi.dll", "user32.dll",   "ws2_32.dll",
};

// A 64-bit PE file's headers, read from its bytes with every offset
// checked. Throws std::runtime_error on a file that is not one.
class PeFile {
 public:
  explicit PeFile(std::string bytes) : bytes_(std::move(bytes)) {
    const auto dos = At<IMAGE_DOS_HEADER>(0);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("no MZ header");
    const auto ntOffset = static_cast<size_t>(dos.e_lfanew);
    headers_ = At<IMAGE_NT_HEADERS64>(ntOffset);
    if (headers_.Signature != IMAGE_NT_SIGNATURE ||
        headers_.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      throw std::runtime_error("not a PE32+ file");
    }
    const size_t sectionsOffset = ntOffset + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                  headers_.FileHeader.SizeOfOptionalHeader;
    for (size_t i = 0; i < headers_.FileHeader.NumberOfSections; ++i) {
      sections_.push_back(
          At<IMAGE_SECTION_HEADER>(sectionsOffset + i * sizeof(IMAGE_SECTION_HEADER)));
    }
  }

  // The DLL names of the import directory, in lower case, in its order.
  std::vector<std::string> ImportedDlls() const {
    const IMAGE_DATA_DIRECTORY& directory =
        headers_.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> names;
    if (directory.VirtualAddress == 0) return names;
    // The table ends with an all-zero descriptor.
    for (size_t offset = FileOffset(directory.VirtualAddress);;
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(offset);
      if (descriptor.Name == 0) return names;
      names.push_back(Lower(StringAt(FileOffset(descriptor.Name))));
    }
  }

 private:
  template <typename T>
  T At(size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) {
      throw std::runtime_error("a header lies past the end of the file");
    }
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof value);
    return value;
  }

  std::string StringAt(size_t offset) const {
    const size_t end = offset < bytes_.size() ? bytes_.find('\0', offset) : std::string::npos;
    if (end == std::string::npos) throw std::runtime_error("a name runs past the end of the file");
    return bytes_.substr(offset, end - offset);
  }

  // Where the byte at address `rva` of the loaded image lies in the file.
  size_t FileOffset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& section : sections_) {
      if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData) {
        return section.PointerToRawData + (rva - section.VirtualAddress);
      }
    }
    throw std::runtime_error("an address lies in no section of the file");
  }

  std::string bytes_;
  IMAGE_NT_HEADERS64 headers_{};
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

std::vector<std::string> PelloxExeImports() {
  bool ok = false;
  const std::string bytes = ReadFile(WinePath(PELLOX_EXE), &ok);
  EXPECT_TRUE(ok) << PELLOX_EXE;
  return PeFile(bytes).ImportedDlls();
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST(LoadTimeImportsTest, PelloxExeImportsOnlyKnownDllsAtLoadTime) {
  const std::vector<std::string> imports = PelloxExeImports();
  EXPECT_TRUE(Contains(imports, "kernel32.dll")) << "the table was not read";
  for (const std::string& dll : imports) {
    EXPECT_TRUE(kKnownDlls.contains(dll))
        << dll << " is imported at load time but is not a KnownDLL: a DLL of that name beside "
        << "pellox.exe would be loaded instead. Name the functions the program calls of it in a "
        << ".def file in src/platform/windows/delay_loaded/ instead of linking it.";
  }
}

// Linked the usual way as well, a delay-loaded DLL would be loaded at start
// after all (comdlg32, a KnownDLL, brings comctl32 and winspool along at
// load time under Wine).
TEST(LoadTimeImportsTest, NoDelayLoadedDllIsAlsoImportedAtLoadTime) {
  const std::vector<std::string> imports = PelloxExeImports();
  const std::vector<std::string> delayLoaded = DelayLoadedDlls();
  EXPECT_FALSE(delayLoaded.empty());
  for (const std::string& dll : delayLoaded) {
    EXPECT_FALSE(Contains(imports, dll)) << dll << " is delay-loaded and imported at load time";
  }
}

}  // namespace
}  // namespace pellox::testing
