// Where the settings dialog keeps the user's choices: a colour the moment
// it is picked, the rest when OK closes the dialog. The status window hands
// it one over its settings file; the dialog only says what to keep.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual void saveLineColor(COLORREF colour) = 0;
  virtual void saveBackgroundColor(COLORREF colour) = 0;
  virtual void saveDefaultUnit(std::int32_t unit) = 0;
  virtual void saveUnitAtExit(std::int32_t unitAtExit) = 0;
  // An empty name stands for the built-in faces; a name is one the file can
  // hold (faceSetNameFor).
  virtual void saveFaceSet(const std::wstring& name) = 0;
};
