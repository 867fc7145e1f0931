// Counts what one tick of the status window asks of wineserver. Runs under
// a wineserver started with "-f -d1", whose log (its stderr) it is told
// (scripts/count-requests.sh sets that up): starts the program, lets it
// warm up, then either sends ticks back to back as WM_TIMER messages
// (--ticks=N) or lets the program's own timer tick once a second
// (--seconds=N), and reads the requests of the program's window thread out
// of the stretch of the log those ticks wrote. The ticks are counted in the
// log too: every WM_TIMER the window thread takes off its queue.
//
// With --parts=<quimbel_tick_parts.exe> it does the same with the build
// whose tick parts are framed by marker requests, and splits the count by
// part. A request naming a progress bar counts for the bars wherever it
// comes from; between ticks, a message's handling counts for whoever owns
// the first control it names (the edits' own repaints of changed texts
// count for the write-back), the rest for the message loop.
//
// --max=N fails (exit code 1) when the program's figure is above N.
// --handshake=<dir> writes <dir>/pid with the program's Unix pid before the
// measured ticks, waits for <dir>/go and writes <dir>/done after them, so
// the script can trace exactly those ticks' system calls.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"
#include "tests/support/command_line.h"

namespace {

using e2e::Program;

constexpr const char* kMarkerPrefix = "QuimbelTickPart:";
constexpr int kWarmUpTicks = 20;
constexpr DWORD kHandshakeWaitMs = 60000;
constexpr const char* kParts[] = {"read-back", "write-back", "CPU sample", "memory", "resources",
                                  "face",      "graph",      "progress bars", "message loop"};
// The parts whose calls tick_parts.cpp wraps, so their markers must show.
constexpr const char* kFramedParts[] = {"read-back", "write-back", "CPU sample", "memory",
                                        "resources", "face",       "graph"};
const int kProgressBars[] = {IDC_CPU_LOAD_BAR, IDC_SYSTEM_RESOURCE_BAR, IDC_GDI_RESOURCE_BAR, IDC_USER_RESOURCE_BAR,
                             IDC_FREE_MEMORY_BAR};

struct Options {
  std::string logPath, handshake;
  int ticks = 200;
  int seconds = 0;
};

std::string readFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  static char buffer[1 << 16];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  CloseHandle(file);
  return content;
}

void writeFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// The Unix process whose first thread is `thread`, as the log names it
// where that thread starts ("<thread>: init_first_thread( unix_pid=...");
// thread ids are used again, so the last such line counts. Wine runs a
// program's first thread, its window thread here, on the Unix process's
// main thread. 0 when not found.
unsigned long unixProcessOf(const std::string& log, DWORD thread) {
  char start[48];
  std::snprintf(start, sizeof start, "%04lx: init_first_thread( unix_pid=", static_cast<unsigned long>(thread));
  const std::size_t at = log.rfind(start);
  return at == std::string::npos ? 0 : std::strtoul(log.c_str() + at + std::strlen(start), nullptr, 10);
}

std::string handleText(HWND window) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
  return text;
}

// Whom a control's requests count for, by its handle as the log prints it.
std::map<std::string, std::string> controlOwners(HWND status) {
  std::map<std::string, std::string> owners;
  for (HWND child = GetWindow(status, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(child);
    std::string owner = "write-back";
    for (int bar : kProgressBars) {
      if (id == bar) owner = "progress bars";
    }
    if (id == IDC_GRAPH) owner = "graph";
    owners[handleText(child)] = owner;
  }
  return owners;
}

// The window a request names, by its window=, handle= or parent= argument.
std::string namedWindow(const std::string& args) {
  for (const char* key : {"window=", "handle=", "parent="}) {
    const std::size_t at = args.find(key);
    if (at != std::string::npos) return args.substr(at + std::strlen(key), 8);
  }
  return {};
}

struct Count {
  int ticks = 0;
  long requests = 0;
  std::map<std::string, long> byName;
  std::map<std::string, long> byPart;
  std::map<std::string, long> byPartAndName;
  std::map<std::string, long> markers;
};

// Goes through the log lines of one thread: "<thread>: <name>( <args> )" is
// a request, "<thread>: <name>() = <status> { <reply> }" its reply.
class LogReader {
 public:
  LogReader(DWORD thread, HWND status, Count& count)
      : owners_(controlOwners(status)), timerReply_("msg=00000113"), count_(count) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%04lx: ", static_cast<unsigned long>(thread));
    prefix_ = prefix;
    window_ = "win=" + handleText(status);
  }

  void read(const std::string& log) {
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.compare(0, prefix_.size(), prefix_) != 0) continue;
      const std::size_t open = line.find('(', prefix_.size());
      if (open == std::string::npos) continue;
      const std::string name = line.substr(prefix_.size(), open - prefix_.size());
      if (name.empty() || name.find_first_not_of("abcdefghijklmnopqrstuvwxyz_") != std::string::npos) continue;
      if (line.compare(open, 5, "() = ") == 0) {
        if (name == "get_message" && line.find(window_) != std::string::npos &&
            line.find(timerReply_) != std::string::npos) {
          ++count_.ticks;
        }
      } else if (line.compare(open, 2, "( ") == 0) {
        request(name, line.substr(open + 2));
      }
    }
  }

 private:
  void request(const std::string& name, const std::string& args) {
    const std::size_t marker = args.find(kMarkerPrefix);
    if (name == "find_atom" && marker != std::string::npos) {
      const std::size_t from = marker + std::strlen(kMarkerPrefix);
      const std::string part = args.substr(from, args.find('"', from) - from);
      if (part.empty()) {
        if (!open_.empty()) open_.pop_back();
      } else {
        open_.push_back(part);
        ++count_.markers[part];
      }
      return;
    }
    ++count_.requests;
    ++count_.byName[name];
    const auto owner = owners_.find(namedWindow(args));
    std::string part;
    if (owner != owners_.end() && owner->second == "progress bars") {
      part = owner->second;
    } else if (!open_.empty()) {
      part = open_.back();
    } else if (name == "get_message") {
      part = messageOwner_ = "message loop";
      ownerKnown_ = false;
    } else {
      if (!ownerKnown_ && owner != owners_.end()) {
        messageOwner_ = owner->second;
        ownerKnown_ = true;
      }
      part = messageOwner_.empty() ? "message loop" : messageOwner_;
    }
    ++count_.byPart[part];
    ++count_.byPartAndName[part + ": " + name];
  }

  std::map<std::string, std::string> owners_;
  std::string prefix_, window_;
  const std::string timerReply_;
  Count& count_;
  std::vector<std::string> open_;  // parts begun and not yet ended
  std::string messageOwner_;       // whom the current message's handling counts for
  bool ownerKnown_ = false;
};

bool waitForFile(const std::string& path) {
  return e2e::waitFor([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, kHandshakeWaitMs);
}

// Runs `exe`, lets it tick as the options say and counts those ticks.
bool measure(const std::string& exe, const Options& o, bool handshake, Count& count) {
  e2e::WorkingDirectory directory;
  Program program(directory, exe);
  if (!program.waitForStatusWindow()) {
    std::fprintf(stderr, "%s: no status window\n", exe.c_str());
    return false;
  }
  program.tick(kWarmUpTicks);
  HWND status = program.statusWindow();
  const DWORD thread = GetWindowThreadProcessId(status, nullptr);
  if (handshake) {
    writeFile(o.handshake + "\\pid", std::to_string(unixProcessOf(readFile(o.logPath), thread)));
    if (!waitForFile(o.handshake + "\\go")) std::fprintf(stderr, "no go from the script; counting anyway\n");
  }
  const std::size_t from = readFile(o.logPath).size();
  if (o.seconds > 0) {
    Sleep(static_cast<DWORD>(o.seconds) * 1000);
  } else {
    program.tick(o.ticks);
  }
  const std::string log = readFile(o.logPath);
  LogReader(thread, status, count).read(log.size() > from ? log.substr(from) : std::string());
  if (handshake) writeFile(o.handshake + "\\done", std::to_string(count.ticks));
  program.menuCommand(ID_APP_EXIT);
  program.waitForExit(15000);
  return true;
}

double perTick(long value, int ticks) { return ticks > 0 ? static_cast<double>(value) / ticks : 0; }

void printParts(const Count& split, bool detail) {
  std::printf("by part (the same program, its parts framed by markers; %d ticks): %.1f a tick in all\n",
              split.ticks, perTick(split.requests, split.ticks));
  for (const char* part : kParts) {
    const auto found = split.byPart.find(part);
    std::printf("  %-16s %6.2f\n", part, perTick(found == split.byPart.end() ? 0 : found->second, split.ticks));
  }
  if (detail) {
    std::printf("by part and request:\n");
    for (const auto& entry : split.byPartAndName) {
      std::printf("  %-48s %6.2f\n", entry.first.c_str(), perTick(entry.second, split.ticks));
    }
  }
  for (const char* part : kFramedParts) {
    if (split.markers.count(part) == 0) {
      std::printf("  (no markers for %s: the tick-parts build no longer wraps its call)\n", part);
    }
  }
}

bool hasFlag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using test_support::optionValue;
  using test_support::toWindowsPath;
  const std::string quimbel = toWindowsPath(optionValue(argc, argv, "--quimbel="));
  const std::string parts = toWindowsPath(optionValue(argc, argv, "--parts="));
  const std::string maxText = optionValue(argc, argv, "--max=");
  Options o;
  o.logPath = toWindowsPath(optionValue(argc, argv, "--log="));
  o.handshake = toWindowsPath(optionValue(argc, argv, "--handshake="));
  const int ticks = std::atoi(optionValue(argc, argv, "--ticks=").c_str());
  if (ticks > 0) o.ticks = ticks;
  o.seconds = std::atoi(optionValue(argc, argv, "--seconds=").c_str());
  if (quimbel.empty() || o.logPath.empty()) {
    std::fprintf(stderr, "usage: %s --quimbel=<exe> --log=<wineserver -d1 log> [--parts=<exe>] "
                         "[--ticks=200 | --seconds=N] [--max=N] [--detail] [--handshake=<dir>]\n", argv[0]);
    return 2;
  }
  e2e::setQuimbelExePath(quimbel);

  Count count;
  if (!measure(quimbel, o, !o.handshake.empty(), count)) return 1;
  const double requests = perTick(count.requests, count.ticks);
  std::printf("server requests per tick: %.1f (the window's thread, %d ticks, %s)\n", requests, count.ticks,
              o.seconds > 0 ? "the program's own timer" : "sent back to back as WM_TIMER");
  std::printf("by request:\n");
  for (const auto& entry : count.byName) {
    std::printf("  %-28s %6.2f\n", entry.first.c_str(), perTick(entry.second, count.ticks));
  }

  if (!parts.empty()) {
    Count split;
    if (measure(parts, o, false, split)) printParts(split, hasFlag(argc, argv, "--detail"));
  }

  // No tick found means the log was not read as expected (another log
  // format, the wrong thread): that must not pass for a light tick.
  if (count.ticks == 0) {
    std::fprintf(stderr, "no tick of the status window found in the server's log\n");
    return 1;
  }
  if (!maxText.empty() && requests > std::atof(maxText.c_str())) {
    std::fprintf(stderr, "%.1f server requests a tick, more than the %s allowed\n", requests, maxText.c_str());
    return 1;
  }
  return 0;
}
