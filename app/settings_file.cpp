#include "app/settings_file.h"

#include <cstdio>

#include "framework/application.h"
#include "framework/platform_text.h"
#include "tools/face_set_list.h"

namespace settings {

std::string pathInCurrentDirectory() {
  std::string directory;
  DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed > 0) {
    directory.resize(needed);
    DWORD length = GetCurrentDirectoryA(needed, &directory[0]);
    directory.resize(length < needed ? length : 0);
  }
  return directory + "\\" + kFileName;
}

}  // namespace settings

namespace {
// The text read: at most 255 characters and the terminator.
constexpr DWORD kTextBufferSize = 256;

// The private-profile calls take classic paths only; given a longer one,
// some platforms cut it and read or write a file of another name. Such a
// path is not passed on at all: reads give the defaults, writes fail.
bool usablePath(const std::string& path) { return !path.empty() && path.size() < MAX_PATH; }

// What the user is told when the file could not be written; the full path
// says where, so a read-only folder or a locked file can be found.
// The path is in the system's code page, as the narrow calls gave it.
std::wstring unsavedSettingsMessage(const std::string& path) {
  return fw::widen("設定を保存できませんでした。\n") + fw::fromSystemCodePage(path);
}
}  // namespace

std::int32_t ProfileSettingsReader::readInt(const char* section, const char* key,
                                            std::int32_t defaultValue) const {
  if (!usablePath(path_)) return defaultValue;
  return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path_.c_str()));
}

std::string ProfileSettingsReader::readText(const char* section, const char* key) const {
  if (!usablePath(path_)) return {};
  char buffer[kTextBufferSize] = {};
  DWORD count = GetPrivateProfileStringA(section, key, "", buffer, kTextBufferSize, path_.c_str());
  if (count == 0) return {};
  return std::string(buffer, count < kTextBufferSize ? count : kTextBufferSize - 1);
}

bool writeIntSetting(const char* section, const char* key, std::int32_t value, const std::string& path) {
  if (!usablePath(path)) return false;
  char text[256];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  return WritePrivateProfileStringA(section, key, text, path.c_str()) != FALSE;
}

bool writeTextSetting(const char* section, const char* key, const std::string& value,
                      const std::string& path) {
  if (!usablePath(path)) return false;
  return WritePrivateProfileStringA(section, key, value.c_str(), path.c_str()) != FALSE;
}

void reportUnsavedSettings(const std::string& path) {
  fw::appMessageBox(unsavedSettingsMessage(path), MB_OK | MB_ICONEXCLAMATION);
}

bool ProfileSettingsStore::saveLineColor(COLORREF colour) {
  return writeIntSetting(settings::kGeneral, settings::kLineColor, static_cast<std::int32_t>(colour), path_);
}

bool ProfileSettingsStore::saveBackgroundColor(COLORREF colour) {
  return writeIntSetting(settings::kGeneral, settings::kBackgroundColor, static_cast<std::int32_t>(colour),
                         path_);
}

bool ProfileSettingsStore::saveDefaultUnit(std::int32_t unit) {
  return writeIntSetting(settings::kGeneral, settings::kUnitButton, unit, path_);
}

bool ProfileSettingsStore::saveUnitAtExit(std::int32_t unitAtExit) {
  return writeIntSetting(settings::kGeneral, settings::kUnitEnd, unitAtExit, path_);
}

bool ProfileSettingsStore::saveFaceSet(const std::wstring& name) {
  const std::optional<std::string> stored = name.empty() ? std::string() : faceSetNameFor(name);
  return stored && writeTextSetting(settings::kGeneral, settings::kFaceDir, *stored, path_);
}

void ProfileSettingsStore::reportUnsaved() { reportUnsavedSettings(path_); }

COLORREF backgroundColorFromSetting(std::int32_t stored) {
  return stored < 0 ? settings::kWhite : static_cast<COLORREF>(stored);
}

StartupPlacement startupPlacement(std::int32_t alwaysOnTop) {
  if (alwaysOnTop < 0) return StartupPlacement::KeepCentred;
  return alwaysOnTop == 0 ? StartupPlacement::MoveNotTopmost : StartupPlacement::MoveTopmost;
}

StartupSettings readStartupSettings(const SettingsReader& reader) {
  using namespace settings;
  StartupSettings s;
  s.faceSetName = reader.readText(kGeneral, kFaceDir);
  s.defaultUnit = reader.readInt(kGeneral, kUnitButton, kDefaultUnit);
  s.unitAtExit = reader.readInt(kGeneral, kUnitEnd, kDefaultUnitAtExit);
  s.lineColor = static_cast<COLORREF>(reader.readInt(kGeneral, kLineColor, kDefaultLineColor));
  s.backgroundColor =
      backgroundColorFromSetting(reader.readInt(kGeneral, kBackgroundColor, kDefaultBackgroundColor));
  s.alwaysOnTop = reader.readInt(kGeneral, kAlwaysOnTop, kDefaultAlwaysOnTop);
  s.windowX = reader.readInt(kGeneral, kX, kDefaultWindowX);
  s.windowY = reader.readInt(kGeneral, kY, kDefaultWindowY);
  s.monitorX = reader.readInt(kMonitor, kX, kDefaultMonitorX);
  s.monitorY = reader.readInt(kMonitor, kY, kDefaultMonitorY);
  return s;
}
