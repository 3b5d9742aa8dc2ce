// The steps of creating the main window, in their fixed order. The guard runs
// first so that a second instance changes nothing (no privileges, no
// registry note) before it ends.
#pragma once

#include <string>

namespace tidewell {

class TMainWindowSetup {
 public:
  virtual ~TMainWindowSetup() = default;
  // False when another instance runs: the program must end.
  virtual bool SingleInstanceGuard() = 0;
  virtual void RunOnceCleanup() = 0;
  virtual void SetIconFromApplication() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void EnablePrivileges() = 0;
  virtual void SetApplicationFolder() = 0;
  virtual void WriteRegistryNote() = 0;
};

// False when the program must end instead of showing the window.
bool CreateMainWindow(TMainWindowSetup& setup, const std::string& productName,
                      const std::string& fileVersion);

}  // namespace tidewell
