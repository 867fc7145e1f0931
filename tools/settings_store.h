// Where the settings dialog keeps the user's choices: a colour the moment
// it is picked, the rest when OK closes the dialog. The status window hands
// it one over its settings file; the dialog only says what to keep, and
// when the user is to hear that something could not be kept.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The choices the settings dialog offers, as the status window hands them
// in and takes them back after OK. An empty face-set name means the
// built-in faces.
struct SettingsChoices {
  std::int32_t defaultUnit = -1;
  bool unitAtExit = false;
  COLORREF lineColor = 0;
  COLORREF backgroundColor = 0;
  std::wstring faceSetName;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Each returns true when the choice was kept.
  virtual bool saveLineColor(COLORREF colour) = 0;
  virtual bool saveBackgroundColor(COLORREF colour) = 0;
  virtual bool saveDefaultUnit(std::int32_t unit) = 0;
  virtual bool saveUnitAtExit(bool unitAtExit) = 0;
  // An empty name stands for the built-in faces; a name is one the file can
  // hold (faceSetNameFor).
  virtual bool saveFaceSet(const std::wstring& name) = 0;
  // Tells the user that choices could not be kept; once for all the
  // choices of one moment.
  virtual void reportUnsaved() = 0;
};
