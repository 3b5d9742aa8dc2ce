// What the windows share for the whole run: the registry, the file system,
// environment, code page and clock seams, the scan engine's folder set, the
// one undo writer and the restart service. The program owns all of it; the
// windows only hold this reference. It stays free of Win32 so that the
// windows' logic that takes it is portable and tested natively; the Win32
// resources the windows share travel apart (TWinResources).
#pragma once

#include <string>

#include "app/ExitWin.h"
#include "platform/AnsiCodePage.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "platform/SystemEnvironment.h"
#include "registry/RegistryStore.h"
#include "scan/FolderSet.h"
#include "settings/SettingsStore.h"
#include "undo/Undos.h"

namespace tidewell {

struct TAppServices {
  RegistryStore& Registry;
  TFileSystem& FileSystem;
  TSystemEnvironment& Environment;
  TAnsiCodePage& CodePage;
  TClock& Clock;
  TShell& Shell;
  // The windows' settings files: read when a window is created, written at
  // the program's end.
  TSettingsStore& Settings;
  const TFolderSet& Folders;
  TRegUndoFile& UndoFile;
  TExitWin& ExitWin;
  // Names the program's message boxes and its single-instance guard.
  std::string ApplicationTitle;
};

}  // namespace tidewell
