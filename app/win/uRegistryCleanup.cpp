#include "app/win/uRegistryCleanup.h"

namespace tidewell {

TfrmRegistryCleanup::TfrmRegistryCleanup(HWND owner, TAppServices& services,
                                         const TWinResources& resources)
    : TTaskForm("TfrmRegistryCleanup", "Registry Cleanup", owner, resources, true),
      services_(services) {}

}  // namespace tidewell
