// The pictures of the program's buttons and status panes, drawn at start so
// that no bitmap files are needed. ImageList1 holds them at fixed indexes
// that the task windows rely on.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace tidewell {

enum TSharedImage {
  imgWorking = 0,
  imgIdle = 1,
  imgDelete = 2,
  imgRun = 3,
  imgStop = 4,
  imgBack = 5,
  imgNext = 6,
  imgTick = 7,
  imgUnused = 8,  // kept free so that help stays at 9
  imgHelp = 9,
  imgRegistry = 10,  // the launcher's own pictures follow
  imgCount = 11,
};

// 16 by 16 pictures with a transparent background; the caller destroys it.
HIMAGELIST CreateSharedImages();

// A one-picture list for BCM_SETIMAGELIST; the caller destroys it.
HIMAGELIST SingleImage(HIMAGELIST images, int index);

// Shows the one picture of `picture` (see SingleImage) at the right of the
// button's caption, `rightMargin` pixels from its edge. The button does not
// take the list over: the caller keeps it until the button is gone.
void SetButtonPicture(HWND button, HIMAGELIST picture, int rightMargin = 6);

}  // namespace tidewell
