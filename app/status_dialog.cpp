#include "app/status_dialog.h"

#include <commctrl.h>

#include "app/settings_file.h"
#include "display/control_fill.h"
#include "display/face_drawing.h"
#include "display/face_mood.h"
#include "display/history_graph.h"
#include "display/monitor_dialog.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/resources.h"
#include "framework/proc_address.h"
#include "probes/cpu_load.h"
#include "probes/system_identity.h"
#include "probes/uptime.h"
#include "res/resource.h"
#include "tools/about_dialog.h"
#include "tools/memory_release.h"
#include "tools/settings_dialog.h"
#include "tools/shell_links.h"

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshPeriodMs = 1000;

constexpr int kProgressBars[] = {IDC_CPU_LOAD_BAR, IDC_SYSTEM_RESOURCE_BAR, IDC_GDI_RESOURCE_BAR,
                                 IDC_USER_RESOURCE_BAR, IDC_FREE_MEMORY_BAR};
// In the order of MemoryFigures::inOrder(), each figure with its unit label.
constexpr int kMemoryFigureIds[] = {IDC_PHYSICAL_TOTAL, IDC_PHYSICAL_FREE, IDC_PAGEFILE_TOTAL,
                                    IDC_PAGEFILE_FREE,  IDC_VIRTUAL_TOTAL, IDC_VIRTUAL_FREE};
constexpr int kUnitLabelIds[] = {IDC_PHYSICAL_TOTAL_UNIT, IDC_PHYSICAL_FREE_UNIT, IDC_PAGEFILE_TOTAL_UNIT,
                                 IDC_PAGEFILE_FREE_UNIT,  IDC_VIRTUAL_TOTAL_UNIT, IDC_VIRTUAL_FREE_UNIT};

// Wine's common controls give progress bars the desktop's visual style even
// in a program that asks for none, and a styled bar repaints by stretching
// its style's images pixel by pixel: about twice what a classic bar costs,
// at every tick and at each of the memory release's hundred positions. Only
// a theme library the process has already loaded is asked; where none is
// loaded (Windows before XP), nothing is styled in the first place.
void keepClassicLook(HWND control) {
  if (!control) return;
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  const auto setWindowTheme = fw::procAddress<SetWindowThemeFn>(GetModuleHandleA("uxtheme.dll"), "SetWindowTheme");
  // A class list that names no class: the control finds no style to use.
  if (setWindowTheme) setWindowTheme(control, L" ", L" ");
}

// The program's icon at the size the system asks for, from the image the
// icon holds for that size (or the nearest, scaled).
HICON loadAppIcon(int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_ICON), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), 0));
}

}  // namespace

StatusDialog::StatusDialog()
    : fw::Dialog(IDD_STATUS),
      appIcon(loadAppIcon(SM_CXICON, SM_CYICON)),
      smallAppIcon(loadAppIcon(SM_CXSMICON, SM_CYSMICON)) {}

void StatusDialog::doDataExchange(fw::DataExchange& dx) {
  dx.number(IDC_CPU_LOAD, cpuLoad);
  dx.number(IDC_SYSTEM_RESOURCES, freeResources.system);
  dx.number(IDC_GDI_RESOURCES, freeResources.gdi);
  dx.number(IDC_USER_RESOURCES, freeResources.user);
  dx.number(IDC_MEMORY_LOAD, memoryLoad);
  const auto figures = memoryFigures.inOrder();
  for (std::size_t i = 0; i < figures.size(); ++i) {
    dx.number(kMemoryFigureIds[i], figures[i]);
    dx.text(kUnitLabelIds[i], unitLabel);
  }
  dx.radio(IDC_UNIT_BYTE, displayUnit);
  dx.text(IDC_UPTIME, uptimeText);
  dx.text(IDC_CPU_NAME, cpuName);
  dx.text(IDC_OS_NAME, osName);
  dx.text(IDC_OS_VERSION, osVersion);
  dx.check(IDC_ALWAYS_ON_TOP, alwaysOnTop);
  dx.number(IDC_FREE_MEMORY_PERCENT, freeMemoryPercent);
  dx.text(IDC_FREE_MEMORY_TEXT, freeMemoryText);
}

bool StatusDialog::onInitDialog() {
  fw::Dialog::onInitDialog();
  useMenuOfTheLanguage();
  for (int bar : kProgressBars) keepClassicLook(item(bar));
  addAboutItem(hwnd());
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon.get()));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallAppIcon.get()));

  settingsPath = settings::pathInCurrentDirectory();
  readSettings();

  cpuHistory.fill(0);
  timerId = SetTimer(hwnd(), kRefreshTimer, kRefreshPeriodMs, nullptr);

  const OsIdentity identity =
      identifyOs(readOsVersionRecord(), {fw::loadString(IDS_OS_WIN32S), fw::loadString(IDS_OS_UNKNOWN)});
  platformKind = identity.platformKind;
  osVersion = identity.versionLine;
  osName = identity.name;
  cpuName = processorName(readProcessorType());
  if (!resourceMeter.bind(platformKind)) {
    // The timer already runs, and every tick reads the controls back: they
    // must hold what the initialisation set before the box lets ticks in.
    updateData(false);
    fw::appMessageBox(fw::loadString(IDS_RESOURCE_METER_MISSING), MB_OK);
  }

  refreshStatus();
  return true;
}

// The template names its menu, which the platform loads in a language of
// its own choosing; the run's language replaces it. Both are one line high,
// so the window keeps its size.
void StatusDialog::useMenuOfTheLanguage() {
  HMENU chosen = fw::loadMenu(IDR_STATUS_MENU);
  if (!chosen) return;
  HMENU loaded = GetMenu(hwnd());
  SetMenu(hwnd(), chosen);
  if (loaded) DestroyMenu(loaded);
}

void StatusDialog::readSettings() {
  StartupSettings stored = readStartupSettings(ProfileSettingsReader(settingsPath));
  choices.defaultUnit = stored.defaultUnit;
  choices.unitAtExit = stored.unitAtExit != 0;
  choices.lineColor = stored.lineColor;
  choices.backgroundColor = stored.backgroundColor;
  choices.faceSetName = stored.faceSetName;
  displayUnit = choices.defaultUnit;
  fillControlRect(item(IDC_GRAPH), choices.backgroundColor);
  graphRepaint.attach(item(IDC_GRAPH), [this] { fillControlRect(item(IDC_GRAPH), choices.backgroundColor); });

  const StartupPlacement placement = startupPlacement(stored.alwaysOnTop);
  alwaysOnTop = placement == StartupPlacement::MoveTopmost;
  // With nothing saved yet the window stays where a new dialog opens.
  if (placement != StartupPlacement::KeepCentred) {
    SetWindowPos(hwnd(), alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, stored.windowX, stored.windowY, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  monitorX = stored.monitorX;
  monitorY = stored.monitorY;
}

void StatusDialog::refreshStatus() {
  cpuLoad = sampleCpuLoad(platformKind);
  setBar(IDC_CPU_LOAD_BAR, cpuLoad);
  advanceHistory(cpuHistory, static_cast<std::uint32_t>(cpuLoad));
  freeResources = resourceMeter.read(platformKind, freeResources);
  setBar(IDC_SYSTEM_RESOURCE_BAR, freeResources.system);
  setBar(IDC_GDI_RESOURCE_BAR, freeResources.gdi);
  setBar(IDC_USER_RESOURCE_BAR, freeResources.user);
  readMemoryStatus();
  FaceReadings readings;
  readings.cpuLoad = cpuLoad;
  readings.resourceMeterLoaded = resourceMeter.loaded();
  readings.platformKind = platformKind;
  readings.systemResources = freeResources.system;
  readings.physicalTotal = memoryFigures.physicalTotal;
  readings.physicalFree = memoryFigures.physicalFree;
  drawFace(item(IDC_FACE), selectFace(readings), choices.faceSetName);
  uptimeText = formatUptime(readUptimeMilliseconds(), uptimePatterns);
  updateData(false);
}

void StatusDialog::readMemoryStatus() {
  const MemoryStatus status = readMemoryStatusRecord();
  memoryLoad = static_cast<std::int32_t>(status.memoryLoad);
  // Without a unit the figures stay as they were.
  convertMemoryFigures(status, displayUnit, memoryFigures);
  freeMemoryPercent = freePhysicalPercent(status.availPhys, status.totalPhys);
  freeMemoryText = ::freeMemoryText(freeMemoryPattern, status.availPhys, status.totalPhys);
  setBar(IDC_FREE_MEMORY_BAR, static_cast<std::int32_t>(freeMemoryPercent));
}

void StatusDialog::setBar(int id, std::int32_t position) const {
  SendMessageA(item(id), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void StatusDialog::onTimer(UINT_PTR) {
  updateData(true);
  unitLabel = ::unitLabel(displayUnit);
  refreshStatus();
  drawHistoryGraph(item(IDC_GRAPH), cpuHistory, choices.lineColor, choices.backgroundColor);
}

bool StatusDialog::onCommand(int id, int notifyCode) {
  if (id == IDC_ALWAYS_ON_TOP && notifyCode == BN_CLICKED) {
    onAlwaysOnTop();
    return true;
  }
  if (id == IDC_MONITOR && notifyCode == BN_CLICKED) {
    onMonitor();
    return true;
  }
  // Menu items and the Help button; other notifications are not commands.
  if (notifyCode != 0 && notifyCode != 1) return false;
  switch (id) {
    case ID_RELEASE_MEMORY:
      // Runs to completion here: no tick is served until its message box opens.
      releaseMemory(item(IDC_FREE_MEMORY_BAR));
      return true;
    case ID_SETTINGS:
      onSettings();
      return true;
    case ID_APP_ABOUT:
      onAbout();
      return true;
    case ID_HELP:
      openHelp();
      return true;
    case ID_GET_FACES:
      openInShell(fw::loadString(IDS_FACES_PAGE));
      return true;
    default:
      return false;
  }
}

bool StatusDialog::onSysCommand(UINT command, LPARAM) {
  if (!isAboutSysCommand(command)) return false;
  onAbout();
  return true;
}

void StatusDialog::onAbout() {
  AboutDialog about;
  about.doModal();
}

void StatusDialog::onAlwaysOnTop() {
  updateData(true);
  SetWindowPos(hwnd(), alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// The monitor window stands in for this one; this window's timer goes on
// refreshing it out of sight, and only the monitor's position comes back.
void StatusDialog::onMonitor() {
  MonitorState state;
  state.monitorX = monitorX;
  state.monitorY = monitorY;
  state.platformKind = platformKind;
  state.lineColor = choices.lineColor;
  state.backgroundColor = choices.backgroundColor;
  state.cpuHistory = cpuHistory;
  MonitorDialog monitor(state);
  ShowWindow(hwnd(), SW_HIDE);
  monitor.doModal();
  monitorX = monitor.state().monitorX;
  monitorY = monitor.state().monitorY;
  ShowWindow(hwnd(), SW_SHOW);
}

void StatusDialog::onSettings() {
  ProfileSettingsStore store(settingsPath);
  SettingsDialog dialog(choices, customColours, store);
  if (dialog.doModal() != IDOK) return;
  dialog.saveSettings();
  // The display keeps its unit; the new default shows at the next start and
  // in the dialog's next opening.
  choices = dialog.choices();
}

bool StatusDialog::onPaint() {
  if (IsIconic(hwnd())) {
    fw::PaintDc dc(hwnd());
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc.get(), x, y, appIcon.get());
    return true;
  }
  // The graph control paints itself after this; graphRepaint then fills it
  // with the background colour.
  return false;
}

void StatusDialog::onDestroy() {
  KillTimer(hwnd(), timerId);
  resourceMeter.unbind();
  RECT window{};
  GetWindowRect(hwnd(), &window);
  ExitSettings atExit;
  atExit.unitAtExit = choices.unitAtExit;
  atExit.displayUnit = displayUnit;
  atExit.alwaysOnTop = alwaysOnTop;
  atExit.window = {window.left, window.top};
  atExit.monitorX = monitorX;
  atExit.monitorY = monitorY;
  if (!writeSettingsAtExit(atExit, settingsPath)) {
    // This window is already hidden and on its way out: the box stands on
    // its own, with a taskbar button, rather than hang on it.
    if (fw::Application* app = fw::Application::current()) app->setMainWindow(nullptr);
    reportUnsavedSettings(settingsPath);
  }
  WinHelpA(hwnd(), nullptr, HELP_QUIT, 0);
}
