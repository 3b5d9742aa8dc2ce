// The folder set of a test drive: the Windows folders laid out below it as on
// a real system, so file references resolve against the test's own files.
#pragma once

#include "scan/FolderSet.h"
#include "tests/platform/TestDrive.h"

namespace tidewell::testing {

inline TFolderSet FolderSetOn(const TestDrive& drive) {
  TFolderSet folders;
  folders.WindowsFolder = drive.Path("Windows");
  folders.SystemFolder = drive.Path("Windows\\System32");
  folders.FontsFolder = drive.Path("Windows\\Fonts");
  folders.ProgramFilesFolder = drive.Path("Program Files");
  folders.CommonFilesFolder = drive.Path("Program Files\\Common Files");
  folders.MediaPath = drive.Path("Windows\\Media");
  return folders;
}

}  // namespace tidewell::testing
