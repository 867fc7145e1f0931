// The monitor window: a small tool window holding only the load graph. It
// stands in for the status window while it runs, samples the CPU load on its
// own timer into its own copy of the history, and records where the user
// put it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/after_paint_hook.h"
#include "display/cpu_history.h"
#include "framework/dialog.h"
#include "probes/platform_kind.h"

// What the status window hands the monitor window; only the position comes
// back.
struct MonitorState {
  std::int32_t monitorX = 0;
  std::int32_t monitorY = 0;
  PlatformKind platformKind = kPlatformUnidentified;
  COLORREF lineColor = 0;
  COLORREF backgroundColor = 0;
  CpuHistory cpuHistory{};
};

class MonitorDialog : public fw::Dialog {
 public:
  explicit MonitorDialog(const MonitorState& state);

  const MonitorState& state() const { return state_; }

 protected:
  bool onInitDialog() override;
  void onTimer(UINT_PTR timerId) override;
  void onDestroy() override;

 private:
  void drawHistoryGraph();
  void saveMonitorPosition();

  MonitorState state_;
  UINT_PTR timerId_ = 0;
  // Draws the graph again whenever the graph control has painted itself,
  // which would otherwise wipe it until the next tick.
  display::AfterPaintHook graphRepaint_;
};
