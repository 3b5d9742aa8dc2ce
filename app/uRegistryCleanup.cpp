#include "app/uRegistryCleanup.h"

namespace tidewell {

TfrmRegistryCleanup::TfrmRegistryCleanup(HWND owner, TAppServices& services)
    : TTaskForm("TfrmRegistryCleanup", "Registry Cleanup", owner, services, true) {}

}  // namespace tidewell
