// quimbel.ini in the directory that was current at start-up: the user's
// face set, units, colours, always-on-top choice and window positions. The
// file is plain text in the system's code page, as the private-profile
// calls write it; its path may hold any character.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "tools/settings_store.h"

namespace settings {

constexpr const wchar_t* kFileName = L"quimbel.ini";

constexpr const char* kGeneral = "GENERAL";
constexpr const char* kMonitor = "MONITOR";

constexpr const char* kFaceDir = "FaceDir";
constexpr const char* kUnitButton = "UnitButton";
constexpr const char* kUnitEnd = "UnitEnd";
constexpr const char* kLineColor = "LineColor";
// The key's spelling is what existing files carry.
constexpr const char* kBackgroundColor = "MoniterColor";
constexpr const char* kAlwaysOnTop = "AlwaysOnTop";
constexpr const char* kX = "X";
constexpr const char* kY = "Y";
// "ja" or "en": the interface's language, where the user wants another one
// than the system's. Read only.
constexpr const char* kLanguage = "Language";

constexpr std::int32_t kDefaultUnit = 0;
constexpr std::int32_t kDefaultUnitAtExit = 0;
constexpr std::int32_t kDefaultLineColor = 0;
constexpr std::int32_t kDefaultBackgroundColor = -1;
constexpr std::int32_t kDefaultAlwaysOnTop = -1;
constexpr std::int32_t kDefaultWindowX = 0;
constexpr std::int32_t kDefaultWindowY = 0;
constexpr std::int32_t kDefaultMonitorX = 500;
constexpr std::int32_t kDefaultMonitorY = 400;

constexpr COLORREF kWhite = 0xFFFFFF;

// The full path of the settings file for the current directory. The whole
// directory is kept however long it is; a path too long for the
// private-profile calls is never handed to them, so reads give the defaults
// and writes fail rather than landing in a file of another name.
std::wstring pathInCurrentDirectory();

}  // namespace settings

// The reads the start-up makes, as an interface so the start-up rules can be
// exercised without a file.
class SettingsReader {
 public:
  virtual ~SettingsReader() = default;
  virtual std::int32_t readInt(const char* section, const char* key, std::int32_t defaultValue) const = 0;
  // The text of a key, at most 255 characters; empty when missing.
  virtual std::wstring readText(const char* section, const char* key) const = 0;
};

// Reads through the platform's private-profile engine.
class ProfileSettingsReader final : public SettingsReader {
 public:
  explicit ProfileSettingsReader(std::wstring path) : path_(std::move(path)) {}
  std::int32_t readInt(const char* section, const char* key, std::int32_t defaultValue) const override;
  std::wstring readText(const char* section, const char* key) const override;

 private:
  std::wstring path_;
};

// Writes one key, an integer as decimal text; true when the platform kept it.
// A path too long for the private-profile calls is never written: false.
bool writeIntSetting(const char* section, const char* key, std::int32_t value, const std::wstring& path);
// A text the file's code page can hold (see faceSetNameFor).
bool writeTextSetting(const char* section, const char* key, const std::wstring& value, const std::wstring& path);

// Tells the user, in the program's message box, that settings could not be
// written to the file at `path`, naming it.
void reportUnsavedSettings(const std::wstring& path);

// What the settings dialog keeps, written to the settings file at `path`.
class ProfileSettingsStore final : public SettingsStore {
 public:
  explicit ProfileSettingsStore(std::wstring path) : path_(std::move(path)) {}
  bool saveLineColor(COLORREF colour) override;
  bool saveBackgroundColor(COLORREF colour) override;
  bool saveDefaultUnit(std::int32_t unit) override;
  bool saveUnitAtExit(bool unitAtExit) override;
  bool saveFaceSet(const std::wstring& name) override;
  void reportUnsaved() override;

 private:
  std::wstring path_;
};

// Everything the status window reads at start-up, in the order it reads it.
struct StartupSettings {
  std::wstring faceSetName;
  std::int32_t defaultUnit = settings::kDefaultUnit;
  std::int32_t unitAtExit = settings::kDefaultUnitAtExit;
  COLORREF lineColor = settings::kDefaultLineColor;
  COLORREF backgroundColor = settings::kWhite;
  std::int32_t alwaysOnTop = settings::kDefaultAlwaysOnTop;
  std::int32_t windowX = settings::kDefaultWindowX;
  std::int32_t windowY = settings::kDefaultWindowY;
  std::int32_t monitorX = settings::kDefaultMonitorX;
  std::int32_t monitorY = settings::kDefaultMonitorY;
};

StartupSettings readStartupSettings(const SettingsReader& reader);

// A stored background colour: negative values (the default among them)
// mean white.
COLORREF backgroundColorFromSetting(std::int32_t stored);

// Where the status window goes at start-up for a stored always-on-top value.
enum class StartupPlacement { KeepCentred, MoveNotTopmost, MoveTopmost };
StartupPlacement startupPlacement(std::int32_t alwaysOnTop);

// What the status window keeps when it closes.
struct ExitSettings {
  bool unitAtExit = false;
  std::int32_t displayUnit = 0;
  bool alwaysOnTop = false;
  POINT window{};
  std::int32_t monitorX = 0;
  std::int32_t monitorY = 0;
};

// Writes them in their order, the unit only where the unit in use at exit
// is to be kept. Every key is tried whatever became of the one before; true
// when all were kept.
bool writeSettingsAtExit(const ExitSettings& exit, const std::wstring& path);
