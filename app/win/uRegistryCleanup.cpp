#include "app/win/uRegistryCleanup.h"

#include "settings/FormPlacement.h"
#include "ui/win/WindowPlacement.h"

namespace tidewell {

TfrmRegistryCleanup::TfrmRegistryCleanup(HWND owner, TAppServices& services,
                                         const TWinResources& resources)
    : TTaskForm("TfrmRegistryCleanup", "Registry Cleanup", owner, resources, true),
      services_(services),
      settings_(services.Settings.Open("RegistryCleanup", "frmRegistryCleanup")) {
  if (const auto placement = ReadFormPlacement(settings_)) RestorePlacement(*placement);
}

void TfrmRegistryCleanup::StoreSettings() {
  StoreFormPlacement(WindowPlacementOf(Handle()), settings_);
}

}  // namespace tidewell
