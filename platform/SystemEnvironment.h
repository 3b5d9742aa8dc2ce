// The environment seam: environment variables and the special folders the
// scan's folder set and the maintenance tools are built from. Folders come
// back without a trailing backslash ("C:\Windows"); a folder the system does
// not report is the empty text.
#pragma once

#include <string>

namespace tidewell {

// How the running program sees the registry and the system folder of a 64-bit
// Windows, which keeps a 32-bit view of both: the 32-bit registry keys below
// Wow6432Node and the 32-bit system files in SysWOW64, shown to 32-bit
// programs in place of the 64-bit ones.
enum class TWowLayout {
  None,      // one view only: a 32-bit Windows
  Native64,  // a 64-bit program: it sees the 64-bit view
  Wow32,     // a 32-bit program on a 64-bit Windows: it sees the 32-bit view
};

class TSystemEnvironment {
 public:
  virtual ~TSystemEnvironment() = default;

  // The variable's value at the time of the call; empty when it is not set.
  // Names are compared without regard to letter case.
  virtual std::string EnvironmentVariable(const std::string& name) = 0;
  // Replaces each "%NAME%" of a set variable by its value, as
  // ExpandEnvironmentStrings does; unknown names and lone "%" stay as written.
  virtual std::string ExpandEnvironmentText(const std::string& text) = 0;

  virtual std::string WindowsFolder() = 0;       // GetWindowsDirectory
  virtual std::string SystemFolder() = 0;        // GetSystemDirectory
  virtual std::string FontsFolder() = 0;         // CSIDL_FONTS
  virtual std::string ProgramFilesFolder() = 0;  // CSIDL_PROGRAM_FILES
  virtual std::string CommonFilesFolder() = 0;   // CSIDL_PROGRAM_FILES_COMMON
  virtual std::string TempFolder() = 0;          // GetTempPath
  // The full path of the running program file.
  virtual std::string ProgramFileName() = 0;
  virtual TWowLayout WowLayout() { return TWowLayout::None; }
};

}  // namespace tidewell
