// Owning wrappers for the platform handles the program holds, so every
// module, key, GDI object and device context is released on every path.
#pragma once

#include <windows.h>

#include <atomic>
#include <type_traits>
#include <utility>

namespace fw {

// How many GDI objects and device contexts our wrappers hold right now.
// Every drawing routine must leave it where it found it; the status window
// reports it on request so a test can see that ticks leak nothing.
inline std::atomic<long> liveDrawingObjects{0};

inline long liveDrawingObjectCount() { return liveDrawingObjects.load(); }

// Traits of GDI objects and device contexts derive from this; other
// handles are not counted.
struct DrawingObjectHandle {
  static constexpr bool kDrawingObject = true;
};
template <typename Traits, typename = void>
struct IsDrawingObject : std::false_type {};
template <typename Traits>
struct IsDrawingObject<Traits, std::void_t<decltype(Traits::kDrawingObject)>>
    : std::bool_constant<Traits::kDrawingObject> {};

// A move-only owner of one handle; Traits says what "none" is and how to free it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { track(handle_, 1); }
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::none())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::none());
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }

  // Gives the handle up without closing it; the caller owns it from now on.
  Handle release() {
    Handle handle = std::exchange(handle_, Traits::none());
    track(handle, -1);
    return handle;
  }
  void reset(Handle handle = Traits::none()) {
    Handle old = std::exchange(handle_, handle);
    track(handle_, 1);
    if (old != Traits::none()) {
      Traits::close(old);
      track(old, -1);
    }
  }

 private:
  static void track(Handle handle, long change) {
    if (IsDrawingObject<Traits>::value && handle != Traits::none()) liveDrawingObjects += change;
  }

  Handle handle_ = Traits::none();
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle none() { return nullptr; }
  static void close(Handle h) { FreeLibrary(h); }
};
using Module = UniqueHandle<ModuleTraits>;

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle none() { return nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

struct FileTraits {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using File = UniqueHandle<FileTraits>;

// Events and threads: closed like files, but "none" is null.
struct KernelObjectTraits : FileTraits {
  static Handle none() { return nullptr; }
};
using KernelObject = UniqueHandle<KernelObjectTraits>;

template <typename T>
struct GdiObjectTraits : DrawingObjectHandle {
  using Handle = T;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

struct MemoryDcTraits : DrawingObjectHandle {
  using Handle = HDC;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle none() { return nullptr; }
  static void close(Handle h) { GlobalFree(h); }
};
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;

// GlobalLock for the life of the guard; data() is null when the lock failed.
// Declare it after the GlobalMemory it locks, so it unlocks before the free.
class GlobalMemoryLock {
 public:
  explicit GlobalMemoryLock(const GlobalMemory& memory)
      : memory_(memory.get()), data_(memory_ ? GlobalLock(memory_) : nullptr) {}
  ~GlobalMemoryLock() {
    if (data_) GlobalUnlock(memory_);
  }
  GlobalMemoryLock(const GlobalMemoryLock&) = delete;
  GlobalMemoryLock& operator=(const GlobalMemoryLock&) = delete;

  void* data() const { return data_; }

 private:
  HGLOBAL memory_;
  void* data_;
};

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
  explicit PaintDc(HWND window) : window_(window) {
    dc_ = BeginPaint(window, &paint_);
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
  HDC dc_ = nullptr;
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
