// TScopedHandle: owns one kernel handle (file, process, thread, token, mutex,
// event) and closes it when it goes; move-only. Both "no handle" values of
// the Win32 API, NULL and INVALID_HANDLE_VALUE, count as empty.
#pragma once

#include <windows.h>

#include <utility>

namespace tidewell {

class TScopedHandle {
 public:
  TScopedHandle() = default;
  explicit TScopedHandle(HANDLE handle) : handle_(handle) {}
  ~TScopedHandle() { Close(); }

  TScopedHandle(TScopedHandle&& other) noexcept : handle_(other.Release()) {}
  TScopedHandle& operator=(TScopedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  TScopedHandle(const TScopedHandle&) = delete;
  TScopedHandle& operator=(const TScopedHandle&) = delete;

  bool IsValid() const {
    return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
  }
  HANDLE Get() const { return handle_; }
  // Gives the handle up without closing it.
  [[nodiscard]] HANDLE Release() { return std::exchange(handle_, nullptr); }
  void Close() {
    if (IsValid()) ::CloseHandle(handle_);
    handle_ = nullptr;
  }
  // For APIs that hand out a handle through a pointer.
  HANDLE* Receive() {
    Close();
    return &handle_;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace tidewell
