#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "framework/handles.h"
#include "framework/platform_text.h"

namespace {

// --- the start-up rules over a fake reader ----------------------------------

class RecordingReader final : public SettingsReader {
 public:
  std::map<std::string, std::int32_t> ints;  // "SECTION/Key" -> stored value
  std::wstring faceDir;
  mutable std::vector<std::string> reads;  // "SECTION/Key=default" in call order

  std::int32_t readInt(const char* section, const char* key, std::int32_t defaultValue) const override {
    const std::string name = std::string(section) + "/" + key;
    reads.push_back(name + "=" + std::to_string(defaultValue));
    auto found = ints.find(name);
    return found == ints.end() ? defaultValue : found->second;
  }
  std::wstring readText(const char* section, const char* key) const override {
    reads.push_back(std::string(section) + "/" + key + " (text)");
    return faceDir;
  }
};

TEST(ReadStartupSettings, ReadsEveryKeyOnceInOrderWithItsDefault) {
  RecordingReader reader;
  readStartupSettings(reader);
  const std::vector<std::string> expected{
      "GENERAL/FaceDir (text)", "GENERAL/UnitButton=0", "GENERAL/UnitEnd=0",
      "GENERAL/LineColor=0",    "GENERAL/MoniterColor=-1", "GENERAL/AlwaysOnTop=-1",
      "GENERAL/X=0",            "GENERAL/Y=0",          "MONITOR/X=500",
      "MONITOR/Y=400"};
  EXPECT_EQ(expected, reader.reads);
}

TEST(ReadStartupSettings, DefaultsWhenNothingIsStored) {
  RecordingReader reader;
  const StartupSettings s = readStartupSettings(reader);
  EXPECT_EQ(L"", s.faceSetName);
  EXPECT_EQ(0, s.defaultUnit);
  EXPECT_EQ(0, s.unitAtExit);
  EXPECT_EQ(0u, s.lineColor);
  EXPECT_EQ(0xFFFFFFu, s.backgroundColor);
  EXPECT_EQ(-1, s.alwaysOnTop);
  EXPECT_EQ(0, s.windowX);
  EXPECT_EQ(0, s.windowY);
  EXPECT_EQ(500, s.monitorX);
  EXPECT_EQ(400, s.monitorY);
}

TEST(ReadStartupSettings, EachKeyReachesItsOwnField) {
  RecordingReader reader;
  reader.faceDir = L"笑顔";
  reader.ints = {{"GENERAL/UnitButton", 2}, {"GENERAL/UnitEnd", 1},
                 {"GENERAL/LineColor", -2},  // a negative line colour is used as read
                 {"GENERAL/MoniterColor", 0x123456}, {"GENERAL/AlwaysOnTop", 1},
                 {"GENERAL/X", -30},         {"GENERAL/Y", 40},
                 {"MONITOR/X", 51},          {"MONITOR/Y", 62}};
  const StartupSettings s = readStartupSettings(reader);
  EXPECT_EQ(L"笑顔", s.faceSetName);
  EXPECT_EQ(2, s.defaultUnit);
  EXPECT_EQ(1, s.unitAtExit);
  EXPECT_EQ(0xFFFFFFFEu, s.lineColor);
  EXPECT_EQ(0x123456u, s.backgroundColor);
  EXPECT_EQ(1, s.alwaysOnTop);
  EXPECT_EQ(-30, s.windowX);
  EXPECT_EQ(40, s.windowY);
  EXPECT_EQ(51, s.monitorX);
  EXPECT_EQ(62, s.monitorY);
}

TEST(BackgroundColorFromSetting, NegativeMeansWhite) {
  const struct {
    std::int32_t stored;
    COLORREF colour;
  } rows[] = {
      {-1, 0xFFFFFF},  // the default when the key is missing
      {-5, 0xFFFFFF},
      {INT32_MIN, 0xFFFFFF},
      {0, 0},  // black is a colour, not "unset"
      {0xFFFFFF, 0xFFFFFF},
      {0x00FF8000, 0x00FF8000},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.colour, backgroundColorFromSetting(row.stored)) << "stored " << row.stored;
  }
}

TEST(StartupPlacement, NegativeKeepsTheCentreZeroAndAboveMove) {
  const struct {
    std::int32_t alwaysOnTop;
    StartupPlacement placement;
  } rows[] = {
      {INT32_MIN, StartupPlacement::KeepCentred},
      {-1, StartupPlacement::KeepCentred},
      {0, StartupPlacement::MoveNotTopmost},
      {1, StartupPlacement::MoveTopmost},
      {5, StartupPlacement::MoveTopmost},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(static_cast<int>(row.placement), static_cast<int>(startupPlacement(row.alwaysOnTop)))
        << "AlwaysOnTop " << row.alwaysOnTop << " (0 centred, 1 not topmost, 2 topmost)";
  }
}

// --- the real private-profile engine on real files --------------------------

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void writeFileBytes(const std::string& path, const std::string& bytes) {
  File file(std::fopen(path.c_str(), "wb"));
  ASSERT_TRUE(file) << path;
  ASSERT_EQ(bytes.size(), std::fwrite(bytes.data(), 1, bytes.size(), file.get()));
}

std::string readFileBytes(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return "<missing>";
  std::string bytes;
  char chunk[4096];
  while (std::size_t n = std::fread(chunk, 1, sizeof chunk, file.get())) bytes.append(chunk, n);
  return bytes;
}

bool fileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring wide(const std::string& path) { return fw::fromCodePage(CP_ACP, path); }

// Paths of any length go to the wide calls with the \\?\ prefix, which
// the ANSI calls' MAX_PATH limit does not apply to.
std::wstring longForm(const std::string& path) { return L"\\\\?\\" + wide(path); }

// Calls visit(full path, is directory) for everything below `directory`,
// children before their directory.
template <typename Visit>
void walkTree(const std::wstring& directory, Visit visit) {
  WIN32_FIND_DATAW entry;
  fw::Search search(FindFirstFileW((directory + L"\\*").c_str(), &entry));
  if (!search) return;
  do {
    const std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring full = directory + L"\\" + name;
    const bool isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory) walkTree(full, visit);
    visit(full, isDirectory);
  } while (FindNextFileW(search.get(), &entry));
}

int countFiles(const std::string& directory) {
  int count = 0;
  walkTree(longForm(directory), [&count](const std::wstring&, bool isDirectory) {
    if (!isDirectory) ++count;
  });
  return count;
}

// A fresh directory under the temporary directory, removed with everything
// in it (read-only files and over-long paths included) when the test ends.
class TempDirectory {
 public:
  TempDirectory() {
    static int serial = 0;
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    path_ = std::string(base) + "quimbel-unit-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
    created_ = CreateDirectoryA(path_.c_str(), nullptr) != 0;
  }
  ~TempDirectory() {
    walkTree(longForm(path_), [](const std::wstring& full, bool isDirectory) {
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (isDirectory) {
        RemoveDirectoryW(full.c_str());
      } else {
        DeleteFileW(full.c_str());
      }
    });
    RemoveDirectoryW(longForm(path_).c_str());
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  bool created() const { return created_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool created_ = false;
};

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.created()) << dir.path(); }

  // What the platform's own engine returns for the same key.
  std::int32_t platformInt(const char* section, const char* key, std::int32_t defaultValue) const {
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
  }
  std::string platformText(const char* section, const char* key) const {
    char buffer[256] = {};
    DWORD count = GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, count);
  }

  TempDirectory dir;
  const std::string path = dir.path() + "\\quimbel.ini";
  const ProfileSettingsReader reader{wide(path)};
};

TEST_F(ProfileFile, MissingFileGivesEveryDefaultAndIsNotCreatedByReading) {
  const StartupSettings s = readStartupSettings(reader);
  EXPECT_EQ(L"", s.faceSetName);
  EXPECT_EQ(0, s.defaultUnit);
  EXPECT_EQ(0xFFFFFFu, s.backgroundColor);
  EXPECT_EQ(-1, s.alwaysOnTop);
  EXPECT_EQ(500, s.monitorX);
  EXPECT_EQ(400, s.monitorY);
  EXPECT_FALSE(fileExists(path));
}

TEST_F(ProfileFile, IntegersAreWrittenAsDecimalTextAndReadBack) {
  const struct {
    const char* section;
    const char* key;
    std::int32_t value;
    const char* line;
  } rows[] = {
      {"GENERAL", "UnitButton", -1, "UnitButton=-1"},
      {"GENERAL", "LineColor", 0, "LineColor=0"},
      {"GENERAL", "MoniterColor", 0xFFFFFF, "MoniterColor=16777215"},
      {"GENERAL", "X", -32000, "X=-32000"},
      {"GENERAL", "Y", INT32_MAX, "Y=2147483647"},
      {"MONITOR", "X", 500, "X=500"},
      {"MONITOR", "Y", -7, "Y=-7"},
  };
  for (const auto& row : rows) {
    EXPECT_TRUE(writeIntSetting(row.section, row.key, row.value, wide(path))) << row.line;
  }
  const std::string text = readFileBytes(path);
  for (const auto& row : rows) {
    EXPECT_NE(std::string::npos, text.find(row.line)) << row.line << " in\n" << text;
    EXPECT_EQ(row.value, reader.readInt(row.section, row.key, 12345)) << row.section << "/" << row.key;
  }
}

TEST_F(ProfileFile, FaceDirTextRoundTripsAndAnEmptyValueReadsEmpty) {
  writeTextSetting("GENERAL", "FaceDir", L"にこにこ face", wide(path));
  EXPECT_EQ(L"にこにこ face", reader.readText("GENERAL", "FaceDir"));

  // The default entry is stored as an empty value, which reads as no face set.
  writeTextSetting("GENERAL", "FaceDir", L"", wide(path));
  EXPECT_EQ(L"", reader.readText("GENERAL", "FaceDir"));
  EXPECT_NE(std::string::npos, readFileBytes(path).find("FaceDir=")) << readFileBytes(path);
}

TEST_F(ProfileFile, HandWrittenEmptyFaceDirReadsEmpty) {
  writeFileBytes(path, "[GENERAL]\r\nFaceDir=\r\nUnitButton=1\r\n");
  EXPECT_EQ(L"", reader.readText("GENERAL", "FaceDir"));
  EXPECT_EQ(1, reader.readInt("GENERAL", "UnitButton", 0));
}

TEST_F(ProfileFile, OverlongFaceDirKeepsTheFirst255Characters) {
  std::string name;
  for (int i = 0; i < 300; ++i) name += static_cast<char>('a' + i % 26);
  writeFileBytes(path, "[GENERAL]\r\nFaceDir=" + name + "\r\n");
  const std::wstring read = reader.readText("GENERAL", "FaceDir");
  EXPECT_EQ(wide(name.substr(0, 255)), read) << "length " << read.size();
}

TEST_F(ProfileFile, IntegerValuesReadAsThePlatformEngineReadsThem) {
  const struct {
    const char* value;
    bool pinned;  // whether the expected value below is fixed
    std::int32_t expected;
  } rows[] = {
      {"42", true, 42},
      {"-17", true, -17},
      {"  8  ", true, 8},
      {"abc", true, 0},  // present but not a number: 0, not the default
      {"12abc", true, 12},
      {"", true, 77},  // empty value: the default
      {"-2147483648", true, INT32_MIN},
      {"4294967295", false, 0},
      {"99999999999", false, 0},
      {"0x10", false, 0},
      {"--5", false, 0},
      {"+9", false, 0},
  };
  std::string content = "[GENERAL]\r\n";
  for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    content += "K" + std::to_string(i) + "=" + rows[i].value + "\r\n";
  }
  writeFileBytes(path, content);
  for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
    const std::string key = "K" + std::to_string(i);
    const std::int32_t ours = reader.readInt("GENERAL", key.c_str(), 77);
    EXPECT_EQ(platformInt("GENERAL", key.c_str(), 77), ours) << "value \"" << rows[i].value << "\"";
    if (rows[i].pinned) {
      EXPECT_EQ(rows[i].expected, ours) << "value \"" << rows[i].value << "\"";
    }
  }
}

TEST_F(ProfileFile, JunkBytesAndA100KbLineDoNotDisturbTheOtherKeys) {
  std::string junk;
  for (int round = 0; round < 4; ++round) {
    for (int c = 1; c < 256; ++c) {
      if (c != '\r' && c != '\n') junk += static_cast<char>(c);
    }
  }
  const std::string longLine = "FaceDir=" + std::string(100 * 1024, 'z');
  writeFileBytes(path, "[GENERAL]\r\n" + junk + "\r\nUnitButton=2\r\n" + longLine +
                           "\r\nY=-40\r\n[MONITOR]\r\nX=640\r\n");
  EXPECT_EQ(2, reader.readInt("GENERAL", "UnitButton", 0));
  EXPECT_EQ(-40, reader.readInt("GENERAL", "Y", 0));
  EXPECT_EQ(640, reader.readInt("MONITOR", "X", 500));
  EXPECT_EQ(std::wstring(255, L'z'), reader.readText("GENERAL", "FaceDir"));
  EXPECT_EQ(wide(platformText("GENERAL", "FaceDir")), reader.readText("GENERAL", "FaceDir"));
}

TEST_F(ProfileFile, NulBytesInTheFileReadAsThePlatformReadsThem) {
  std::string bytes = "[GENERAL]\r\nUnitButton=2\r\n";
  bytes += std::string("X=1\0\0\0\xff\xfe\0Y=3\r\n", 14);
  bytes += "FaceDir=ab\0cd\r\n";
  bytes.push_back('\0');
  writeFileBytes(path, bytes);
  for (const char* key : {"UnitButton", "X", "Y"}) {
    EXPECT_EQ(platformInt("GENERAL", key, -9), reader.readInt("GENERAL", key, -9)) << key;
  }
  EXPECT_EQ(wide(platformText("GENERAL", "FaceDir")), reader.readText("GENERAL", "FaceDir"));
}

TEST_F(ProfileFile, AWriteKeepsOtherSectionsKeysAndComments) {
  writeFileBytes(path,
                 "; kept comment\r\n"
                 "[GENERAL]\r\n"
                 "FaceDir=smile\r\n"
                 "UnitButton=1\r\n"
                 "; inner comment\r\n"
                 "LineColor=255\r\n"
                 "[MONITOR]\r\n"
                 "X=10\r\n"
                 "Y=20\r\n"
                 "[OTHER]\r\n"
                 "Key=value\r\n");
  writeIntSetting("GENERAL", "UnitButton", 2, wide(path));
  writeIntSetting("GENERAL", "X", 5, wide(path));  // a new key sharing its name with MONITOR's

  const std::string text = readFileBytes(path);
  for (const char* kept : {"; kept comment", "; inner comment", "[OTHER]", "Key=value", "FaceDir=smile",
                           "LineColor=255"}) {
    EXPECT_NE(std::string::npos, text.find(kept)) << kept << " in\n" << text;
  }
  EXPECT_EQ(2, reader.readInt("GENERAL", "UnitButton", 0));
  EXPECT_EQ(5, reader.readInt("GENERAL", "X", 0));
  EXPECT_EQ(10, reader.readInt("MONITOR", "X", 500));
  EXPECT_EQ(20, reader.readInt("MONITOR", "Y", 400));
  EXPECT_EQ(255, reader.readInt("GENERAL", "LineColor", 0));
  EXPECT_EQ(L"smile", reader.readText("GENERAL", "FaceDir"));
}

TEST_F(ProfileFile, AWriteTheFileRefusesFailsAndChangesNothing) {
  const std::string original = "[GENERAL]\r\nUnitButton=1\r\n";
  writeFileBytes(path, original);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  {
    // Wine run by root writes through the read-only bit; holding the file
    // open without write sharing makes the write fail there as well.
    // The file open for reading, refusing to share it with writers.
    const fw::File held(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(writeIntSetting("GENERAL", "UnitButton", 2, wide(path)));
    EXPECT_FALSE(writeTextSetting("GENERAL", "FaceDir", L"new", wide(path)));
  }
  EXPECT_EQ(original, readFileBytes(path));
}

// While alive, the process's current directory is `path`; the previous
// one is restored afterwards.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::string& path) {
    GetCurrentDirectoryA(sizeof saved_, saved_);
    changed_ = SetCurrentDirectoryA(path.c_str()) != 0;
  }
  ~CurrentDirectory() { SetCurrentDirectoryA(saved_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;
  bool changed() const { return changed_; }

 private:
  char saved_[MAX_PATH + 1] = {};
  bool changed_ = false;
};

// Creates directories below `base` so that the settings path in the last of
// them is exactly `length` characters long, and returns that path.
std::string settingsPathOfLength(const std::string& base, std::size_t length) {
  const std::size_t directoryLength = length - std::string("\\quimbel.ini").size();
  std::string directory = base;
  while (directory.size() < directoryLength) {
    const std::size_t room = directoryLength - directory.size() - 1;
    directory += "\\" + std::string(room > 150 ? 100 : room, 'd');
    if (!CreateDirectoryW(longForm(directory).c_str(), nullptr)) return {};
  }
  return directory + "\\quimbel.ini";
}

TEST(SettingsPathLength, PathsOfMaxPathOrMoreReadDefaultsAndFailWrites) {
  const struct {
    std::size_t length;
    bool usable;
  } rows[] = {
      {MAX_PATH - 1, true},  // the longest classic path
      {MAX_PATH, false},
      {MAX_PATH + 40, false},
  };
  for (const auto& row : rows) {
    TempDirectory dir;
    ASSERT_TRUE(dir.created());
    const std::string path = settingsPathOfLength(dir.path(), row.length);
    ASSERT_EQ(row.length, path.size()) << "could not build the directories";
    // Stray files from a platform that mangles the name would land here.
    const CurrentDirectory inTemp(dir.path());
    ASSERT_TRUE(inTemp.changed());

    EXPECT_EQ(row.usable, writeIntSetting("GENERAL", "UnitButton", 2, wide(path))) << row.length;
    EXPECT_EQ(row.usable, writeTextSetting("GENERAL", "FaceDir", L"kept", wide(path))) << row.length;
    const ProfileSettingsReader reader(wide(path));
    EXPECT_EQ(row.usable ? 2 : 0, reader.readInt("GENERAL", "UnitButton", 0)) << row.length;
    EXPECT_EQ(row.usable ? L"kept" : L"", reader.readText("GENERAL", "FaceDir")) << row.length;
    EXPECT_EQ(row.usable ? 1 : 0, countFiles(dir.path()))
        << row.length << " characters: files written anywhere below the directory";
  }
}

TEST(SettingsPath, IsTheCurrentDirectoryFollowedByTheFileName) {
  TempDirectory dir;
  ASSERT_TRUE(dir.created());
  std::wstring inTemp;
  {
    const CurrentDirectory current(dir.path());
    ASSERT_TRUE(current.changed());
    inTemp = settings::pathInCurrentDirectory();
  }
  EXPECT_EQ(wide(dir.path()) + L"\\quimbel.ini", inTemp);
}

}  // namespace
