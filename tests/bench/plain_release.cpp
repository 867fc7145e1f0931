// The memory release as a bare loop, to time the program's own against:
// the same block allocated the same way, the same writes, and a message box
// at the end. It answers the same command in a window of the same caption,
// so one driver times both from the command to the message box.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "probes/memory_status.h"

namespace {

constexpr WORD kReleaseCommand = 32776;

void releasePlainly(HWND owner) {
  const std::uint32_t size = readMemoryStatusRecord().totalPhys >> 1;
  HGLOBAL memory = GlobalAlloc(GMEM_FIXED, size);
  auto* block = memory ? static_cast<volatile unsigned char*>(GlobalLock(memory)) : nullptr;
  if (block) {
    for (std::uint32_t remaining = size; remaining > 1024; remaining -= 1025) block[remaining - 1] = 0;
    GlobalUnlock(memory);
  }
  if (memory) GlobalFree(memory);
  MessageBoxA(owner, block ? "解放完了" : "no block", "plain_release", MB_OK);
}

INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  if (LOWORD(wParam) == kReleaseCommand) releasePlainly(window);
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
