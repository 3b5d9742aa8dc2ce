#include "app/MainWindowSetup.h"

#include "app/MainWindowTexts.h"

namespace tidewell {

bool CreateMainWindow(TMainWindowSetup& setup, const std::string& productName,
                      const std::string& fileVersion) {
  if (!setup.SingleInstanceGuard()) return false;
  setup.RunOnceCleanup();
  setup.SetIconFromApplication();
  setup.SetCaption(MainCaption(productName, fileVersion));
  setup.EnablePrivileges();
  setup.SetApplicationFolder();
  setup.WriteRegistryNote();
  return true;
}

}  // namespace tidewell
