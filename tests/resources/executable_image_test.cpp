// The executable as a whole: a 32-bit GUI program that depends only on
// Windows' own libraries and whose every resource is Japanese.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <string>

#include "tests/resources/pe_image.h"
#include "tests/resources/resource_test_support.h"

namespace resources {
namespace {

// Resource type numbers (the RT_ names are pointers, not numbers).
constexpr WORD kMenuType = 4;
constexpr WORD kDialogType = 5;
constexpr WORD kStringType = 6;
constexpr WORD kAcceleratorType = 9;
constexpr WORD kIconGroupType = 14;
constexpr WORD kManifestType = 24;

TEST(ExecutableImage, Is32BitGuiWithoutLargeAddressAwareness) {
  std::optional<PeFacts> facts = readPeFacts(programPath());
  ASSERT_TRUE(facts) << programPath() << " cannot be read as a PE image";
  EXPECT_EQ(IMAGE_FILE_MACHINE_I386, facts->machine) << "machine " << hex(facts->machine);
  EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, facts->optionalHeaderMagic) << "optional header " << hex(facts->optionalHeaderMagic);
  EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, facts->subsystem) << "subsystem";
  // The memory release's 32-bit block arithmetic assumes a 2 GB space.
  EXPECT_TRUE(hasBits("file characteristics", facts->characteristics, IMAGE_FILE_EXECUTABLE_IMAGE,
                      IMAGE_FILE_LARGE_ADDRESS_AWARE | IMAGE_FILE_DLL));
}

// Libraries every Windows of the program's time carries.
const char* const kSystemLibraries[] = {
    "kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
    "ole32.dll",    "oleaut32.dll", "msvcrt.dll", "version.dll", "winmm.dll",    "shlwapi.dll",
};

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TEST(ExecutableImage, ImportsOnlyWindowsLibraries) {
  std::optional<PeFacts> facts = readPeFacts(programPath());
  ASSERT_TRUE(facts) << programPath() << " cannot be read as a PE image";
  // A program that runs at all imports kernel32; its absence means the
  // import directory was not read.
  auto imports = [&](const char* name) {
    return std::any_of(facts->importedDlls.begin(), facts->importedDlls.end(),
                       [&](const std::string& dll) { return lowerCase(dll) == name; });
  };
  EXPECT_TRUE(imports("kernel32.dll")) << "kernel32.dll not among " << facts->importedDlls.size() << " imports";
  for (const std::string& dll : facts->importedDlls) {
    // A compiler runtime DLL (libstdc++, libgcc, libwinpthread) or the
    // Resource Meter would stop the program from starting where it is absent.
    bool system = std::find(std::begin(kSystemLibraries), std::end(kSystemLibraries), lowerCase(dll)) !=
                  std::end(kSystemLibraries);
    EXPECT_TRUE(system) << "imports " << dll << ", which Windows does not provide";
  }
}

TEST_F(ProgramResourcesTest, EveryResourceIsJapaneseAndThereIsNoManifestOrAcceleratorTable) {
  std::vector<ResourceKey> keys = program_.list();
  auto has = [&](WORD type, WORD id) {
    return std::any_of(keys.begin(), keys.end(), [&](const ResourceKey& key) {
      return key.typeIsNumber && key.typeNumber == type && key.nameIsNumber && key.nameNumber == id;
    });
  };
  // The listing works: the resources read back elsewhere are all in it.
  EXPECT_TRUE(has(kDialogType, 102)) << "dialog 102 not listed among " << keys.size();
  EXPECT_TRUE(has(kMenuType, 131)) << "menu 131 not listed among " << keys.size();
  EXPECT_TRUE(has(kStringType, 7)) << "string block 7 not listed among " << keys.size();
  EXPECT_TRUE(has(kIconGroupType, 128)) << "icon group 128 not listed among " << keys.size();

  for (const ResourceKey& key : keys) {
    EXPECT_EQ(kJapanese, key.language) << key.describe();
    // A manifest changes the version the platform reports to the program
    // and the common controls it is given; the program must see the
    // platform as it is.
    EXPECT_FALSE(key.typeIsNumber && key.typeNumber == kManifestType) << key.describe();
    // The menu has no shortcut keys.
    EXPECT_FALSE(key.typeIsNumber && key.typeNumber == kAcceleratorType) << key.describe();
  }
}

}  // namespace
}  // namespace resources
