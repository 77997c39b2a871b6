// Move-only owners of the Win32 resources the window layer creates: each releases its handle when
// it goes, however the scope is left.
#pragma once

#include <windows.h>

#include <utility>

namespace transzendal::app {

template <typename Handle, auto Release>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() noexcept {
    if (handle_ != nullptr) Release(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
inline void ReleaseModule(HMODULE module) { ::FreeLibrary(module); }
inline void DestroyWindowHandle(HWND window) { ::DestroyWindow(window); }

using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedBitmap = Owned<HBITMAP, DeleteGdiObject>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;
using OwnedModule = Owned<HMODULE, ReleaseModule>;
using OwnedWindow = Owned<HWND, DestroyWindowHandle>;

}  // namespace transzendal::app
