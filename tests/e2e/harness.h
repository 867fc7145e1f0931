// Drives the real Quimbel.exe from outside its process: starts it in a fresh
// working directory, finds its windows, reads and sets control state, sends
// commands and timer ticks, reads screen pixels and the settings file, and
// closes it every way a user can.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Polls `condition` until it holds or `timeoutMs` passes; true if it held.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000, DWORD pollMs = 20);

// A text value of the current user's registry set (or, for "", removed),
// or a number value set, for as long as this lives; the previous state, a
// value of any type, comes back afterwards.
class ScopedUserSetting {
 public:
  ScopedUserSetting(const std::string& key, const std::string& name, const std::string& value);
  ScopedUserSetting(const std::string& key, const std::string& name, DWORD value);
  ~ScopedUserSetting();
  ScopedUserSetting(const ScopedUserSetting&) = delete;
  ScopedUserSetting& operator=(const ScopedUserSetting&) = delete;

 private:
  // A type of REG_NONE removes the value.
  ScopedUserSetting(const std::string& key, const std::string& name, DWORD type, const std::string& bytes);

  std::string key_;
  std::string name_;
  bool hadPrevious_ = false;
  DWORD previousType_ = REG_NONE;
  std::string previous_;  // its bytes
};

// The Windows version Wine shows to Quimbel.exe only
// (HKCU\Software\Wine\AppDefaults\Quimbel.exe, value Version):
// "" restores Wine's default, otherwise e.g. "win98", "win95", "nt40".
class WindowsVersionMode : public ScopedUserSetting {
 public:
  explicit WindowsVersionMode(const std::string& version);
};

// Writes a DWORD under HKEY_DYN_DATA (the 9x performance statistics).
bool setDynDataValue(const std::string& subkey, const std::string& valueName, std::uint32_t value);
// Removes such a value again; true when it is gone.
bool deleteDynDataValue(const std::string& subkey, const std::string& valueName);

// A fresh, empty working directory for one program run, removed afterwards.
class WorkingDirectory {
 public:
  WorkingDirectory();
  // One whose name ends in `name`, which may hold any character.
  explicit WorkingDirectory(const std::wstring& name);
  ~WorkingDirectory();
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  // The path in code page 932, as the tests compare texts: a character that
  // code page lacks shows as a default character. widePath() is exact.
  const std::string& path() const { return path_; }
  const std::wstring& widePath() const { return widePath_; }
  std::string settingsPath() const { return path_ + "\\quimbel.ini"; }
  // Writes the settings file with exactly these bytes.
  void writeSettings(const std::string& content) const;
  // The settings file's bytes; empty when it does not exist.
  std::string readSettings() const;
  bool settingsExist() const;

 private:
  std::wstring widePath_;
  std::string path_;
};

// Makes an existing folder read-only while alive: a read-only bind mount of
// it onto itself, made from the Unix side (root writes through mode bits,
// under Wine too), and taken away again on every path. Where that cannot
// be done, why() says why.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::string path);
  ~ReadOnlyFolder();
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  bool made() const { return why_.empty(); }
  const std::string& why() const { return why_; }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string why_;
};

// What a test reads of one value of the settings file.
struct SettingValue {
  bool present = false;
  std::string text;
};
SettingValue readSetting(const std::string& iniPath, const std::string& section, const std::string& key);

// One running Quimbel.exe, started from the Unix shell through Wine's loader
// as a user starts it (scripts/run.sh), not by another Wine process.
class Program {
 public:
  // Starts Quimbel.exe (the path from quimbelExePath()) in `directory`.
  explicit Program(const WorkingDirectory& directory);
  // Starts it in any existing directory.
  explicit Program(const std::string& directoryPath);
  // Starts another program that stands in for it, with the same window.
  Program(const WorkingDirectory& directory, const std::string& exePath);
  // Kills the process if a test left it running.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const;
  DWORD processId() const;

  // The status window ("QuimbelUtility") of this process; null until it is up.
  HWND statusWindow() const;
  // Waits until the status window exists and is visible.
  bool waitForStatusWindow(DWORD timeoutMs = 15000);
  // A visible top-level window of this process with this caption, or null.
  HWND topLevelWindow(const std::string& caption) const;
  // A message box of this process (a visible #32770 window whose message
  // static 0xFFFF holds its text; the program's own dialogs have none), or
  // null.
  HWND messageBox() const;
  bool waitForMessageBox(DWORD timeoutMs = 10000);
  // Waits for a message box, answers it with OK and returns its text;
  // empty when none came.
  std::string answerMessageBox(DWORD timeoutMs = 10000) const;
  // The text of a message box's message (static control 0xFFFF).
  static std::string messageBoxText(HWND box);
  // Any window's text, read with WM_GETTEXT.
  static std::string windowText(HWND window);
  // BM_CLICK on button `id` of any dialog, e.g. OK of a message box.
  static void clickIn(HWND dialog, int id);

  HWND control(int id) const;
  std::string controlText(int id) const;
  bool setControlText(int id, const std::string& text) const;
  bool isChecked(int id) const;
  // The control's own WS_VISIBLE style, whether or not its window is shown.
  bool isVisible(int id) const;
  // BM_CLICK on a button (sent, so it has been handled when this returns).
  void click(int id) const;
  // BM_CLICK posted, for a button that opens a modal window and so would
  // not return from a sent click until that window closed.
  void clickWithoutWaiting(int id) const;
  // WM_COMMAND as a menu would send it (posted).
  void menuCommand(int id) const;
  void sysCommand(UINT command) const;
  // A key press delivered to the focused control the way the keyboard would
  // (F1 with the help message the system adds for it).
  void pressKey(UINT virtualKey) const;
  // Posts `count` WM_TIMER messages for timer 1 and waits until all have been
  // handled.
  void tick(int count = 1) const;
  // Waits until the status window's queue has been worked through.
  void sync() const;

  // A top-level window of this process with exactly this caption, shown or
  // not (the monitor window, the settings dialog, a colour chooser), or null.
  HWND windowCaptioned(const std::string& caption) const;
  // Waits until such a window is shown; null when none is within the time.
  HWND waitForWindowCaptioned(const std::string& caption, DWORD timeoutMs = 10000) const;

  // Waits until a top-level window of this process that holds a control
  // with this id is shown (the platform's colour chooser, whose caption is
  // in the platform's language); null when none is within the time.
  HWND waitForWindowWith(int controlId, DWORD timeoutMs = 10000) const;

  RECT windowRect() const;
  // The control's client area in screen coordinates.
  RECT controlScreenRect(int id) const;
  bool isTopmost() const;
  bool moveTo(int x, int y) const;

  // Waits for the process to end; true if it ended within the time.
  bool waitForExit(DWORD timeoutMs = 10000) const;
  bool hasExited() const;
  // The process's exit code; STILL_ACTIVE while it runs.
  DWORD exitCode() const;

  // User and system CPU time of the process so far, in milliseconds, from
  // /proc/<pid>/stat of the Unix process that runs it.
  double cpuTimeMs() const;
  // Memory that Unix process has written and owns alone (Private_Dirty and
  // Swap of /proc/<pid>/smaps_rollup; clean pages come and go with the
  // machine's page cache) in KB; -1 when unreadable.
  long privateMemoryKb() const;
  // The Unix process that runs it (found by its command line); 0 if none.
  DWORD unixProcessId() const;

 private:
  void start(const std::string& exePath);

  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  std::wstring directory_;
  // An argument the program ignores; it tells this run apart in /proc.
  std::string runTag_;
  mutable DWORD unixPid_ = 0;
};

// Writes a 24-bit bitmap file, `side` pixels square, whose pixel (x, y)
// is colour(x, y).
void writeBitmap(const std::string& path, int side, const std::function<COLORREF(int, int)>& colour);

// Any window's client area in screen coordinates.
RECT clientScreenRect(HWND window);

// Pixel colour (COLORREF) on the screen as it is shown.
COLORREF screenPixel(int x, int y);

// A rectangle of the screen as it is shown, copied in one go.
class ScreenShot {
 public:
  explicit ScreenShot(const RECT& area);
  // The colour at screen point (x, y); CLR_INVALID outside the area.
  COLORREF at(int x, int y) const;

 private:
  RECT area_;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, top row first
};

// What the program answers to its drawing-object question: one more than
// the drawing objects it holds, 0 when it does not answer.
long liveDrawingObjectsAnswer(HWND window);

// The Resource Meter's path in Wine's system directory.
std::string systemResourceMeterPath();
bool fileExists(const std::string& path);

// Puts the stand-in library where the program looks for the Resource Meter,
// for one test, and takes it away again on every path.
class InstalledResourceMeter {
 public:
  InstalledResourceMeter();
  ~InstalledResourceMeter();
  InstalledResourceMeter(const InstalledResourceMeter&) = delete;
  InstalledResourceMeter& operator=(const InstalledResourceMeter&) = delete;

  bool installed() const { return installed_; }
  const std::string& path() const { return target_; }

 private:
  std::string target_;
  bool installed_ = false;
};

// An environment variable of this process, which the program inherits.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name_, value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_, nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
};

// The whole machine's processor time from /proc/stat, in clock ticks, so a
// test can tell how busy the machine itself was between two readings.
struct MachineCpuTimes {
  unsigned long long busy = 0;
  unsigned long long total = 0;
};
MachineCpuTimes readMachineCpuTimes();
// Busy share 0..100 between two readings; -1 when nothing elapsed.
int machineBusyPercent(const MachineCpuTimes& earlier, const MachineCpuTimes& later);

// Keeps `threads` processors busy while alive.
class CpuBurner {
 public:
  explicit CpuBurner(int threads);
  ~CpuBurner();
  CpuBurner(const CpuBurner&) = delete;
  CpuBurner& operator=(const CpuBurner&) = delete;

 private:
  std::vector<HANDLE> threads_;
  volatile LONG stop_ = 0;
  static DWORD WINAPI burn(LPVOID self);
};

// The Windows path of Quimbel.exe the tests run (set from the command line).
const std::string& quimbelExePath();
void setQuimbelExePath(const std::string& windowsPath);

// The Windows path of the bare release loop (--plain-release=); empty when
// none was given.
const std::string& plainReleaseExePath();
void setPlainReleaseExePath(const std::string& windowsPath);

// The Windows path of the stand-in Resource Meter library (--rsrc32=);
// empty when none was given.
const std::string& standInResourceMeterPath();
void setStandInResourceMeterPath(const std::string& windowsPath);

}  // namespace e2e
