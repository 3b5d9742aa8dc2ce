#include "tools/win/uRegistryBackup.h"

namespace tidewell {

TfrmRegistryBackup::TfrmRegistryBackup(HWND owner, TAppServices& services,
                                       const TWinResources& resources)
    : TTaskForm("TfrmRegistryBackup", "Registry Backup", owner, resources, true),
      services_(services) {}

}  // namespace tidewell
