// The status window: the program's only main window. It owns every
// long-lived piece of state and refreshes all readouts once a second.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "display/after_paint_hook.h"
#include "display/cpu_history.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "framework/handles.h"
#include "probes/free_resources.h"
#include "probes/memory_status.h"
#include "probes/uptime.h"
#include "res/resource.h"
#include "probes/platform_kind.h"
#include "tools/colour_choice.h"
#include "tools/settings_store.h"

class StatusDialog : public fw::Dialog {
 public:
  StatusDialog();

 protected:
  void doDataExchange(fw::DataExchange& dx) override;
  bool onInitDialog() override;
  bool onCommand(int id, int notifyCode) override;
  bool onSysCommand(UINT command, LPARAM param) override;
  bool onPaint() override;
  void onTimer(UINT_PTR timerId) override;
  void onDestroy() override;
  HICON onQueryDragIcon() override { return appIcon.get(); }

 private:
  void useMenuOfTheLanguage();
  void readSettings();
  void refreshStatus();
  void readMemoryStatus();
  void setBar(int id, std::int32_t position) const;
  void onAlwaysOnTop();
  void onMonitor();
  void onSettings();
  void onAbout();

  ResourceMeter resourceMeter;
  UINT_PTR timerId = 0;
  std::wstring settingsPath;
  // The default unit, unit-at-exit option, graph colours and face set.
  SettingsChoices choices;
  PlatformKind platformKind = kPlatformUnidentified;
  std::int32_t monitorX = 0;
  std::int32_t monitorY = 0;
  CpuHistory cpuHistory{};
  std::int32_t cpuLoad = 0;
  FreeResources freeResources;
  std::int32_t memoryLoad = 0;
  // Memory figures go far beyond 4 GB on today's machines: 64 bits wide.
  MemoryFigures memoryFigures;
  std::int32_t displayUnit = -1;
  std::wstring unitLabel;
  std::wstring uptimeText;
  std::wstring cpuName;
  std::wstring osName;
  std::wstring osVersion;
  bool alwaysOnTop = false;
  std::uint32_t freeMemoryPercent = 0;
  std::wstring freeMemoryText;
  // The words of the two texts the refresh composes.
  const UptimePatterns uptimePatterns{fw::loadString(IDS_UPTIME_HOURS), fw::loadString(IDS_UPTIME_MINUTES)};
  const std::wstring freeMemoryPattern = fw::loadString(IDS_FREE_MEMORY_TEXT);
  // The window's icon and its title-bar icon, each at the size the system
  // draws it at this DPI.
  fw::Icon appIcon;
  fw::Icon smallAppIcon;
  // Puts the graph background back each time the graph control has
  // painted itself (after the window was covered, for instance).
  display::AfterPaintHook graphRepaint;
  CustomColours customColours = initialCustomColours();
};
