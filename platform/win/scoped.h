#pragma once
// Move-only owners for every Win32 handle the program makes. A handle that is
// not held by one of these is a bug.
#include <windows.h>
#include <wrl/client.h>

#include <utility>

namespace orv::win {

template <class Handle, class Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  ~Unique() { reset(); }
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Handle{})) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Handle{}));
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  Handle release() { return std::exchange(h_, Handle{}); }
  void reset(Handle h = Handle{}) {
    if (h_ != Handle{}) Traits::close(h_);
    h_ = h;
  }

 private:
  Handle h_{};
};

struct GdiTraits { static void close(HGDIOBJ h) { ::DeleteObject(h); } };
struct DcTraits { static void close(HDC h) { ::DeleteDC(h); } };
struct WindowTraits { static void close(HWND h) { ::DestroyWindow(h); } };
struct IconTraits { static void close(HICON h) { ::DestroyIcon(h); } };
struct HandleTraits { static void close(HANDLE h) { ::CloseHandle(h); } };
struct FindTraits { static void close(HANDLE h) { ::FindClose(h); } };

template <class T>
using UniqueGdi = Unique<T, GdiTraits>;   // HBITMAP, HBRUSH, HPEN, HFONT, HRGN
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueRegion = UniqueGdi<HRGN>;
using UniqueMemDc = Unique<HDC, DcTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueHandle = Unique<HANDLE, HandleTraits>;

// A find handle is INVALID_HANDLE_VALUE when empty, not null.
class UniqueFind {
 public:
  explicit UniqueFind(HANDLE h) : h_(h) {}
  ~UniqueFind() { if (h_ != INVALID_HANDLE_VALUE) ::FindClose(h_); }
  UniqueFind(const UniqueFind&) = delete;
  UniqueFind& operator=(const UniqueFind&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
 private:
  HANDLE h_;
};

// GetDC / ReleaseDC pair.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(::GetDC(w)) {}
  ~WindowDc() { if (dc_) ::ReleaseDC(w_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }
 private:
  HWND w_;
  HDC dc_;
};

// BeginPaint / EndPaint pair.
class PaintDc {
 public:
  explicit PaintDc(HWND w) : w_(w) { dc_ = ::BeginPaint(w, &ps_); }
  ~PaintDc() { ::EndPaint(w_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }
 private:
  HWND w_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// Selects an object into a DC and puts the previous one back on scope exit.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  ~ScopedSelect() { if (old_) ::SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
 private:
  HDC dc_;
  HGDIOBJ old_;
};

// CoInitializeEx / CoUninitialize for the thread's lifetime of this object.
class ComApartment {
 public:
  explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) : hr_(::CoInitializeEx(nullptr, model)) {}
  ~ComApartment() { if (SUCCEEDED(hr_)) ::CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  HRESULT result() const { return hr_; }
 private:
  HRESULT hr_;
};

template <class T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

}  // namespace orv::win
