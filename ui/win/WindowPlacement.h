// A window's placement as ten numbers (GetWindowPlacement: flags, show state,
// minimised x y, maximised x y, normal left top right bottom), the form the
// settings files keep it in.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

namespace tidewell {

inline std::array<std::int64_t, 10> WindowPlacementOf(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(window, &placement);
  return {placement.flags,
          placement.showCmd,
          placement.ptMinPosition.x,
          placement.ptMinPosition.y,
          placement.ptMaxPosition.x,
          placement.ptMaxPosition.y,
          placement.rcNormalPosition.left,
          placement.rcNormalPosition.top,
          placement.rcNormalPosition.right,
          placement.rcNormalPosition.bottom};
}

// Puts the window where the numbers say, without showing it: a window is
// placed when it is created, long before it is shown.
inline void PlaceWindow(HWND window, const std::array<std::int64_t, 10>& numbers) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  placement.flags = 0;
  placement.showCmd = IsWindowVisible(window) ? SW_SHOWNORMAL : SW_HIDE;
  placement.ptMinPosition = {static_cast<LONG>(numbers[2]), static_cast<LONG>(numbers[3])};
  placement.ptMaxPosition = {static_cast<LONG>(numbers[4]), static_cast<LONG>(numbers[5])};
  placement.rcNormalPosition = {static_cast<LONG>(numbers[6]), static_cast<LONG>(numbers[7]),
                                static_cast<LONG>(numbers[8]), static_cast<LONG>(numbers[9])};
  SetWindowPlacement(window, &placement);
}

}  // namespace tidewell
