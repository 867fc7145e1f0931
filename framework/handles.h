// Owning wrappers for the platform handles the program holds, so every
// module, key, file, GDI object and device context is released on every path.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace fw {

// How many GDI objects and device contexts our wrappers hold right now.
// Every drawing routine must leave it where it found it; the status window
// reports it on request so a test can see that ticks leak nothing.
inline std::atomic<long> liveDrawingObjects{0};

// A move-only owner of one handle. Traits give its type, its empty value,
// how to free it and whether it is a drawing object the count above tracks.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { track(handle_, 1); }
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
  UniqueHandle& operator=(UniqueHandle&&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }

  void reset(Handle handle = Traits::none()) {
    Handle old = std::exchange(handle_, handle);
    track(handle_, 1);
    if (old == Traits::none()) return;
    Traits::close(old);
    track(old, -1);
  }

 private:
  static void track(Handle handle, long change) {
    if (Traits::kDrawingObject && handle != Traits::none()) liveDrawingObjects += change;
  }

  Handle handle_ = Traits::none();
};

template <typename H> H nullHandle() { return nullptr; }
inline HANDLE invalidHandle() { return INVALID_HANDLE_VALUE; }

// Traits of a handle type: how it is freed, its empty value (null, or
// INVALID_HANDLE_VALUE for files and searches) and whether it is counted.
template <typename H, void Close(H), H Empty() = nullHandle<H>, bool Drawing = false>
struct HandleTraits {
  using Handle = H;
  static constexpr bool kDrawingObject = Drawing;
  static Handle none() { return Empty(); }
  static void close(Handle handle) { Close(handle); }
};

inline void freeModule(HMODULE module) { FreeLibrary(module); }
inline void closeKey(HKEY key) { RegCloseKey(key); }
inline void closeKernelObject(HANDLE object) { CloseHandle(object); }
inline void closeSearch(HANDLE search) { FindClose(search); }
inline void freeGlobal(HGLOBAL memory) { GlobalFree(memory); }
inline void deleteMemoryDc(HDC dc) { DeleteDC(dc); }
inline void destroyIcon(HICON icon) { DestroyIcon(icon); }
template <typename T> void deleteGdiObject(T object) { DeleteObject(object); }
template <typename T> using GdiObject = UniqueHandle<HandleTraits<T, deleteGdiObject<T>, nullHandle<T>, true>>;

using Module = UniqueHandle<HandleTraits<HMODULE, freeModule>>;
using RegistryKey = UniqueHandle<HandleTraits<HKEY, closeKey>>;
// Events and threads.
using KernelObject = UniqueHandle<HandleTraits<HANDLE, closeKernelObject>>;
using File = UniqueHandle<HandleTraits<HANDLE, closeKernelObject, invalidHandle>>;
// A FindFirstFile search.
using Search = UniqueHandle<HandleTraits<HANDLE, closeSearch, invalidHandle>>;
using GlobalMemory = UniqueHandle<HandleTraits<HGLOBAL, freeGlobal>>;
// An icon loaded at a size of our choosing (not shared, so ours to destroy).
using Icon = UniqueHandle<HandleTraits<HICON, destroyIcon>>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;
using MemoryDc = UniqueHandle<HandleTraits<HDC, deleteMemoryDc, nullHandle<HDC>, true>>;

// A window's drawing surface from GetDC, handed back to the same window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {
    if (dc_) ++liveDrawingObjects;
  }
  ~WindowDc() {
    if (!dc_) return;
    ReleaseDC(window_, dc_);
    --liveDrawingObjects;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {
    if (dc_) ++liveDrawingObjects;
  }
  ~PaintDc() {
    EndPaint(window_, &paint_);
    if (dc_) --liveDrawingObjects;
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit,
// so the object can be deleted after this guard has gone.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace fw
