#include "app/uRegistryUndo.h"

namespace tidewell {

TfrmRegistryUndo::TfrmRegistryUndo(HWND owner, TAppServices& services)
    : TTaskForm("TfrmRegistryUndo", "Undo Registry Cleanup", owner, services, true) {}

}  // namespace tidewell
