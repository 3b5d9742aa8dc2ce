#include "undo/win/uRegistryUndo.h"

namespace tidewell {

TfrmRegistryUndo::TfrmRegistryUndo(HWND owner, TAppServices& services,
                                   const TWinResources& resources)
    : TTaskForm("TfrmRegistryUndo", "Undo Registry Cleanup", owner, resources, true),
      services_(services) {}

}  // namespace tidewell
