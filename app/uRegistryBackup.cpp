#include "app/uRegistryBackup.h"

namespace tidewell {

TfrmRegistryBackup::TfrmRegistryBackup(HWND owner, TAppServices& services)
    : TTaskForm("TfrmRegistryBackup", "Registry Backup", owner, services, true) {}

}  // namespace tidewell
