// Quimbel.exe with its tick taken apart for wineserver's request log: the
// very same program, linked with the calls that make up a tick wrapped
// (ld --wrap, see CMakeLists.txt), so that each part's requests lie between
// two marker requests (a global atom looked up by a name naming the part).
// quimbel_count_requests reads the markers back out of the log. Nothing in
// the program changes; a part whose call is renamed simply stops being
// framed, and the counter says so.
#include <windows.h>

#include <string>

#include "app/status_app.h"
#include "display/cpu_history.h"
#include "display/face_mood.h"
#include "framework/dialog.h"
#include "probes/free_resources.h"
#include "probes/memory_status.h"

namespace {

StatusApp theApp;

constexpr const char* kMarkerPrefix = "QuimbelTickPart:";

void mark(const char* part) { GlobalFindAtomA((std::string(kMarkerPrefix) + part).c_str()); }

// Marks a part's start when built and its end when gone.
class Part {
 public:
  explicit Part(const char* name) { mark(name); }
  ~Part() { mark(""); }
  Part(const Part&) = delete;
  Part& operator=(const Part&) = delete;
};

}  // namespace

// The wrapped calls, by their linker names (the same list is in
// CMakeLists.txt). Member functions are thiscall on 32-bit x86, and some
// names carry the pointer size or the calling convention.
#if defined(__i386__)
#define QUIMBEL_MEMBER __attribute__((thiscall))
#define READ_FREE_RESOURCES _Z17readFreeResources12PlatformKindbPU7stdcallFiiERK13FreeResources
#define DRAW_HISTORY_GRAPH _Z16drawHistoryGraphP6HWND__RKSt5arrayIjLj30EEmm
#else
#define QUIMBEL_MEMBER
#define READ_FREE_RESOURCES _Z17readFreeResources12PlatformKindbPFiiERK13FreeResources
#define DRAW_HISTORY_GRAPH _Z16drawHistoryGraphP6HWND__RKSt5arrayIjLy30EEmm
#endif
#define UPDATE_DATA _ZN2fw6Dialog10updateDataEb
#define SAMPLE_CPU_LOAD _Z13sampleCpuLoad12PlatformKind
#define READ_MEMORY_STATUS_RECORD _Z22readMemoryStatusRecordv
#define DRAW_FACE _Z8drawFaceP6HWND__8FaceMoodRKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEE

#define QUIMBEL_JOIN(a, b) a##b
#define REAL(name) QUIMBEL_JOIN(__real_, name)
#define WRAP(name) QUIMBEL_JOIN(__wrap_, name)

extern "C" {
void QUIMBEL_MEMBER REAL(UPDATE_DATA)(fw::Dialog* dialog, bool save);
void QUIMBEL_MEMBER WRAP(UPDATE_DATA)(fw::Dialog* dialog, bool save) {
  Part part(save ? "read-back" : "write-back");
  REAL(UPDATE_DATA)(dialog, save);
}

int REAL(SAMPLE_CPU_LOAD)(PlatformKind platformKind);
int WRAP(SAMPLE_CPU_LOAD)(PlatformKind platformKind) {
  Part part("CPU sample");
  return REAL(SAMPLE_CPU_LOAD)(platformKind);
}

FreeResources REAL(READ_FREE_RESOURCES)(PlatformKind, bool, FreeResourcesFn, const FreeResources&);
FreeResources WRAP(READ_FREE_RESOURCES)(PlatformKind kind, bool loaded, FreeResourcesFn read,
                                        const FreeResources& previous) {
  Part part("resources");
  return REAL(READ_FREE_RESOURCES)(kind, loaded, read, previous);
}

MemoryStatus REAL(READ_MEMORY_STATUS_RECORD)();
MemoryStatus WRAP(READ_MEMORY_STATUS_RECORD)() {
  Part part("memory");
  return REAL(READ_MEMORY_STATUS_RECORD)();
}

void REAL(DRAW_FACE)(HWND face, FaceMood mood, const std::wstring& faceSetName);
void WRAP(DRAW_FACE)(HWND face, FaceMood mood, const std::wstring& faceSetName) {
  Part part("face");
  REAL(DRAW_FACE)(face, mood, faceSetName);
}

void REAL(DRAW_HISTORY_GRAPH)(HWND, const CpuHistory&, COLORREF, COLORREF);
void WRAP(DRAW_HISTORY_GRAPH)(HWND graph, const CpuHistory& history, COLORREF line, COLORREF background) {
  Part part("graph");
  REAL(DRAW_HISTORY_GRAPH)(graph, history, line, background);
}
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theApp.run(instance); }
