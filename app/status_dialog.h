// The status window: the program's only main window. It owns every
// long-lived piece of state and refreshes all readouts once a second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "display/after_paint_hook.h"
#include "display/cpu_history.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/progress_bar.h"
#include "probes/free_resources.h"
#include "tools/colour_choice.h"

class StatusDialog : public fw::Dialog {
 public:
  explicit StatusDialog(HWND parent = nullptr);
  ~StatusDialog() override;

 protected:
  void doDataExchange(fw::DataExchange& dx) override;
  bool onInitDialog() override;
  bool onCommand(int id, int notifyCode) override;
  bool onSysCommand(UINT command, LPARAM param) override;
  bool onPaint() override;
  void onTimer(UINT_PTR timerId) override;
  void onDestroy() override;
  HICON onQueryDragIcon() override;

 private:
  void refreshStatus();
  std::string identifyOperatingSystem();
  std::string describeProcessor();
  void readSettings();
  void placeWindow(std::int32_t x, std::int32_t y);
  void bindResourceMeter();
  void readFreeResources();
  void readMemoryStatus();
  void setUnitLabels();
  void selectFace(std::int32_t load);
  void formatUptime();
  void onAlwaysOnTop();
  void releaseMemory();
  void onAbout();
  // True when every key was written.
  bool writeSettingsAtExit();
  void onMonitor();
  void onSettings();

  fw::Module resourceLibrary;
  FreeResourcesFn getFreeResources = nullptr;
  UINT_PTR timerId = 0;
  std::string settingsPath;
  std::int32_t defaultUnit = 0;
  COLORREF lineColor = 0;
  std::int32_t platformKind = 0;
  std::int32_t monitorY = 0;
  std::int32_t monitorX = 0;
  std::wstring faceSetName;
  std::int32_t unitAtExit = 0;
  COLORREF backgroundColor = 0;
  CpuHistory cpuHistory{};
  fw::ProgressBar freeMemoryBar;
  fw::ProgressBar userResourceBar;
  fw::ProgressBar gdiResourceBar;
  fw::ProgressBar systemResourceBar;
  fw::ProgressBar cpuLoadBar;
  std::int32_t cpuLoad = 0;
  std::int32_t systemResources = 0;
  std::int32_t gdiResources = 0;
  std::int32_t userResources = 0;
  // Memory figures go far beyond 4 GB on today's machines, so they are
  // unsigned 64-bit in the members and in the edits' read-back alike.
  std::uint64_t physicalTotal = 0;
  std::int32_t memoryLoad = 0;
  std::uint64_t physicalFree = 0;
  std::uint64_t pageFileFree = 0;
  std::uint64_t pageFileTotal = 0;
  std::uint64_t virtualFree = 0;
  std::uint64_t virtualTotal = 0;
  std::int32_t displayUnit = -1;
  std::string uptimeText;
  std::string cpuName;
  std::string physicalFreeUnit;
  std::string physicalTotalUnit;
  std::string pageFileTotalUnit;
  std::string pageFileFreeUnit;
  std::string virtualTotalUnit;
  std::string virtualFreeUnit;
  std::string osName;
  std::string osVersion;
  std::int32_t alwaysOnTop = 0;
  std::uint32_t freeMemoryPercent = 0;
  std::string freeMemoryText;
  HICON appIcon = nullptr;
  // Puts the graph background back each time the graph control has
  // painted itself (after the window was covered, for instance).
  display::AfterPaintHook graphRepaint;
  CustomColours customColours = initialCustomColours();
};
