// The Win32 resources that the windows share: made by the main window at its
// creation, owned by it, lent to the task windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tidewell {

struct TWinResources {
  // The shared pictures (SharedImages.h), the main window's ImageList1.
  HIMAGELIST ImageList1 = nullptr;
};

}  // namespace tidewell
