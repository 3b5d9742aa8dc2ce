// What the windows share for the whole run: the registry, the file system and
// environment seams, the scan engine's folder set, the one undo writer, the
// restart service and the shared image list. The program owns all of it; the
// windows only hold this reference.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/ExitWin.h"
#include "platform/FileSystem.h"
#include "platform/SystemEnvironment.h"
#include "registry/RegistryStore.h"
#include "scan/FolderSet.h"
#include "undo/Undos.h"

namespace tidewell {

struct TAppServices {
  RegistryStore& Registry;
  TFileSystem& FileSystem;
  TSystemEnvironment& Environment;
  const TFolderSet& Folders;
  TRegUndoFile& UndoFile;
  TExitWin& ExitWin;
  // Names the program's message boxes and its single-instance guard.
  std::string ApplicationTitle;
  // The main window's ImageList1; set when the main window is created.
  HIMAGELIST ImageList1 = nullptr;
};

}  // namespace tidewell
