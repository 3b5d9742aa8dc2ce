// TWinObject: owns one GDI object, icon or image list and frees it with the
// function that belongs to it when it goes; move-only. The windows keep
// their fonts, brushes and pictures in these instead of freeing them by hand.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tidewell {

template <typename Handle, auto Free>
class TWinObject {
 public:
  TWinObject() = default;
  explicit TWinObject(Handle handle) : handle_(handle) {}
  ~TWinObject() { Reset(); }

  TWinObject(TWinObject&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  TWinObject& operator=(TWinObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  TWinObject(const TWinObject&) = delete;
  TWinObject& operator=(const TWinObject&) = delete;

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Frees what is held and takes `handle` instead.
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

namespace win_object_detail {
inline void DeleteGdi(HGDIOBJ object) { ::DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { ::DestroyIcon(icon); }
inline void DestroyImageList(HIMAGELIST images) { ::ImageList_Destroy(images); }
}  // namespace win_object_detail

using TFont = TWinObject<HFONT, &win_object_detail::DeleteGdi>;
using TBrush = TWinObject<HBRUSH, &win_object_detail::DeleteGdi>;
using TPen = TWinObject<HPEN, &win_object_detail::DeleteGdi>;
using TBitmap = TWinObject<HBITMAP, &win_object_detail::DeleteGdi>;
using TIcon = TWinObject<HICON, &win_object_detail::DestroyIconHandle>;
using TImageList = TWinObject<HIMAGELIST, &win_object_detail::DestroyImageList>;

// Selects an object into a device context for one scope and puts the one it
// replaced back.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~TSelectObject() { ::SelectObject(dc_, old_); }
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A copy of `base` with another weight, height (0: the same) and angle (in
// tenths of a degree; 900 runs the text upwards).
inline TFont FontLike(HFONT base, int weight, int height = 0, int escapement = 0) {
  LOGFONTW font{};
  ::GetObjectW(base, sizeof font, &font);
  font.lfWeight = weight;
  if (height != 0) font.lfHeight = height;
  font.lfEscapement = escapement;
  font.lfOrientation = escapement;
  TFont made;
  made.Reset(::CreateFontIndirectW(&font));
  return made;
}

}  // namespace tidewell
