// The executable as a whole: a 32-bit GUI program that imports only what
// the oldest Windows it is for has, and whose texts are Japanese and English.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/resources/dialog_template.h"
#include "tests/resources/menu_template.h"
#include "tests/resources/pe_image.h"
#include "tests/resources/resource_test_support.h"
#include "tests/resources/string_and_icon_formats.h"
#include "tests/support/command_line.h"

namespace resources {
namespace {

// Resource type numbers (the RT_ names are pointers, not numbers).
constexpr WORD kMenuType = 4;
constexpr WORD kDialogType = 5;
constexpr WORD kStringType = 6;
constexpr WORD kAcceleratorType = 9;
constexpr WORD kIconGroupType = 14;
constexpr WORD kManifestType = 24;
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

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

// A row of the import table: a function the programs may import, the
// oldest Windows of each family that has it, and where that is said.
struct AllowedImport {
  std::string dll;  // lower case
  std::string function;
  std::string oldest9x;  // "95", "95+crt", "98", "Me", or "-" where the family lacks it
  double oldestNt = 0;   // 3.1, 3.5, 3.51, 4.0, 5.0 ...: decimals order them
};

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// "source KEY text" lines declare sources; every other line that is not a
// comment is a row, which must name declared sources ("A+B").
std::vector<AllowedImport> readImportTable(const std::string& path) {
  std::ifstream in(path);
  std::string sources = " ";
  std::vector<AllowedImport> rows;
  std::string line, first, key;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream fields(line);
    if (!(fields >> first) || first[0] == '#') continue;
    if (first == "source" && fields >> key) {
      sources += key + " ";
      continue;
    }
    AllowedImport row{lowerCase(first), "", "", 0};
    std::string named;
    bool known = static_cast<bool>(fields >> row.function >> row.oldest9x >> row.oldestNt >> named);
    for (std::istringstream each(named); known && std::getline(each, key, '+');) {
      known = sources.find(" " + key + " ") != std::string::npos;
    }
    EXPECT_TRUE(known) << path << " line " << number << " names no declared source: " << line;
    if (known) rows.push_back(row);
  }
  EXPECT_GT(rows.size(), 100u) << "rows read from " << path;
  return rows;
}

std::string option(const char* name) {
  return test_support::toWindowsPath(test_support::optionValue(__argc, __argv, name));
}

// The 32-bit program loads on Windows 95 and NT 4.0; its 64-bit twin on
// every 64-bit Windows, the first being XP x64 (NT 5.2). A function newer
// than that is looked up at run time, never imported.
TEST(ExecutableImage, ImportsOnlyWhatTheOldestWindowsItIsForHas) {
  const std::vector<AllowedImport> table = readImportTable(option("--import-table="));
  const struct {
    const char* what;
    std::string path;
    bool windows95;
    double newestNt;
  } programs[] = {{"the 32-bit program", programPath(), true, 4.0},
                  {"the 64-bit program", option("--quimbel64="), false, 5.2}};
  for (const auto& program : programs) {
    if (program.path.empty()) continue;  // the 64-bit one is built on its own path only
    std::optional<PeFacts> facts = readPeFacts(program.path);
    ASSERT_TRUE(facts) << program.path << " cannot be read as a PE image";
    EXPECT_GT(facts->imports.size(), 100u) << program.what << ": the import table was not read";
    for (const PeImport& import : facts->imports) {
      const std::string name = import.dll + " " + import.function;
      const auto row = std::find_if(table.begin(), table.end(), [&](const AllowedImport& allowed) {
        return allowed.dll == lowerCase(import.dll) && allowed.function == import.function;
      });
      if (row == table.end()) {
        ADD_FAILURE() << program.what << " imports " << name << ", which the import table does not list";
        continue;
      }
      if (program.windows95) {
        EXPECT_TRUE(row->oldest9x == "95" || row->oldest9x == "95+crt")
            << program.what << " imports " << name << ", which Windows 95 lacks (" << row->oldest9x << ")";
      }
      EXPECT_LE(row->oldestNt, program.newestNt)
          << program.what << " imports " << name << ", new in Windows NT " << row->oldestNt;
    }
  }
}

bool isText(const ResourceKey& key) {
  return key.typeIsNumber && (key.typeNumber == kDialogType || key.typeNumber == kMenuType ||
                              key.typeNumber == kStringType);
}

bool isAscii(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

// Whatever a user reads is kept in Japanese and in English under the same
// ids; the pictures and the manifest serve both and are neutral. A text
// missing in one language shows as a key without its twin.
TEST_F(ProgramResourcesTest, EveryTextInJapaneseAndEnglishPicturesNeutralNoAcceleratorTable) {
  std::vector<ResourceKey> keys = program_.list();
  auto has = [&](WORD type, WORD id, WORD language) {
    return std::any_of(keys.begin(), keys.end(), [&](const ResourceKey& key) {
      return key.typeIsNumber && key.typeNumber == type && key.nameIsNumber && key.nameNumber == id &&
             key.language == language;
    });
  };
  // The listing works: the resources read back elsewhere are all in it.
  EXPECT_TRUE(has(kDialogType, 102, kJapanese)) << "dialog 102 not listed among " << keys.size();
  EXPECT_TRUE(has(kMenuType, 131, kEnglish)) << "menu 131 not listed among " << keys.size();
  EXPECT_TRUE(has(kStringType, 7, kJapanese)) << "string block 7 not listed among " << keys.size();
  EXPECT_TRUE(has(kIconGroupType, 128, kNeutral)) << "icon group 128 not listed among " << keys.size();

  constexpr WORD kVersionType = 16;
  for (const ResourceKey& key : keys) {
    EXPECT_FALSE(key.typeIsNumber && key.typeNumber == kAcceleratorType) << "the menu has no shortcut keys";
    if (isText(key)) {
      const WORD twin = key.language == kJapanese ? kEnglish : kJapanese;
      EXPECT_TRUE(key.language == kJapanese || key.language == kEnglish) << key.describe();
      EXPECT_TRUE(has(key.typeNumber, key.nameNumber, twin)) << key.describe() << " has no twin in " << hex(twin);
    } else if (!(key.typeIsNumber && key.typeNumber == kVersionType)) {
      EXPECT_EQ(kNeutral, key.language) << key.describe();
    }
  }
}

// The English windows are the Japanese ones in other words: the same
// controls in the same order, of the same kinds, each with a text where the
// Japanese one has one; the menu has the same commands and every string
// its English form.
TEST_F(ProgramResourcesTest, EnglishWindowsMenuAndStringsMatchTheJapanese) {
  for (WORD id : {100, 102, 130, 132}) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    ResourceBytes ja = program_.find(RT_DIALOG, id, kJapanese), en = program_.find(RT_DIALOG, id, kEnglish);
    ASSERT_TRUE(ja && en);
    auto japanese = parseDialogTemplateEx(ja.data, ja.size), english = parseDialogTemplateEx(en.data, en.size);
    ASSERT_TRUE(japanese && english);
    EXPECT_EQ(japanese->style, english->style);
    EXPECT_TRUE(isAscii(english->title)) << "caption";
    ASSERT_EQ(japanese->items.size(), english->items.size());
    for (std::size_t i = 0; i < japanese->items.size(); ++i) {
      const DialogItem& j = japanese->items[i];
      const DialogItem& e = english->items[i];
      SCOPED_TRACE("control #" + std::to_string(i) + ", id " + std::to_string(j.id));
      EXPECT_EQ(j.id, e.id);
      EXPECT_EQ(controlClassName(j.windowClass), controlClassName(e.windowClass));
      EXPECT_EQ(j.style, e.style);
      EXPECT_EQ(j.exStyle, e.exStyle);
      EXPECT_EQ(j.title.isOrdinal, e.title.isOrdinal);
      if (!j.title.isOrdinal) {
        EXPECT_EQ(j.title.name.empty(), e.title.name.empty());
        EXPECT_TRUE(isAscii(e.title.name)) << "text";
      }
    }
  }

  ResourceBytes ja = program_.find(RT_MENU, 131, kJapanese), en = program_.find(RT_MENU, 131, kEnglish);
  ASSERT_TRUE(ja && en);
  auto japanese = parseMenuTemplate(ja.data, ja.size), english = parseMenuTemplate(en.data, en.size);
  ASSERT_TRUE(japanese && english);
  ASSERT_EQ(japanese->size(), english->size());
  for (std::size_t i = 0; i < japanese->size(); ++i) {
    const MenuEntry& j = (*japanese)[i];
    const MenuEntry& e = (*english)[i];
    EXPECT_TRUE(isAscii(e.text) && !e.text.empty()) << "menu " << i;
    ASSERT_EQ(j.children.size(), e.children.size()) << "menu " << i;
    for (std::size_t k = 0; k < j.children.size(); ++k) {
      EXPECT_EQ(j.children[k].id, e.children[k].id) << "menu " << i << " item " << k;
      EXPECT_TRUE(isAscii(e.children[k].text) && !e.children[k].text.empty()) << "menu " << i << " item " << k;
    }
  }

  for (WORD block : {stringBlockId(101), stringBlockId(200), stringBlockId(214)}) {
    ResourceBytes jaBlock = program_.find(RT_STRING, block, kJapanese);
    ResourceBytes enBlock = program_.find(RT_STRING, block, kEnglish);
    ASSERT_TRUE(jaBlock && enBlock) << "string block " << block;
    auto jaStrings = parseStringBlock(jaBlock.data, jaBlock.size);
    auto enStrings = parseStringBlock(enBlock.data, enBlock.size);
    ASSERT_TRUE(jaStrings && enStrings);
    for (std::size_t i = 0; i < jaStrings->size(); ++i) {
      EXPECT_EQ((*jaStrings)[i].empty(), (*enStrings)[i].empty()) << "string " << (block - 1) * 16 + i;
      EXPECT_TRUE(isAscii((*enStrings)[i])) << "string " << (block - 1) * 16 + i;
    }
  }
}

// Windows 8.1 and later report their own version only to a program whose
// manifest names them; without one the version line says 6.2 there. The
// program draws itself at the system's DPI, in the form Vista and later
// read. The manifest asks for nothing more: no newer common controls (the
// classic look), no per-monitor DPI, no execution level. XP's loader wants
// the assembly's identity in it.
TEST(ExecutableImage, ManifestNamesVistaToElevenIsDpiAwareAndAsksForNothingElse) {
  const struct {
    const char* system;
    const char* guid;
  } supported[] = {{"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
                   {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
                   {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
                   {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
                   {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}};
  // DPI-aware for the system DPI, in the namespace Vista and later read.
  const char* const dpiAware[] = {"<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
                                  "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"};
  const char* const unwanted[] = {"<dependency", "dpiAwareness", "PerMonitor", "requestedExecutionLevel", "trustInfo"};
  for (const std::string& path : {programPath(), option("--quimbel64=")}) {
    if (path.empty()) continue;
    ProgramResources program(path);
    ASSERT_TRUE(program.loaded()) << "cannot load " << path << ", error " << program.loadError();
    const ResourceBytes bytes = program.find(MAKEINTRESOURCEA(kManifestType), 1, kNeutral);
    ASSERT_TRUE(bytes) << path << ": no manifest (type 24, id 1, neutral language)";
    const std::string text(static_cast<const char*>(bytes.data), bytes.size);
    EXPECT_NE(std::string::npos, text.find("<assemblyIdentity type=\"win32\" name=")) << path << ":\n" << text;
    for (const auto& os : supported) {
      const std::string entry = std::string("<supportedOS Id=\"") + os.guid + "\"/>";
      EXPECT_NE(std::string::npos, text.find(entry)) << path << ": Windows " << os.system << " not named";
    }
    for (const char* entry : dpiAware) {
      EXPECT_NE(std::string::npos, text.find(entry)) << path << ": not DPI-aware for the system DPI, no " << entry;
    }
    for (const char* word : unwanted) {
      EXPECT_EQ(std::string::npos, text.find(word)) << path << ": the manifest asks for " << word;
    }
  }
}

}  // namespace
}  // namespace resources
