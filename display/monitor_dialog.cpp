#include "display/monitor_dialog.h"

#include "display/history_graph.h"
#include "probes/cpu_load.h"
#include "res/resource.h"

namespace {
constexpr UINT_PTR kSampleTimer = 1;
constexpr UINT kSamplePeriodMs = 1000;
}  // namespace

MonitorDialog::MonitorDialog(const MonitorState& state) : fw::Dialog(IDD_MONITOR), state_(state) {}

bool MonitorDialog::onInitDialog() {
  fw::Dialog::onInitDialog();
  // A position off the left or top edge would leave the caption out of
  // reach; one off the right or bottom edge is used as stored.
  if (state_.monitorX < 0) state_.monitorX = 0;
  if (state_.monitorY < 0) state_.monitorY = 0;
  SetWindowPos(hwnd(), HWND_NOTOPMOST, state_.monitorX, state_.monitorY, 0, 0, SWP_NOSIZE);
  drawHistoryGraph();
  graphRepaint_.attach(item(IDC_GRAPH), [this] { drawHistoryGraph(); });
  timerId_ = SetTimer(hwnd(), kSampleTimer, kSamplePeriodMs, nullptr);
  return true;
}

// The picture drawn at a tick is the history before that tick's sample, so
// the graph runs one tick behind its samples.
void MonitorDialog::onTimer(UINT_PTR) {
  drawHistoryGraph();
  advanceHistory(state_.cpuHistory, static_cast<std::uint32_t>(sampleCpuLoad(state_.platformKind)));
  saveMonitorPosition();
}

void MonitorDialog::onDestroy() { KillTimer(hwnd(), timerId_); }

void MonitorDialog::drawHistoryGraph() {
  ::drawHistoryGraph(item(IDC_GRAPH), state_.cpuHistory, state_.lineColor, state_.backgroundColor);
}

void MonitorDialog::saveMonitorPosition() {
  RECT window{};
  if (!GetWindowRect(hwnd(), &window)) return;
  state_.monitorX = window.left;
  state_.monitorY = window.top;
}
