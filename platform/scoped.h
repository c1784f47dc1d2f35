// RAII owners for Win32 handles, so no handle is released by hand on an early return.
#pragma once

#include <windows.h>

#include <utility>

namespace bootdeck {

template <typename Handle, typename Traits> class Scoped {
public:
  Scoped() = default;
  explicit Scoped(Handle h) : h_(h) {}
  Scoped(const Scoped &) = delete;
  Scoped &operator=(const Scoped &) = delete;
  Scoped(Scoped &&other) noexcept : h_(std::exchange(other.h_, Traits::invalid())) {}
  Scoped &operator=(Scoped &&other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, Traits::invalid());
    }
    return *this;
  }
  ~Scoped() { reset(); }

  Handle get() const { return h_; }
  bool valid() const { return h_ != Traits::invalid(); }
  Handle release() { return std::exchange(h_, Traits::invalid()); }
  void reset(Handle h = Traits::invalid()) {
    if (valid())
      Traits::close(h_);
    h_ = h;
  }

private:
  Handle h_ = Traits::invalid();
};

struct KernelHandleTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct GdiObjectTraits {
  static HGDIOBJ invalid() { return nullptr; }
  static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
  static HICON invalid() { return nullptr; }
  static void close(HICON h) { DestroyIcon(h); }
};

using ScopedHandle = Scoped<HANDLE, KernelHandleTraits>;  // process, thread, event ...
using ScopedFile = Scoped<HANDLE, FileHandleTraits>;      // CreateFileW results
using ScopedGdiObject = Scoped<HGDIOBJ, GdiObjectTraits>; // fonts, brushes
using ScopedIcon = Scoped<HICON, IconTraits>;             // icons made by LoadImageW
using ScopedMemoryDc = Scoped<HDC, MemoryDcTraits>;       // CreateCompatibleDC results

// A screen device context for the length of a scope.
class ScopedScreenDc {
public:
  ScopedScreenDc() : dc_(GetDC(nullptr)) {}
  ScopedScreenDc(const ScopedScreenDc &) = delete;
  ScopedScreenDc &operator=(const ScopedScreenDc &) = delete;
  ~ScopedScreenDc() {
    if (dc_)
      ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

private:
  HDC dc_;
};

} // namespace bootdeck
