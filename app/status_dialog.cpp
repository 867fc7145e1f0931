#include "app/status_dialog.h"

#include "app/settings_file.h"
#include "display/control_fill.h"
#include "display/face_drawing.h"
#include "display/face_mood.h"
#include "display/history_graph.h"
#include "display/monitor_dialog.h"
#include "framework/application.h"
#include "framework/classic_look.h"
#include "framework/data_exchange.h"
#include "framework/platform_text.h"
#include "probes/cpu_load.h"
#include "probes/memory_status.h"
#include "probes/platform_kind.h"
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
constexpr std::uint32_t kFreeMemoryPercentMax = 100;
constexpr const char* kResourceMeterLibrary = "RSRC32.dll";
constexpr const char* kFreeResourcesExport = "_MyGetFreeSystemResources32@4";
constexpr const char* kResourceMeterMissing =
    "rsrc32.dllが見つかりません。\n"
    "このファイルはリソースを表示するのに必要なファイルです。\n"
    "リソースメーターをインストールして下さい。";

// The Resource Meter is a system component: loading it by bare name would
// also find a planted copy in the current directory.
HMODULE loadResourceMeterFromSystemDirectory() {
  char directory[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path(directory, length);
  if (path.back() != '\\') path += '\\';
  path += kResourceMeterLibrary;
  return LoadLibraryA(path.c_str());
}

}  // namespace

StatusDialog::StatusDialog(HWND parent) : fw::Dialog(IDD_STATUS, parent) {
  appIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_ICON));
}

StatusDialog::~StatusDialog() = default;

void StatusDialog::doDataExchange(fw::DataExchange& dx) {
  dx.control(IDC_FREE_MEMORY_BAR, freeMemoryBar);
  dx.control(IDC_USER_RESOURCE_BAR, userResourceBar);
  dx.control(IDC_GDI_RESOURCE_BAR, gdiResourceBar);
  dx.control(IDC_SYSTEM_RESOURCE_BAR, systemResourceBar);
  dx.control(IDC_CPU_LOAD_BAR, cpuLoadBar);
  dx.text(IDC_CPU_LOAD, cpuLoad);
  dx.text(IDC_SYSTEM_RESOURCES, systemResources);
  dx.text(IDC_GDI_RESOURCES, gdiResources);
  dx.text(IDC_USER_RESOURCES, userResources);
  dx.text(IDC_PHYSICAL_TOTAL, physicalTotal);
  dx.text(IDC_MEMORY_LOAD, memoryLoad);
  dx.text(IDC_PHYSICAL_FREE, physicalFree);
  dx.text(IDC_PAGEFILE_FREE, pageFileFree);
  dx.text(IDC_PAGEFILE_TOTAL, pageFileTotal);
  dx.text(IDC_VIRTUAL_FREE, virtualFree);
  dx.text(IDC_VIRTUAL_TOTAL, virtualTotal);
  dx.radio(IDC_UNIT_BYTE, displayUnit);
  dx.text(IDC_UPTIME, uptimeText);
  dx.text(IDC_CPU_NAME, cpuName);
  dx.text(IDC_PHYSICAL_TOTAL_UNIT, physicalTotalUnit);
  dx.text(IDC_PHYSICAL_FREE_UNIT, physicalFreeUnit);
  dx.text(IDC_PAGEFILE_TOTAL_UNIT, pageFileTotalUnit);
  dx.text(IDC_PAGEFILE_FREE_UNIT, pageFileFreeUnit);
  dx.text(IDC_VIRTUAL_TOTAL_UNIT, virtualTotalUnit);
  dx.text(IDC_VIRTUAL_FREE_UNIT, virtualFreeUnit);
  dx.text(IDC_OS_NAME, osName);
  dx.text(IDC_OS_VERSION, osVersion);
  dx.check(IDC_ALWAYS_ON_TOP, alwaysOnTop);
  dx.text(IDC_FREE_MEMORY_PERCENT, freeMemoryPercent);
  dx.minMaxUInt(freeMemoryPercent, 0, kFreeMemoryPercentMax);
  dx.text(IDC_FREE_MEMORY_TEXT, freeMemoryText);
}

bool StatusDialog::onInitDialog() {
  fw::Dialog::onInitDialog();
  for (int bar : {IDC_CPU_LOAD_BAR, IDC_SYSTEM_RESOURCE_BAR, IDC_GDI_RESOURCE_BAR, IDC_USER_RESOURCE_BAR,
                  IDC_FREE_MEMORY_BAR}) {
    fw::keepClassicLook(item(bar));
  }

  if (HMENU systemMenu = GetSystemMenu(hwnd(), FALSE)) {
    const std::string aboutItem = fw::loadString(IDS_ABOUT_MENU_ITEM);
    if (!aboutItem.empty()) {
      AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      fw::appendMenuItem(systemMenu, IDM_ABOUT_SYSCOMMAND, aboutItem);
    }
  }
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

  settingsPath = settings::pathInCurrentDirectory();
  readSettings();

  cpuHistory.fill(0);
  timerId = SetTimer(hwnd(), kRefreshTimer, kRefreshPeriodMs, nullptr);

  osName = identifyOperatingSystem();
  cpuName = describeProcessor();
  bindResourceMeter();

  refreshStatus();
  return true;
}

void StatusDialog::readSettings() {
  StartupSettings stored = readStartupSettings(ProfileSettingsReader(settingsPath));
  // The file holds the name in the system's code page.
  faceSetName = fw::fromSystemCodePage(stored.faceSetName);
  defaultUnit = stored.defaultUnit;
  unitAtExit = stored.unitAtExit;
  displayUnit = defaultUnit;
  lineColor = stored.lineColor;
  backgroundColor = stored.backgroundColor;
  fillControlRect(item(IDC_GRAPH), backgroundColor);
  graphRepaint.attach(item(IDC_GRAPH), [this] { fillControlRect(item(IDC_GRAPH), backgroundColor); });

  alwaysOnTop = stored.alwaysOnTop;
  switch (startupPlacement(alwaysOnTop)) {
    case StartupPlacement::MoveNotTopmost:
      SetWindowPos(hwnd(), HWND_NOTOPMOST, stored.windowX, stored.windowY, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
      break;
    case StartupPlacement::MoveTopmost:
      SetWindowPos(hwnd(), HWND_TOPMOST, stored.windowX, stored.windowY, 0, 0,
                   SWP_NOSIZE | SWP_SHOWWINDOW);
      break;
    case StartupPlacement::KeepCentred:
      // Nothing saved yet: stay where a new dialog opens.
      alwaysOnTop = 0;
      break;
  }
  monitorX = stored.monitorX;
  monitorY = stored.monitorY;
}

void StatusDialog::bindResourceMeter() {
  if (platformKind != kPlatform9x) return;
  resourceLibrary.reset(loadResourceMeterFromSystemDirectory());
  if (!resourceLibrary) {
    // The timer already runs, and every tick reads the controls back: they
    // must hold what the initialisation set before the box lets ticks in.
    updateData(false);
    fw::appMessageBox(kResourceMeterMissing, MB_OK);
    return;
  }
  getFreeResources = reinterpret_cast<FreeResourcesFn>(
      reinterpret_cast<void*>(GetProcAddress(resourceLibrary.get(), kFreeResourcesExport)));
}

std::string StatusDialog::identifyOperatingSystem() {
  OsIdentity identity = identifyOs(readOsVersionRecord());
  platformKind = identity.platformKind;
  osVersion = identity.versionLine;
  return identity.name;
}

std::string StatusDialog::describeProcessor() { return processorName(readProcessorType()); }

void StatusDialog::refreshStatus() {
  cpuLoad = sampleCpuLoad(platformKind);
  cpuLoadBar.setPos(cpuLoad);
  advanceHistory(cpuHistory, static_cast<std::uint32_t>(cpuLoad));
  readFreeResources();
  readMemoryStatus();
  selectFace(cpuLoad);
  formatUptime();
  updateData(false);
}

void StatusDialog::selectFace(std::int32_t load) {
  const FaceMood mood = ::selectFace({load, static_cast<bool>(resourceLibrary), platformKind, systemResources,
                                      physicalTotal, physicalFree});
  if (faceSetName.empty()) {
    drawBuiltinFace(item(IDC_FACE), faceResourceId(mood));
  } else {
    drawFileFace(item(IDC_FACE), faceSetName, faceFileName(mood));
  }
}

void StatusDialog::readFreeResources() {
  FreeResources previous{systemResources, gdiResources, userResources};
  FreeResources now =
      ::readFreeResources(platformKind, static_cast<bool>(resourceLibrary), getFreeResources, previous);
  systemResources = now.system;
  gdiResources = now.gdi;
  userResources = now.user;
  systemResourceBar.setPos(systemResources);
  gdiResourceBar.setPos(gdiResources);
  userResourceBar.setPos(userResources);
}

void StatusDialog::readMemoryStatus() {
  MemoryStatus status = readMemoryStatusRecord();
  memoryLoad = static_cast<std::int32_t>(status.memoryLoad);
  MemoryFigures figures{physicalTotal, physicalFree, pageFileTotal,
                        pageFileFree,  virtualTotal, virtualFree};
  if (convertMemoryFigures(status, displayUnit, figures)) {
    physicalTotal = figures.physicalTotal;
    physicalFree = figures.physicalFree;
    pageFileTotal = figures.pageFileTotal;
    pageFileFree = figures.pageFileFree;
    virtualTotal = figures.virtualTotal;
    virtualFree = figures.virtualFree;
  }
  freeMemoryPercent = freePhysicalPercent(status.availPhys, status.totalPhys);
  freeMemoryText = ::freeMemoryText(status.availPhys, status.totalPhys);
  freeMemoryBar.setPos(static_cast<int>(freeMemoryPercent));
}

void StatusDialog::setUnitLabels() {
  const std::string label = unitLabel(displayUnit);
  physicalFreeUnit = label;
  physicalTotalUnit = label;
  pageFileTotalUnit = label;
  pageFileFreeUnit = label;
  virtualTotalUnit = label;
  virtualFreeUnit = label;
}

void StatusDialog::formatUptime() { uptimeText = ::formatUptime(readUptimeMilliseconds()); }

void StatusDialog::onTimer(UINT_PTR) {
  updateData(true);
  setUnitLabels();
  refreshStatus();
  drawHistoryGraph(item(IDC_GRAPH), cpuHistory, lineColor, backgroundColor);
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
      releaseMemory();
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
      openInShell(kFacesPage);
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

// Runs to completion here: no tick is served until its message box opens.
void StatusDialog::releaseMemory() { ::releaseMemory(freeMemoryBar); }

void StatusDialog::onAlwaysOnTop() {
  updateData(true);
  SetWindowPos(hwnd(), alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// The monitor window stands in for this one; this window's timer goes on
// refreshing it out of sight, and only the monitor's position comes back.
void StatusDialog::onMonitor() {
  MonitorDialog monitor;
  ShowWindow(hwnd(), SW_HIDE);
  monitor.cpuHistory = cpuHistory;
  monitor.lineColor = lineColor;
  monitor.backgroundColor = backgroundColor;
  monitor.platformKind = platformKind;
  monitor.monitorX = monitorX;
  monitor.monitorY = monitorY;
  monitor.doModal();
  monitorX = monitor.monitorX;
  monitorY = monitor.monitorY;
  ShowWindow(hwnd(), SW_SHOW);
}

void StatusDialog::onSettings() {
  ProfileSettingsStore store(settingsPath);
  SettingsDialog dialog(customColours, store);
  dialog.defaultUnit = defaultUnit;
  dialog.unitAtExit = unitAtExit;
  dialog.lineColor = lineColor;
  dialog.backgroundColor = backgroundColor;
  dialog.faceSetName = faceSetName;
  if (dialog.doModal() != IDOK) return;
  dialog.saveSettings();
  unitAtExit = dialog.unitAtExit;
  lineColor = dialog.lineColor;
  backgroundColor = dialog.backgroundColor;
  faceSetName = dialog.faceSetName;
  // The display keeps its unit; the new default shows at the next start and
  // in the dialog's next opening.
  defaultUnit = dialog.defaultUnit;
}

bool StatusDialog::onPaint() {
  if (IsIconic(hwnd())) {
    fw::PaintDc dc(hwnd());
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc.get(), x, y, appIcon);
    return true;
  }
  // The graph control paints itself after this; graphRepaint then fills it
  // with the background colour.
  return false;
}

HICON StatusDialog::onQueryDragIcon() { return appIcon; }

void StatusDialog::onDestroy() {
  KillTimer(hwnd(), timerId);
  resourceLibrary.reset();
  if (!writeSettingsAtExit()) {
    // This window is already hidden and on its way out: the box stands on
    // its own, with a taskbar button, rather than hang on it.
    if (fw::Application* app = fw::Application::current()) app->setMainWindow(nullptr);
    reportUnsavedSettings(settingsPath);
  }
  WinHelpA(hwnd(), nullptr, HELP_QUIT, 0);
}

// Every key is tried whatever became of the one before.
bool StatusDialog::writeSettingsAtExit() {
  using namespace settings;
  bool written = true;
  auto write = [&](const char* section, const char* key, std::int32_t value) {
    if (!writeIntSetting(section, key, value, settingsPath)) written = false;
  };
  if (unitAtExit != 0) write(kGeneral, kUnitButton, displayUnit);
  write(kGeneral, kAlwaysOnTop, alwaysOnTop);
  RECT window{};
  GetWindowRect(hwnd(), &window);
  write(kGeneral, kX, window.left);
  write(kGeneral, kY, window.top);
  write(kMonitor, kX, monitorX);
  write(kMonitor, kY, monitorY);
  return written;
}
