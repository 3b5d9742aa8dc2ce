// The environment seam over Windows: the process environment, the Windows and
// system folders as GetWindowsDirectory and GetSystemDirectory report them, the
// shell's special folders, the temporary folder and the module file name.
#pragma once

#include <string>

#include "platform/SystemEnvironment.h"

namespace tidewell {

class WinSystemEnvironment final : public TSystemEnvironment {
 public:
  std::string EnvironmentVariable(const std::string& name) override;
  std::string ExpandEnvironmentText(const std::string& text) override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string FontsFolder() override;
  std::string ProgramFilesFolder() override;
  std::string CommonFilesFolder() override;
  std::string TempFolder() override;
  std::string ProgramFileName() override;
  TWowLayout WowLayout() override;
};

}  // namespace tidewell
