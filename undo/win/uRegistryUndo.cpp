#include "undo/win/uRegistryUndo.h"

#include "settings/FormPlacement.h"
#include "ui/win/WindowPlacement.h"

namespace tidewell {

TfrmRegistryUndo::TfrmRegistryUndo(HWND owner, TAppServices& services,
                                   const TWinResources& resources)
    : TTaskForm("TfrmRegistryUndo", "Undo Registry Cleanup", owner, resources, true),
      services_(services),
      settings_(services.Settings.Open("RegistryUndo", "frmRegistryUndo")) {
  if (const auto placement = ReadFormPlacement(settings_)) RestorePlacement(*placement);
}

void TfrmRegistryUndo::StoreSettings() {
  StoreFormPlacement(WindowPlacementOf(Handle()), settings_);
}

}  // namespace tidewell
