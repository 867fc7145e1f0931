#include "app/settings_file.h"

#include <cstdio>

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
// path is not passed on at all: reads give the defaults, writes are lost.
bool usablePath(const std::string& path) { return !path.empty() && path.size() < MAX_PATH; }
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

void writeIntSetting(const char* section, const char* key, std::int32_t value, const std::string& path) {
  if (!usablePath(path)) return;
  char text[256];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  WritePrivateProfileStringA(section, key, text, path.c_str());
}

void writeTextSetting(const char* section, const char* key, const std::string& value,
                      const std::string& path) {
  if (!usablePath(path)) return;
  WritePrivateProfileStringA(section, key, value.c_str(), path.c_str());
}

void ProfileSettingsStore::saveLineColor(COLORREF colour) {
  writeIntSetting(settings::kGeneral, settings::kLineColor, static_cast<std::int32_t>(colour), path_);
}

void ProfileSettingsStore::saveBackgroundColor(COLORREF colour) {
  writeIntSetting(settings::kGeneral, settings::kBackgroundColor, static_cast<std::int32_t>(colour), path_);
}

void ProfileSettingsStore::saveDefaultUnit(std::int32_t unit) {
  writeIntSetting(settings::kGeneral, settings::kUnitButton, unit, path_);
}

void ProfileSettingsStore::saveUnitAtExit(std::int32_t unitAtExit) {
  writeIntSetting(settings::kGeneral, settings::kUnitEnd, unitAtExit, path_);
}

void ProfileSettingsStore::saveFaceSet(const std::wstring& name) {
  const std::optional<std::string> stored = name.empty() ? std::string() : faceSetNameFor(name);
  if (stored) writeTextSetting(settings::kGeneral, settings::kFaceDir, *stored, path_);
}

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
