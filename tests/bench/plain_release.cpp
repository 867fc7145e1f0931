// The memory release without its progress display, to time the program's
// own against: the same pieces taken the same way (the program's own rule),
// the same writes, and a message box at the end, but no progress bar and no
// framework. It answers the same command in a window of the same caption,
// so one driver times both from the command to the message box.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "probes/memory_status.h"
#include "tools/memory_release.h"

namespace {

constexpr WORD kReleaseCommand = 32776;

class PlainRelease : public MemoryReleasePlatform {
 public:
  explicit PlainRelease(HWND owner) : owner_(owner) {}

  // The program's own amount: the classic record, clamped to 32 bits.
  std::uint32_t totalPhysical() override { return classicTotalPhysical(); }

  bool withLockedBlock(std::uint32_t size, const std::function<void(volatile unsigned char*)>& touch) override {
    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, size);
    auto* block = memory ? static_cast<volatile unsigned char*>(GlobalLock(memory)) : nullptr;
    if (block) {
      touch(block);
      GlobalUnlock(memory);
    }
    if (memory) GlobalFree(memory);
    return block != nullptr;
  }

  void setProgress(std::int32_t) override {}

  // The program's Japanese words, without its string table.
  void showMessage(int textId) override {
    MessageBoxW(owner_, textId == kReleaseComplete ? L"解放完了" : L"解放できませんでした", L"plain_release", MB_OK);
  }

 private:
  HWND owner_;
};

INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == kReleaseCommand) {
    PlainRelease release(window);
    releaseMemory(release);
  }
  if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
  return TRUE;
}

// An empty dialog template: style, no controls, no menu, the dialog class
// and the caption, as 16-bit words.
struct EmptyDialogTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD windowClass = 0;
  WCHAR title[15] = L"QuimbelUtility";
};
static_assert(offsetof(EmptyDialogTemplate, menu) == 18, "words follow the header unpadded");

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  EmptyDialogTemplate dialog{};
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
  dialog.header.cx = 120;
  dialog.header.cy = 40;
  DialogBoxIndirectParamA(instance, &dialog.header, nullptr, dialogProc, 0);
  return 0;
}
