#include "app/settings_file.h"

#include <cstring>
#include <optional>

#include "framework/application.h"
#include "framework/platform_text.h"
#include "framework/resources.h"
#include "res/resource.h"
#include "tools/face_set_list.h"

namespace {

// The text read: at most 255 characters and the terminator.
constexpr DWORD kTextBufferSize = 256;

// Section and key names are ASCII: the same in either width.
std::wstring wide(const char* name) { return std::wstring(name, name + std::strlen(name)); }

// The private-profile calls take classic paths only; given a longer one,
// some platforms cut it and read or write a file of another name. Such a
// path is never passed on: reads give the defaults, writes fail. The 9x
// family's narrow calls also need a path its code page spells exactly.
bool usableWidePath(const std::wstring& path) { return !path.empty() && path.size() < MAX_PATH; }
std::optional<std::string> narrowPath(const std::wstring& path) {
  std::optional<std::string> narrow = fw::toCodePage(CP_ACP, path);
  if (narrow && (narrow->empty() || narrow->size() >= MAX_PATH)) return std::nullopt;
  return narrow;
}

// The file itself is written in the system's code page by the platform,
// from either width.
bool writeProfileString(const char* section, const char* key, const std::wstring& value,
                        const std::wstring& path) {
  if (fw::usesWideText()) {
    return usableWidePath(path) &&
           WritePrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), value.c_str(), path.c_str());
  }
  const std::optional<std::string> narrow = narrowPath(path);
  const std::optional<std::string> text = fw::toCodePage(CP_ACP, value);
  return narrow && text && WritePrivateProfileStringA(section, key, text->c_str(), narrow->c_str());
}

template <typename Char, typename GetDirectory>
std::basic_string<Char> currentDirectory(GetDirectory get) {
  std::basic_string<Char> directory;
  const DWORD needed = get(0, nullptr);
  if (needed == 0) return directory;
  directory.resize(needed);
  const DWORD length = get(needed, &directory[0]);
  directory.resize(length < needed ? length : 0);
  return directory;
}

}  // namespace

namespace settings {

std::wstring pathInCurrentDirectory() {
  const std::wstring directory =
      fw::usesWideText()
          ? currentDirectory<wchar_t>([](DWORD size, wchar_t* to) { return GetCurrentDirectoryW(size, to); })
          : fw::fromCodePage(CP_ACP, currentDirectory<char>([](DWORD size, char* to) {
              return GetCurrentDirectoryA(size, to);
            }));
  return directory + L"\\" + kFileName;
}

}  // namespace settings

std::int32_t ProfileSettingsReader::readInt(const char* section, const char* key,
                                            std::int32_t defaultValue) const {
  if (fw::usesWideText()) {
    if (!usableWidePath(path_)) return defaultValue;
    return static_cast<std::int32_t>(
        GetPrivateProfileIntW(wide(section).c_str(), wide(key).c_str(), defaultValue, path_.c_str()));
  }
  const std::optional<std::string> path = narrowPath(path_);
  if (!path) return defaultValue;
  return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path->c_str()));
}

std::wstring ProfileSettingsReader::readText(const char* section, const char* key) const {
  if (fw::usesWideText()) {
    if (!usableWidePath(path_)) return {};
    wchar_t buffer[kTextBufferSize] = {};
    const DWORD count = GetPrivateProfileStringW(wide(section).c_str(), wide(key).c_str(), L"", buffer,
                                                 kTextBufferSize, path_.c_str());
    return std::wstring(buffer, count < kTextBufferSize ? count : kTextBufferSize - 1);
  }
  const std::optional<std::string> path = narrowPath(path_);
  if (!path) return {};
  char buffer[kTextBufferSize] = {};
  const DWORD count = GetPrivateProfileStringA(section, key, "", buffer, kTextBufferSize, path->c_str());
  return fw::fromCodePage(CP_ACP, std::string(buffer, count < kTextBufferSize ? count : kTextBufferSize - 1));
}

bool writeIntSetting(const char* section, const char* key, std::int32_t value, const std::wstring& path) {
  return writeProfileString(section, key, fw::decimalText(value), path);
}

bool writeTextSetting(const char* section, const char* key, const std::wstring& value, const std::wstring& path) {
  return writeProfileString(section, key, value, path);
}

// The full path says where, so a read-only folder or a locked file can be
// found.
void reportUnsavedSettings(const std::wstring& path) {
  fw::appMessageBox(fw::fillIn(fw::loadString(IDS_SETTINGS_NOT_SAVED), {path}), MB_OK | MB_ICONEXCLAMATION);
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

bool ProfileSettingsStore::saveUnitAtExit(bool unitAtExit) {
  return writeIntSetting(settings::kGeneral, settings::kUnitEnd, unitAtExit ? 1 : 0, path_);
}

bool ProfileSettingsStore::saveFaceSet(const std::wstring& name) {
  if (!name.empty() && !faceSetNameFor(name)) return false;
  return writeTextSetting(settings::kGeneral, settings::kFaceDir, name, path_);
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

bool writeSettingsAtExit(const ExitSettings& exit, const std::wstring& path) {
  using namespace settings;
  bool written = true;
  auto write = [&](const char* section, const char* key, std::int32_t value) {
    if (!writeIntSetting(section, key, value, path)) written = false;
  };
  if (exit.unitAtExit) write(kGeneral, kUnitButton, exit.displayUnit);
  write(kGeneral, kAlwaysOnTop, exit.alwaysOnTop ? 1 : 0);
  write(kGeneral, kX, exit.window.x);
  write(kGeneral, kY, exit.window.y);
  write(kMonitor, kX, exit.monitorX);
  write(kMonitor, kY, exit.monitorY);
  return written;
}
