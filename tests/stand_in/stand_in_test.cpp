// Checks the stand-in Resource Meter library the end-to-end tests rely on:
// the exact export the program looks up, the answers it takes from the
// control file, and the call log.
#include "tests/stand_in/stand_in_rsrc32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/handles.h"

std::string standInLibraryPath();  // main.cpp

namespace {

using FreeResourcesFn = std::int32_t(WINAPI*)(std::int32_t);

// A fresh, empty file in the temporary directory, deleted afterwards.
class TempFile {
 public:
  TempFile() {
    std::array<char, MAX_PATH> directory{};
    std::array<char, MAX_PATH> name{};
    GetTempPathA(static_cast<DWORD>(directory.size()), directory.data());
    GetTempFileNameA(directory.data(), "rsc", 0, name.data());
    path_ = name.data();
  }
  ~TempFile() { DeleteFileA(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }
  void write(const std::string& bytes) const {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string read() const {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }
  void remove() const { DeleteFileA(path_.c_str()); }

 private:
  std::string path_;
};

// Sets (or, with nullopt, removes) one environment variable of this process
// and puts the previous state back on scope exit.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    std::array<char, 32768> buffer{};
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length > 0 && length < buffer.size()) previous_ = std::string(buffer.data(), length);
    SetEnvironmentVariableA(name, value ? value->c_str() : nullptr);
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_, previous_ ? previous_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

class StandInLibrary : public testing::Test {
 protected:
  void SetUp() override {
    library_.reset(LoadLibraryA(standInLibraryPath().c_str()));
    ASSERT_TRUE(library_) << "cannot load " << standInLibraryPath() << ", error " << GetLastError();
    call_ = reinterpret_cast<FreeResourcesFn>(
        reinterpret_cast<void*>(GetProcAddress(library_.get(), stand_in::kExportName)));
    ASSERT_NE(call_, nullptr) << "export " << stand_in::kExportName << " not found";
  }

  // The names in the loaded image's export directory.
  std::vector<std::string> exportedNames() const {
    const auto* base = reinterpret_cast<const BYTE*>(library_.get());
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    // The headers of this architecture's image: PE32 or PE32+.
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (entry.VirtualAddress == 0) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
    const auto* nameRvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
      names.emplace_back(reinterpret_cast<const char*>(base + nameRvas[i]));
    }
    return names;
  }

  fw::Module library_;
  FreeResourcesFn call_ = nullptr;
};

TEST_F(StandInLibrary, ExportsOnlyTheDecoratedStdcallName) {
  // The program looks the entry up by this exact name; an undecorated or
  // underscore-less export would leave it without resource figures.
  std::vector<std::string> expected{stand_in::kExportName};
  EXPECT_EQ(expected, exportedNames());
}

enum class Control { Unset, MissingFile, File };

struct AnswerCase {
  const char* comment;
  Control control;
  const char* content;
  std::array<std::int32_t, 3> expected;  // answers to 0, 1, 2
};

const AnswerCase kAnswerCases[] = {
    {"no control variable: the defaults", Control::Unset, "", {71, 82, 93}},
    {"control file missing: the defaults", Control::MissingFile, "", {71, 82, 93}},
    {"three CRLF lines in system, GDI, user order", Control::File, "12\r\n34\r\n56\r\n", {12, 34, 56}},
    {"LF lines without a final line end", Control::File, "0\n100\n7", {0, 100, 7}},
    {"values outside 0..100 passed through", Control::File, "-5\n250\n0\n", {-5, 250, 0}},
    {"two lines: user takes its default", Control::File, "1\n2\n", {1, 2, 93}},
    {"a line that is no number takes its default", Control::File, "x\n40\n50\n", {71, 40, 50}},
    {"empty file: the defaults", Control::File, "", {71, 82, 93}},
};

TEST_F(StandInLibrary, AnswersFromTheControlFileAndLogsEachCall) {
  for (const AnswerCase& row : kAnswerCases) {
    SCOPED_TRACE(row.comment);
    TempFile controlFile;
    TempFile logFile;
    logFile.remove();  // the first call must create it
    if (row.control == Control::File) controlFile.write(row.content);
    if (row.control == Control::MissingFile) controlFile.remove();
    std::optional<std::string> controlPath;
    if (row.control != Control::Unset) controlPath = controlFile.path();
    ScopedEnvironment control(stand_in::kControlVariable, controlPath);
    ScopedEnvironment log(stand_in::kLogVariable, logFile.path());

    std::array<std::int32_t, 3> actual{call_(0), call_(1), call_(2)};

    EXPECT_EQ(row.expected, actual);
    EXPECT_EQ("0\r\n1\r\n2\r\n", logFile.read());
  }
}

TEST_F(StandInLibrary, RereadsTheControlFileOnEveryCall) {
  TempFile controlFile;
  controlFile.write("10\n20\n30\n");
  ScopedEnvironment control(stand_in::kControlVariable, controlFile.path());
  ScopedEnvironment log(stand_in::kLogVariable, std::nullopt);
  EXPECT_EQ(20, call_(1));

  controlFile.write("11\n21\n31\n");
  EXPECT_EQ(21, call_(1));
  EXPECT_EQ(31, call_(2));
}

TEST_F(StandInLibrary, LogAppendsInCallOrderOnlyWhileTheVariableIsSet) {
  TempFile logFile;
  logFile.write("earlier\r\n");
  ScopedEnvironment control(stand_in::kControlVariable, std::nullopt);
  {
    ScopedEnvironment log(stand_in::kLogVariable, logFile.path());
    call_(2);
    call_(0);
    EXPECT_EQ(stand_in::kStandInOtherAnswer, call_(5)) << "an argument outside 0..2";
    call_(1);
  }
  call_(0);  // variable unset again: not logged

  EXPECT_EQ("earlier\r\n2\r\n0\r\n5\r\n1\r\n", logFile.read());
}

}  // namespace
